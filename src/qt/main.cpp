// dieprofile: lay out the bore of a diamond wire-drawing die, see it drawn to scale with every
// dimension, and print it.
#include "qt/application.h"
#include "qt/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.Start();
    return QApplication::exec();
}
