// dieprofile: lay out the bore of a diamond wire-drawing die, see it drawn to scale with every
// dimension, and print it. Without arguments the window starts as designed; see command_line.h.
#include "core/message_text.h"
#include "qt/application.h"
#include "qt/command_line.h"
#include "qt/die_set_window.h"
#include "qt/local_path.h"
#include "qt/main_window.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (dieprofile::RunsWithoutWindow(argc, argv)) {
        // --help and --version are answered before there is any application: they need no
        // platform at all.
        const dieprofile::CommandLine told =
            dieprofile::ParseCommandLine(dieprofile::ArgumentsOf(argc, argv));
        if (told.What == dieprofile::CommandLine::Action::Tell) {
            std::fputs(told.Text.toLocal8Bit().constData(), stdout);
            return 0;
        }
        // An export draws on no screen, whatever QT_QPA_PLATFORM names: a machine without a
        // display runs it too.
        dieprofile::SilenceToolkitChatter();
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The arguments Qt has left (it takes its own, such as -style), a file name's bytes kept as
    // given in whatever encoding.
    const dieprofile::CommandLine line =
        dieprofile::ParseCommandLine(dieprofile::ArgumentsOf(argc, argv));
    switch (line.What) {
    case dieprofile::CommandLine::Action::Tell:
        std::fputs(line.Text.toLocal8Bit().constData(), stdout);
        return 0;
    case dieprofile::CommandLine::Action::Refuse:
        // The refusal may quote what was typed, control characters and all.
        std::fprintf(stderr, "%s\n",
                     dieprofile::WithControlCharactersEscaped(line.Text.toStdString()).c_str());
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
