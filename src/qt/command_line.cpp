#include "qt/command_line.h"

#include "app/export.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "app/inspection_model.h"
#include "app/recut_model.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "core/number_text.h"
#include "dieset/die_set.h"
#include "output/atomic_file.h"
#include "output/overlay_layout.h"
#include "qt/export_painters.h"
#include "qt/local_path.h"
#include "qt/sheet_details.h"
#include "qt/widget_design.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <string_view>

namespace dieprofile {

namespace {

// A file name in a message, from its bytes on the system: no control character reaches the
// terminal, and a long name is cut short.
QString Quoted(const QString& name) {
    return ToQString(QuotedForMessage(PathBytes(name)));
}

void WriteLine(std::FILE* stream, const QString& text) {
    // A name or a library's message may hold what a terminal would obey.
    std::fprintf(stream, "%s\n", WithControlCharactersEscaped(text.toStdString()).c_str());
}

// The recut's options, declared with the parser's others and read in one place.
struct RecutOptionNames {
    QCommandLineOption Measured{QStringLiteral("recut"),
                                QStringLiteral("Plan the recut of the worn die measured in "
                                               "MEASURED; --export writes it to a .dieprofile, "
                                               ".csv or .pdf."),
                                QStringLiteral("MEASURED")};
    QCommandLineOption Allowance{QStringLiteral("allowance"),
                                 QStringLiteral("With --recut: the stock left for polishing, on "
                                                "the radius (0.0001 in or 0.002 mm)."),
                                 QStringLiteral("A")};
    QCommandLineOption Step{QStringLiteral("step"),
                            QStringLiteral("With --recut: the outlet rounded up to a step (0.0001 "
                                           "in or 0.001 mm)."),
                            QStringLiteral("S")};
    QCommandLineOption Sizes{QStringLiteral("sizes"),
                             QStringLiteral("With --recut: the outlets the shop keeps, "
                                            "comma-separated, in the design's unit."),
                             QStringLiteral("LIST")};
    QCommandLineOption SizesFrom{QStringLiteral("sizes-from"),
                                 QStringLiteral("With --recut: the outlets of a die set's passes, "
                                                "each with its incoming diameter."),
                                 QStringLiteral("SET.dieset")};
    QCommandLineOption Wall{QStringLiteral("wall"),
                            QStringLiteral("With --recut: the wall to leave between the bell's "
                                           "mouth and the blank's edge (10 % of its radius)."),
                            QStringLiteral("W")};
    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({Measured, Allowance, Step, Sizes, SizesFrom, Wall});
    }
};

// The recut's part of the line, or why it is a usage mistake; empty when it is sound.
QString ReadRecutOptions(const QCommandLineParser& parser, const RecutOptionNames& names,
                         CommandLine& line) {
    const bool recut = parser.isSet(names.Measured);
    int kinds = 0;
    for (const QCommandLineOption* option :
         {&names.Allowance, &names.Step, &names.Sizes, &names.SizesFrom, &names.Wall}) {
        if (parser.isSet(*option) && !recut) {
            return QStringLiteral("--%1 goes with --recut").arg(option->names().front());
        }
        kinds += option != &names.Allowance && option != &names.Wall && parser.isSet(*option);
    }
    if (!recut) {
        return {};
    }
    if (kinds > 1) {
        return QStringLiteral("one of --step, --sizes and --sizes-from");
    }
    const std::string output = line.Output.toStdString();
    if (line.Design.isEmpty() || output.empty() ||
        !(HasExtension(output, "dieprofile") || HasExtension(output, "csv") ||
          HasExtension(output, "pdf"))) {
        return QStringLiteral("--recut needs --export OUT.dieprofile, .csv or .pdf and the design");
    }
    line.RecutMeasured = parser.value(names.Measured);
    for (auto [option, value] : {std::pair{&names.Allowance, &line.Recut.Allowance},
                                 std::pair{&names.Wall, &line.Recut.Wall},
                                 std::pair{&names.Step, &line.Recut.Sizes.Step}}) {
        if (parser.isSet(*option)) {
            *value = ParseNumber(parser.value(*option).toStdString());
            if (!*value) {
                return QStringLiteral("--%1 must be a number, not \"%2\"")
                    .arg(option->names().front(), parser.value(*option));
            }
        }
    }
    if (parser.isSet(names.Sizes)) {
        line.Recut.Sizes.Kind = RecutSizeKind::List;
        Expected<std::vector<double>> sizes =
            ParseRecutSizes(parser.value(names.Sizes).toStdString());
        if (!sizes) {
            return QStringLiteral("--sizes: ") + QString::fromStdString(sizes.Error().Message);
        }
        line.Recut.Sizes.List = *std::move(sizes);
    }
    if (parser.isSet(names.SizesFrom)) {
        line.Recut.Sizes.Kind = RecutSizeKind::DieSet;
        line.RecutSet = parser.value(names.SizesFrom);
    }
    return {};
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lay out the bore of a diamond wire-drawing die, see it to scale and print "
                       "it."));
    // Help of our own rather than the parser's: its --help-all would need the window's platform
    // for Qt's options and is only handled by a call that exits the process. --help-all is kept,
    // unlisted, for those used to it, and gives the same help.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays help on commandline options."));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, helpAll});
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption exportTo(
        QStringLiteral("export"),
        QStringLiteral("Write to OUTPUT without opening a window; the format follows OUTPUT's "
                       "extension: for a design, the drawing sheet as .pdf or .svg, or the "
                       "section as .dxf; for a die set, the schedule's figures as .csv, or the "
                       "schedule and every die's sheet as .pdf."),
        QStringLiteral("OUTPUT"));
    parser.addOption(exportTo);
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        QStringLiteral("With --export to a .pdf: the profile-projector overlay at magnification M "
                       "(1 to 1000), the bore at its true size times M, tiled over pages."),
        QStringLiteral("M"));
    const QCommandLineOption tolerance(
        QStringLiteral("tolerance"),
        QStringLiteral("With --scale: a tolerance band T (in the design's unit) either side of "
                       "each bore wall; 0 for none. With --inspect: the band on the radius the "
                       "verdict is given against."),
        QStringLiteral("T"));
    const QCommandLineOption section(
        QStringLiteral("section"),
        QStringLiteral("With --scale: the whole section (the bore's walls and the blank's "
                       "outline; the wires are never drawn) instead of the bore alone."));
    parser.addOptions({scale, tolerance, section});
    // What a DXF holds and which way its axis runs, for the CAM programmer.
    const QCommandLineOption dxfProfile(
        QStringLiteral("dxf-profile"),
        QStringLiteral("With --export to a .dxf: \"section\" (the default) for the whole section, "
                       "or \"half\" for the bore's closed half profile alone."),
        QStringLiteral("section|half"));
    const QCommandLineOption dxfAxis(
        QStringLiteral("dxf-axis"),
        QStringLiteral("With --export to a .dxf: \"vertical\" (the default) as drawn, or "
                       "\"horizontal\" with the wire entering from the left; the origin is on the "
                       "axis at the exit face."),
        QStringLiteral("vertical|horizontal"));
    parser.addOptions({dxfProfile, dxfAxis});
    // The projector chart's region, mirroring and paper.
    const QCommandLineOption region(
        QStringLiteral("region"),
        QStringLiteral("With --scale: the part of the bore drawn, with the ends of its neighbours: "
                       "all (the default), entrance, reduction, bearing or back."),
        QStringLiteral("all|entrance|reduction|bearing|back"));
    const QCommandLineOption mirror(
        QStringLiteral("mirror"),
        QStringLiteral("With --scale: the chart mirrored along the axis, for projectors whose "
                       "optics reverse the image; the footer says so."));
    const QCommandLineOption paper(
        QStringLiteral("paper"),
        QStringLiteral("The paper to lay out on: A4, A3, Letter or Tabloid; by default the default "
                       "printer's, else the locale's."),
        QStringLiteral("A4|A3|Letter|Tabloid"));
    const QCommandLineOption angleTolerance(
        QStringLiteral("angle-tolerance"),
        QStringLiteral("With --scale: for each cone, the two lines at its included angle plus "
                       "and minus A degrees (0 to 45) through the middle of its zone."),
        QStringLiteral("A"));
    const QCommandLineOption orientation(
        QStringLiteral("orientation"),
        QStringLiteral("With --scale: the paper turned portrait or landscape; auto (the default) "
                       "takes landscape when it prints fewer pages."),
        QStringLiteral("auto|portrait|landscape"));
    parser.addOptions({region, mirror, paper, angleTolerance, orientation});
    // The inspection of a measured bore against its design.
    const QCommandLineOption inspect(
        QStringLiteral("inspect"),
        QStringLiteral("Hold the measured bore in MEASURED (a point list .csv or .txt, or a .dxf) "
                       "against the design and write its report with --export REPORT.csv or .pdf; "
                       "--tolerance T is the band on the radius in the design's unit. Prints the "
                       "verdict; exits 3 when outside the tolerance."),
        QStringLiteral("MEASURED"));
    const QCommandLineOption layer(
        QStringLiteral("layer"),
        QStringLiteral("With --inspect and a .dxf: read only the layer NAME."),
        QStringLiteral("NAME"));
    const QCommandLineOption fitAxis(
        QStringLiteral("fit-axis"),
        QStringLiteral("With --inspect: one wall traced anywhere, its axis moved across to fit "
                       "too (its diameters are then not measured)."));
    const QCommandLineOption deviations(
        QStringLiteral("deviations"),
        QStringLiteral("With --inspect: also write every point's deviation to OUT.csv (x,y,zone,"
                       "deviation in the design's frame)."),
        QStringLiteral("OUT.csv"));
    parser.addOptions({inspect, layer, fitAxis, deviations});
    const RecutOptionNames recut;
    recut.AddTo(parser);
    parser.addPositionalArgument(
        QStringLiteral("DESIGN"),
        QStringLiteral("A design file (.dieprofile) or a die set (.dieset) to open."),
        QStringLiteral("[DESIGN]"));

    CommandLine line;
    auto refuse = [&line](const QString& why) {
        line.What = CommandLine::Action::Refuse;
        line.Text = QStringLiteral("dieprofile: ") + why +
                    QStringLiteral(" (dieprofile --help tells the usage)");
        return line;
    };
    if (!parser.parse(arguments)) {
        return refuse(parser.errorText());
    }
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        line.What = CommandLine::Action::Tell;
        // Asked before any application exists, the parser does not know the program's name.
        line.Text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                              QStringLiteral("dieprofile"));
        return line;
    }
    if (parser.isSet(version)) {
        line.What = CommandLine::Action::Tell;
        line.Text = QStringLiteral("dieprofile " DIEPROFILE_VERSION "\n");
        return line;
    }
    const QStringList designs = parser.positionalArguments();
    if (designs.size() > 1) {
        return refuse(QStringLiteral("one design at a time, not %1").arg(designs.size()));
    }
    line.Design = designs.value(0);
    line.Output = parser.value(exportTo);
    if (const QString wrong = ReadRecutOptions(parser, recut, line); !wrong.isEmpty()) {
        return refuse(wrong);
    }
    if (!line.RecutMeasured.isEmpty()) {
        if (parser.isSet(inspect)) {
            return refuse(QStringLiteral("one of --inspect and --recut"));
        }
        line.What = CommandLine::Action::Export;
        return line;
    }
    if (parser.isSet(layer) || parser.isSet(fitAxis) || parser.isSet(deviations)) {
        if (!parser.isSet(inspect)) {
            return refuse(QStringLiteral("--layer, --fit-axis and --deviations go with --inspect"));
        }
    }
    if (parser.isSet(inspect)) {
        line.Measured = parser.value(inspect);
        line.Layer = parser.value(layer);
        line.FitAxis = parser.isSet(fitAxis);
        line.Deviations = parser.value(deviations);
        line.Output = parser.value(exportTo);
        line.What = CommandLine::Action::Export;
        if (!parser.isSet(exportTo) || line.Design.isEmpty() || IsDieSetPath(line.Design)) {
            return refuse(
                QStringLiteral("--inspect needs --export REPORT.csv or REPORT.pdf and the design"));
        }
        if (!HasExtension(PathBytes(line.Output), "csv") &&
            !HasExtension(PathBytes(line.Output), "pdf")) {
            return refuse(QStringLiteral("cannot write the report to %1: its extension must be "
                                         ".csv or .pdf")
                              .arg(Quoted(QFileInfo(line.Output).fileName())));
        }
        if (!line.Deviations.isEmpty() && !HasExtension(PathBytes(line.Deviations), "csv")) {
            return refuse(QStringLiteral("cannot write the deviations to %1: its extension must "
                                         "be .csv")
                              .arg(Quoted(QFileInfo(line.Deviations).fileName())));
        }
        if (parser.isSet(scale) || parser.isSet(section) || parser.isSet(region) ||
            parser.isSet(mirror) || parser.isSet(dxfProfile) || parser.isSet(dxfAxis)) {
            return refuse(QStringLiteral("--inspect writes a report, not a drawing: the "
                                         "drawing's options do not go with it"));
        }
        if (parser.isSet(tolerance)) {
            line.Tolerance = parser.value(tolerance);
            const Expected<OverlayOptions> read =
                ParseOverlayOptions("1", line.Tolerance.toStdString(), OverlayView::Bore);
            if (!read) {
                return refuse(QString::fromStdString(read.Error().Message));
            }
        }
        return line;
    }
    if (parser.isSet(exportTo)) {
        line.What = CommandLine::Action::Export;
        line.Output = parser.value(exportTo);
        if (line.Design.isEmpty()) {
            return refuse(QStringLiteral("--export needs the design to export"));
        }
        if (IsDieSetPath(line.Design)) {
            // A die set leaves as its table (CSV) or its schedule and dies on paper (PDF).
            const std::string output = line.Output.toStdString();
            if (!HasExtension(output, "csv") && !HasExtension(output, "pdf")) {
                return refuse(QStringLiteral("cannot export the die set to %1: its extension "
                                             "must be .csv or .pdf")
                                  .arg(Quoted(QFileInfo(line.Output).fileName())));
            }
        } else if (!ExportFormatOf(line.Output.toStdString())) {
            return refuse(
                QStringLiteral("cannot export to %1: its extension must be %2")
                    .arg(Quoted(QFileInfo(line.Output).fileName()), ToQString(kExportExtensions)));
        }
    }
    if (parser.isSet(dxfProfile) || parser.isSet(dxfAxis)) {
        if (line.What != CommandLine::Action::Export ||
            !HasExtension(line.Output.toStdString(), "dxf")) {
            return refuse(
                QStringLiteral("--dxf-profile and --dxf-axis go with --export OUTPUT.dxf"));
        }
        const std::optional<DxfProfile> profile =
            DxfProfileNamed(parser.value(dxfProfile).toStdString());
        const std::optional<DxfAxis> axis = DxfAxisNamed(parser.value(dxfAxis).toStdString());
        if (parser.isSet(dxfProfile) && !profile) {
            return refuse(QStringLiteral("--dxf-profile is \"section\" or \"half\", not \"%1\"")
                              .arg(parser.value(dxfProfile)));
        }
        if (parser.isSet(dxfAxis) && !axis) {
            return refuse(QStringLiteral("--dxf-axis is \"vertical\" or \"horizontal\", not \"%1\"")
                              .arg(parser.value(dxfAxis)));
        }
        line.Dxf = {profile.value_or(DxfProfile::Section), axis.value_or(DxfAxis::Vertical)};
    }
    if (parser.isSet(paper)) {
        line.PaperAsked = ParsePaper(parser.value(paper).toStdString());
        if (!line.PaperAsked) {
            return refuse(QStringLiteral("--paper is A4, A3, Letter or Tabloid, not \"%1\"")
                              .arg(parser.value(paper)));
        }
    }
    if (IsDieSetPath(line.Design) &&
        (parser.isSet(scale) || parser.isSet(tolerance) || parser.isSet(section))) {
        return refuse(QStringLiteral("the projector chart's options go with a design, not a die "
                                     "set"));
    }
    if (!parser.isSet(scale)) {
        if (parser.isSet(tolerance) || parser.isSet(section) || parser.isSet(region) ||
            parser.isSet(mirror) || parser.isSet(angleTolerance) || parser.isSet(orientation)) {
            return refuse(QStringLiteral("--tolerance, --section, --region, --mirror, "
                                         "--angle-tolerance and --orientation go with --scale"));
        }
        return line;
    }
    if (line.What != CommandLine::Action::Export ||
        ExportFormatOf(line.Output.toStdString()) != ExportFormat::Pdf) {
        return refuse(QStringLiteral("--scale writes a PDF: give --export OUTPUT.pdf"));
    }
    const Expected<OverlayOptions> options = ParseOverlayOptions(
        parser.value(scale).toStdString(), parser.value(tolerance).toStdString(),
        parser.isSet(section) ? OverlayView::Section : OverlayView::Bore,
        parser.value(angleTolerance).toStdString());
    if (!options) {
        return refuse(QString::fromStdString(options.Error().Message));
    }
    line.Overlay = *options;
    if (parser.isSet(region)) {
        const std::optional<OverlayRegion> named =
            OverlayRegionNamed(parser.value(region).toStdString());
        if (!named) {
            return refuse(QStringLiteral("--region is all, entrance, reduction, bearing or back, "
                                         "not \"%1\"")
                              .arg(parser.value(region)));
        }
        line.Overlay->Region = *named;
    }
    line.Overlay->Mirror = parser.isSet(mirror);
    if (parser.isSet(orientation)) {
        const std::optional<OverlayOrientation> named =
            OverlayOrientationNamed(parser.value(orientation).toStdString());
        if (!named) {
            return refuse(QStringLiteral("--orientation is auto, portrait or landscape, not \"%1\"")
                              .arg(parser.value(orientation)));
        }
        line.Overlay->Orientation = *named;
    }
    return line;
}

