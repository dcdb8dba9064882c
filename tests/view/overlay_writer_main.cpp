// Writes an overlay PDF for the tests that measure it: runs window events given as arguments
// against the model, then WriteOverlayPdf, and prints the drawing's figures as JSON so the test
// knows what lengths to look for.
//
//   overlay_writer OUT.pdf MAGNIFICATION TOLERANCE bore|section [EVENT ...]
//   EVENT: "select N", "units I", "type I TEXT", "calculate"; and the chart's own choices
//          "region NAME", "mirror", "paper NAME"
//   overlay_writer --dialog MAGNIFICATION OUT.png   the scale dialog with that text typed, as a
//                                                   picture; prints "ok" or the reason shown
//   overlay_writer --dialog-pages OUT.png           the scale dialog on the default profile as
//                                                   options change: one line of the pages shown
//                                                   and the reason shown for each
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "core/controls.h"
#include "core/units.h"
#include "output/overlay_options.h"
#include "qt/overlay_print.h"
#include "qt/printing.h"
#include "qt/scale_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace dieprofile;

bool RunEvent(Form1Model& model, const std::string& event) {
    std::istringstream words(event);
    std::string command;
    words >> command;
    int number = 0;
    if (command == "calculate") {
        model.Command1_Click();
        return true;
    }
    if (!(words >> number)) {
        return false;
    }
    if (command == "select") {
        model.PickRow(number);
    } else if (command == "units") {
        model.ChooseOption(number);
    } else if (command == "type") {
        std::string text;
        words >> text;
        model.ReplaceText(Text1Control(number), text);
    } else {
        return false;
    }
    return true;
}

// The chart's own choices among the events; false for any other event.
bool ChartChoice(const std::string& event, OverlayOptions& options, Paper& paper) {
    std::istringstream words(event);
    std::string command;
    std::string name;
    words >> command >> name;
    if (command == "region" && OverlayRegionNamed(name)) {
        options.Region = *OverlayRegionNamed(name);
    } else if (command == "mirror") {
        options.Mirror = true;
    } else if (command == "paper" && ParsePaper(name)) {
        paper = *ParsePaper(name);
    } else {
        return false;
    }
    return true;
}

// The scale dialog of the default profile in inches as a user changes its options.
int DialogPages(const char* picture) {
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.Show();
    for (const char* event : {"select 26", "type 10 0.180", "type 5 0.180", "calculate"}) {
        RunEvent(model, event);
    }
    ScaleDialog dialog(model.LastCalculation()->UnitDivisor, nullptr,
                       [&model](const OverlayOptions& options) {
                           return PreviewChart(model, options, QString(), PortraitSize(Paper::A4));
                       });
    const auto show = [&dialog](const char* step) {
        const bool ok = dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled();
        std::printf("%s|%s|%s|%s\n", step, dialog.PageCount()->text().toStdString().c_str(),
                    ok ? "ok" : "refused",
                    dialog.Reason()->isHidden() ? ""
                                                : dialog.Reason()->text().toStdString().c_str());
    };
    show("opened");
    dialog.Magnification()->setCurrentText(QStringLiteral("200"));
    show("200");
    dialog.Region()->setCurrentIndex(3);
    show("200 bearing");
    dialog.Tolerance()->setText(QStringLiteral("0.0005"));
    dialog.Magnification()->setCurrentText(QStringLiteral("10"));
    show("10 bearing band");
    dialog.Magnification()->setCurrentText(QStringLiteral("1000"));
    dialog.Region()->setCurrentIndex(0);
    dialog.WholeSection()->setChecked(true);
    show("1000 section");
    dialog.adjustSize();
    dialog.grab().save(QString::fromLocal8Bit(picture));
    return 0;
}

void PrintWall(const char* name, const BoreWall& wall) {
    std::printf("\"%s\": [", name);
    for (std::size_t i = 0; i < wall.size(); ++i) {
        std::printf("%s[%.17g, %.17g]", i == 0 ? "" : ", ", wall[i].X, wall[i].Y);
    }
    std::printf("]");
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    if (argc == 4 && std::string(argv[1]) == "--dialog") {
        ScaleDialog dialog(kMillimetreUnitDivisor);
        dialog.Magnification()->setCurrentText(QString::fromLocal8Bit(argv[2]));
        dialog.adjustSize();
        dialog.grab().save(QString::fromLocal8Bit(argv[3]));
        const bool ok = dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled();
        std::printf("%s\n", ok ? "ok" : dialog.Reason()->text().toStdString().c_str());
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--dialog-pages") {
        return DialogPages(argv[2]);
    }
    if (argc < 5) {
        std::cerr
            << "usage: overlay_writer OUT.pdf MAGNIFICATION TOLERANCE bore|section [EVENT ...]\n";
        return 2;
    }
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    model.Show();
    OverlayOptions choices;
    Paper paper = Paper::A4;
    for (int i = 5; i < argc; ++i) {
        if (!ChartChoice(argv[i], choices, paper) && !RunEvent(model, argv[i])) {
            std::cerr << "not an event: " << argv[i] << "\n";
            return 2;
        }
    }
    const auto options = ParseOverlayOptions(
        argv[2], argv[3],
        std::string(argv[4]) == "section" ? OverlayView::Section : OverlayView::Bore);
    if (!options) {
        std::cerr << options.Error().Message << "\n";
        return 1;
    }
    OverlayOptions chosen = *options;
    chosen.Region = choices.Region;
    chosen.Mirror = choices.Mirror;
    ExportNotes written;
    if (const Expected<void, QString> done =
            WriteOverlayPdf(model, chosen, QStringLiteral("overlay test"),
                            QString::fromLocal8Bit(argv[1]), paper, &written);
        !done) {
        std::cerr << done.Error().toStdString() << "\n";
        return 1;
    }
    const ProfileState& s = model.State();
    std::printf("{\"UnitDivisor\": %.17g, \"OutletDiameter\": %.17g, \"BearingLength\": %.17g, "
                "\"DiamondDiameter\": %.17g, \"DiamondHeight\": %.17g, \"Pages\": %zu, "
                "\"Warning\": \"%s\", ",
                s.UnitDivisor, s.OutletDiameter, s.BearingLength, s.DiamondDiameter,
                s.DiamondHeight, written.ChartPages, written.Warning.c_str());
    PrintWall("RightWall",
              BoreWallOf(model.LastCalculation()->Frame, model.Scene(), BoreSide::Right));
    std::printf("}\n");
    return 0;
}
