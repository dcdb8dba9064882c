// dieprofile: lay out the bore of a diamond wire-drawing die, see it drawn to scale with every
// dimension, and print it.
#include "app/application.h"
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.Start();
    return QApplication::exec();
}