bool RunsWithoutWindow(int argc, const char* const* argv) {
    // Qt's own options (-style, -platform, ...) take one dash; every option of ours that is not
    // the window's takes two, or is one of the short help and version letters.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break; // what follows is a design's name, whatever it looks like
        }
        if (argument.starts_with("--") || argument == "-h" || argument == "-?" ||
            argument == "-v") {
            return true;
        }
    }
    return false;
}

void SilenceToolkitChatter() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            WriteLine(stderr, text);
        }
    });
}

bool IsDieSetPath(const QString& path) {
    return HasExtension(path.toStdString(), kSetExtension.substr(1));
}

int ExportDieSetWithoutWindow(const CommandLine& line) {
    const Expected<DieSetFile> read = OpenDieSet(PathBytes(line.Design));
    if (!read) {
        WriteLine(stderr,
                  QStringLiteral("dieprofile: ") + QString::fromStdString(read.Error().Message));
        return 1;
    }
    QtExportPainters painters;
    DieSetExportRequest request;
    request.Path = PathBytes(line.Output);
    request.SetPath = PathBytes(line.Design);
    request.Format =
        HasExtension(request.Path, "csv") ? DieSetExportFormat::Csv : DieSetExportFormat::Pdf;
    request.SheetPaper = line.PaperAsked.value_or(DefaultSheetPaper());
    request.Details = LoadSheetDetails();
    const Expected<void, ExportRefusal> exported = ExportDieSet(*read, request, &painters);
    if (!exported) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + ToQString(exported.Error().Message));
        return exported.Error().UsageMistake ? 2 : 1;
    }
    return 0;
}

