#include "qt/command_line.h"

#include "app/collecting_toolkit.h"
#include "app/die_set.h"
#include "app/form_model.h"
#include "qt/drawing_export.h"
#include "qt/overlay_print.h"
#include "qt/set_pdf.h"
#include "qt/widget_design.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <string_view>

namespace dieprofile {

namespace {

const QStringList kExportFormats{QStringLiteral("pdf"), QStringLiteral("svg"),
                                 QStringLiteral("dxf")};

const QStringList kDieSetExportFormats{QStringLiteral("csv"), QStringLiteral("pdf")};

void WriteLine(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lay out the bore of a diamond wire-drawing die, see it to scale and print "
                       "it."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption exportTo(
        QStringLiteral("export"),
        QStringLiteral("Write the design's drawing to OUTPUT without opening a window; the format "
                       "follows OUTPUT's extension: .pdf, .svg or .dxf. A die set is written as "
                       "its table (.csv) or its schedule and every die's sheet (.pdf)."),
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
                       "each bore wall; 0 for none."),
        QStringLiteral("T"));
    const QCommandLineOption section(
        QStringLiteral("section"),
        QStringLiteral("With --scale: the whole section (walls, blank and wires) instead of the "
                       "bore alone."));
    parser.addOptions({scale, tolerance, section});
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
    if (parser.isSet(help)) {
        line.What = CommandLine::Action::Tell;
        line.Text = parser.helpText();
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
    if (parser.isSet(exportTo)) {
        line.What = CommandLine::Action::Export;
        line.Output = parser.value(exportTo);
        if (line.Design.isEmpty()) {
            return refuse(QStringLiteral("--export needs the design to export"));
        }
        if (IsDieSetPath(line.Design)) {
            // A die set leaves as its table (CSV) or its schedule and dies on paper (PDF).
            if (!kDieSetExportFormats.contains(QFileInfo(line.Output).suffix().toLower())) {
                return refuse(QStringLiteral("cannot export the die set to \"%1\": its extension "
                                             "must be .csv or .pdf")
                                  .arg(QFileInfo(line.Output).fileName()));
            }
        } else if (!kExportFormats.contains(QFileInfo(line.Output).suffix().toLower())) {
            return refuse(QStringLiteral("cannot export to \"%1\": its extension must be .pdf, "
                                         ".svg or .dxf")
                              .arg(QFileInfo(line.Output).fileName()));
        }
    }
    if (IsDieSetPath(line.Design) &&
        (parser.isSet(scale) || parser.isSet(tolerance) || parser.isSet(section))) {
        return refuse(QStringLiteral("--scale, --tolerance and --section go with a design, not a "
                                     "die set"));
    }
    if (!parser.isSet(scale)) {
        if (parser.isSet(tolerance) || parser.isSet(section)) {
            return refuse(QStringLiteral("--tolerance and --section go with --scale"));
        }
        return line;
    }
    if (line.What != CommandLine::Action::Export ||
        QFileInfo(line.Output).suffix().toLower() != QStringLiteral("pdf")) {
        return refuse(QStringLiteral("--scale writes a PDF: give --export OUTPUT.pdf"));
    }
    const auto options = ParseOverlayOptions(
        parser.value(scale).toStdString(), parser.value(tolerance).toStdString(),
        parser.isSet(section) ? OverlayView::Section : OverlayView::Bore);
    if (const auto* why = std::get_if<std::string>(&options)) {
        return refuse(QString::fromStdString(*why));
    }
    line.Overlay = std::get<OverlayOptions>(options);
    return line;
}

bool RunsWithoutWindow(int argc, const char* const* argv) {
    // Qt's own options (-style, -platform, ...) take one dash; every option of ours that is not
    // the window's takes two, or is one of the short help and version letters.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
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
    return path.endsWith(QStringLiteral(".dieset"), Qt::CaseInsensitive);
}

int ExportDieSetWithoutWindow(const CommandLine& line) {
    auto fail = [](const QString& why) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + why);
        return 1;
    };
    const std::variant<DieSetFile, std::string> read =
        OpenDieSet(QFile::encodeName(line.Design).toStdString());
    if (const auto* message = std::get_if<std::string>(&read)) {
        return fail(QString::fromStdString(*message));
    }
    const DieSetFile& set = std::get<DieSetFile>(read);
    const QString name = QFileInfo(line.Design).fileName();
    if (QFileInfo(line.Output).suffix().toLower() == u"csv") {
        if (const auto message = ExportDieSetCsv(set, name.toStdString(),
                                                 QFile::encodeName(line.Output).toStdString())) {
            return fail(QString::fromStdString(*message));
        }
        return 0;
    }
    if (const auto message = WriteDieSetPdf(set, kDefaultCautionRatio, name, line.Output)) {
        return fail(*message);
    }
    return 0;
}

int ExportWithoutWindow(const CommandLine& line) {
    if (IsDieSetPath(line.Design)) {
        return ExportDieSetWithoutWindow(line);
    }
    CollectingToolkit toolkit;
    Form1Model model(toolkit);
    model.Form_Load();
    auto fail = [](const QString& why) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + why);
        return 1;
    };
    if (!model.OpenDesign(QFile::encodeName(line.Design).toStdString())) {
        return fail(QString::fromStdString(toolkit.Messages.front()));
    }
    if (!model.LastCalculation) {
        // Open loaded the inputs, but their Calculate refused: there is no drawing to export.
        return fail(QStringLiteral("Cannot export \"%1\": the design \"%2\" cannot be drawn: %3")
                        .arg(QFileInfo(line.Output).fileName(), ToQString(model.DesignName()),
                             QString::fromStdString(toolkit.Messages.back())));
    }
    const QString designName = ToQString(model.DesignName());
    const std::optional<QString> message =
        line.Overlay ? WriteOverlayPdf(model, *line.Overlay, designName, line.Output)
                     : ExportDrawing(model, designName, line.Output);
    if (message) {
        return fail(*message);
    }
    // A drawing that was made with a warning (a wire touching the bell) is exported; the warning
    // is still worth a line.
    for (const std::string& message : toolkit.Messages) {
        WriteLine(stderr, QStringLiteral("dieprofile: ") + QString::fromStdString(message));
    }
    return 0;
}

} // namespace dieprofile
