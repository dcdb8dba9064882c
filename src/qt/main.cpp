// dieprofile: lay out the bore of a diamond wire-drawing die, see it drawn to scale with every
// dimension, and print it. Without arguments the window starts as designed; see command_line.h.
#include "qt/application.h"
#include "qt/command_line.h"
#include "qt/die_set_window.h"
#include "qt/main_window.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // An export, --help or --version needs no display: they run on a machine without one.
    if (dieprofile::RunsWithoutWindow(argc, argv)) {
        dieprofile::SilenceToolkitChatter();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication app(argc, argv);
    const dieprofile::CommandLine line = dieprofile::ParseCommandLine(QApplication::arguments());
    switch (line.What) {
    case dieprofile::CommandLine::Action::Tell:
        std::fputs(line.Text.toLocal8Bit().constData(), stdout);
        return 0;
    case dieprofile::CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", line.Text.toLocal8Bit().constData());
        return 2;
    case dieprofile::CommandLine::Action::Export:
        dieprofile::ConfigureApplication();
        return dieprofile::ExportWithoutWindow(line);
    case dieprofile::CommandLine::Action::ShowWindow:
        break;
    }
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.Start();
    if (dieprofile::IsDieSetPath(line.Design)) {
        window.ShowDieSetFile(line.Design);
    } else if (!line.Design.isEmpty()) {
        window.OpenDesignFile(line.Design);
    }
    return QApplication::exec();
}