int RecutWithoutWindow(const CommandLine& line) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    model.Form_Load();
    InspectionModel inspection(toolkit, model);
    RecutModel recut(toolkit, model, inspection);
    RecutOptions options = line.Recut;
    const auto fail = [&toolkit](int code) {
        WriteLine(stderr,
                  QStringLiteral("dieprofile: ") + QString::fromStdString(toolkit.Messages.back()));
        return code;
    };
    if (!model.OpenDesign(PathBytes(line.Design)) || !model.LastCalculation() ||
        !inspection.OpenMeasured(PathBytes(line.RecutMeasured))) {
        return fail(1);
    }
    if (!line.RecutSet.isEmpty()) {
        Expected<std::vector<RecutPass>> passes =
            RecutPassesOf(PathBytes(line.RecutSet), model.CurrentDesign().Unit);
        if (!passes) {
            toolkit.ShowMessage(CannotRecut(passes.Error().Message));
            return fail(1);
        }
        options.Sizes.Passes = *std::move(passes);
    }
    if (!recut.Plan(options)) {
        return fail(1);
    }
    QtExportPainters painters;
    if (!recut.Export(PathBytes(line.Output), &painters)) {
        return fail(1);
    }
    WriteLine(stdout, QString::fromStdString(RecutLine(*recut.Result())));
    return 0;
}

