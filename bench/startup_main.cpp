// The start-up benchmark's programs, one source built three ways with the same flags:
//   dieprofile-startup          starts as the program does (application settings, the window,
//                               Start);
//   dieprofile-startup-minimal  an empty Qt Widgets window of the same size, the reference;
//   dieprofile-startup-text     the empty window with one line of text, which shows how much of
//                               the difference is the font system's start, paid by any window
//                               that shows text.
// Each quits once its first frame has been painted and flushed, so the time from exec to exit is
// the time to a first picture plus teardown.
#include "app/form_design.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#define DIEPROFILE_STARTUP_MINIMAL 0
#define DIEPROFILE_STARTUP_REAL 1
#define DIEPROFILE_STARTUP_TEXT 2

#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_REAL
#include "qt/application.h"
#include "qt/main_window.h"
#elif DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_TEXT
#include <QLabel>
#endif

namespace {

// Quits on the first paint of the watched window, once the event loop is idle again: by then
// the whole widget tree has painted and the backing store has been flushed to the screen.
class FirstFrame : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstFrame firstFrame;
#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_REAL
    dieprofile::ConfigureApplication();
    dieprofile::MainWindow window;
    window.installEventFilter(&firstFrame);
    window.Start();
#else
    QWidget window;
    window.setFixedSize(dieprofile::kWindow.ClientWidth / dieprofile::kTwipsPerPixel,
                        dieprofile::kWindow.ClientHeight / dieprofile::kTwipsPerPixel);
#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_TEXT
    QLabel label(QStringLiteral("Outlet Diameter"), &window);
    label.move(20, 20);
#endif
    window.installEventFilter(&firstFrame);
    window.show();
#endif
    return QApplication::exec();
}
