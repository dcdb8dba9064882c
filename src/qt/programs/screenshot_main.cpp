// dieprofile-screenshot: starts the real window, optionally runs Calculate, and saves what the
// window shows as a PNG, for the README and for looking at the layout without a desktop.
#include "qt/application.h"
#include "qt/die_set_window.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    // With --die-set, the Die Set window holding that set file is shown instead.
    const bool dieSet = args.size() == 4 && args[2] == "--die-set";
    if (args.size() < 2 || (args.size() > 3 && !dieSet) ||
        (args.size() == 3 && args[2] != "--calculate")) {
        std::fprintf(stderr,
                     "usage: dieprofile-screenshot OUTPUT.png [--calculate | --die-set SET]\n");
        return 2;
    }
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.Start();
    if (args.size() == 3) {
        window.CalculateButton()->click();
    }
    QWidget* shown = &window;
    if (dieSet) {
        shown = &window.ShowDieSetFile(args[3]);
    }
    int status = 0;
    QTimer::singleShot(0, [&] {
        if (!shown->grab().save(args[1])) {
            std::fprintf(stderr, "dieprofile-screenshot: cannot write %s\n", qPrintable(args[1]));
            status = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