int InspectWithoutWindow(const CommandLine& line) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    model.Form_Load();
    auto fail = [&toolkit](int status) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + ToQString(toolkit.Messages.back()));
        return status;
    };
    // The design calculated as --export calculates it.
    if (!model.OpenDesign(PathBytes(line.Design))) {
        return fail(1);
    }
    InspectionModel inspection(toolkit, model);
    QtExportPainters painters; // the report's PDF, painted as every page is
    inspection.SetLayer(line.Layer.toStdString());
    inspection.SetFitAxis(line.FitAxis);
    if (!line.Tolerance.isEmpty() && !inspection.SetToleranceText(line.Tolerance.toStdString())) {
        return fail(2);
    }
    if (!inspection.OpenMeasured(PathBytes(line.Measured))) {
        return fail(1);
    }
    const std::string report = PathBytes(line.Output);
    const std::string deviations = PathBytes(line.Deviations);
    Expected<void, ExportRefusal> may = inspection.CheckWrite(report, ExtensionOf(report) == "pdf");
    if (may && !deviations.empty()) {
        may = IsSameFile(report, deviations) || report == deviations
                  ? ExportRefusal{CannotExport(deviations, "it is the report's file too"), true}
                  : inspection.CheckWrite(deviations);
    }
    if (!may) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + ToQString(may.Error().Message));
        return may.Error().UsageMistake ? 2 : 1;
    }
    // The deviations first: when they cannot be written, neither is the report.
    if ((!deviations.empty() && !inspection.ExportDeviations(deviations)) ||
        !inspection.ExportReport(report, &painters)) {
        return fail(1);
    }
    WriteLine(stdout, ToQString(inspection.Verdict()));
    for (const std::string& note : inspection.Result()->Notes) {
        WriteLine(stderr, QStringLiteral("dieprofile: note: ") + ToQString(note));
    }
    const std::optional<bool> within = inspection.Result()->Within;
    return within && !*within ? 3 : 0;
}

