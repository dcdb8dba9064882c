// dieprofile-screenshot: starts the real window, optionally runs Calculate, and saves what the
// window shows as a PNG, for the README and for looking at the layout without a desktop.
#include "qt/application.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--calculate")) {
        std::fprintf(stderr, "usage: dieprofile-screenshot OUTPUT.png [--calculate]\n");
        return 2;
    }
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.Start();
    if (args.size() == 3) {
        window.CalculateButton()->click();
    }
    int status = 0;
    QTimer::singleShot(0, [&] {
        if (!window.grab().save(args[1])) {
            std::fprintf(stderr, "dieprofile-screenshot: cannot write %s\n", qPrintable(args[1]));
            status = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