int ExportWithoutWindow(const CommandLine& line) {
    if (!line.RecutMeasured.isEmpty()) {
        return RecutWithoutWindow(line);
    }
    if (!line.Measured.isEmpty()) {
        return InspectWithoutWindow(line);
    }
    if (IsDieSetPath(line.Design)) {
        return ExportDieSetWithoutWindow(line);
    }
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    model.Form_Load();
    auto fail = [](const QString& why) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + why);
        return 1;
    };
    if (!model.OpenDesign(PathBytes(line.Design))) {
        return fail(QString::fromStdString(toolkit.Messages.front()));
    }
    if (!model.LastCalculation()) {
        // Open loaded the inputs, but their Calculate refused: there is no drawing to export.
        // The window's refusal is a sentence; the export's words end it once.
        std::string reason = toolkit.Messages.back();
        if (reason.ends_with('.')) {
            reason.pop_back();
        }
        return fail(ToQString(CannotExport(PathBytes(line.Output),
                                           "the design " + QuotedForMessage(model.DesignName()) +
                                               " cannot be drawn: " + reason)));
    }
    ExportNotes notes;
    if (const Expected<void, ExportRefusal> exported =
            ExportDrawingFile(model, ToQString(model.DesignName()), line.Output, line.Overlay,
                              line.Dxf, line.PaperAsked, &notes);
        !exported) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + ToQString(exported.Error().Message));
        return exported.Error().UsageMistake ? 2 : 1;
    }
    if (line.Overlay) {
        WriteLine(stdout, ToQString(PageCountText(notes.ChartPages)));
        if (!notes.Warning.empty()) {
            WriteLine(stderr, QStringLiteral("dieprofile: ") + ToQString(notes.Warning));
        }
    }
    // A drawing that was made with a warning (a wire touching the bell) is exported; the warning
    // is still worth a line.
    for (const std::string& message : toolkit.Messages) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + QString::fromStdString(message));
    }
    return 0;
}

} // namespace dieprofile
