// The start-up benchmark's programs, one source built three ways with the same flags:
//   dieprofile-startup          starts as the program does (application settings, the window,
//                               Start);
//   dieprofile-startup-minimal  an empty Qt Widgets window of the same size, the reference;
//   dieprofile-startup-text     the empty window with one line of text, which shows how much of
//                               the difference is the font system's start, paid by any window
//                               that shows text;
//   dieprofile-startup-widgets  the empty window with the design's controls as plain Qt widgets
//                               (captions, fields, the blank list, options, buttons, the drawing's
//                               value labels) in their faces and places, set up as the program
//                               sets up its application: what any window showing this design pays,
//                               without the model, the drawing, the icon or the commands.
// Each quits once its first frame has been painted and flushed, so the time from exec to exit is
// the time to a first picture plus teardown.
#include "profile/form_design.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#define DIEPROFILE_STARTUP_MINIMAL 0
#define DIEPROFILE_STARTUP_REAL 1
#define DIEPROFILE_STARTUP_TEXT 2
#define DIEPROFILE_STARTUP_WIDGETS 3

#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_REAL
#include "qt/application.h"
#include "qt/main_window.h"
#elif DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_TEXT
#include <QLabel>
#elif DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_WIDGETS
#include "catalogue/catalogue.h"
#include "profile/drawing_scene.h"
#include "qt/application.h"
#include "qt/fonts.h"
#include "qt/widget_design.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_WIDGETS
// The design's controls as the toolkit's own widgets.
void AddDesignWidgets(QWidget& window) {
    using namespace dieprofile;
    window.setPalette(DesignPalette(window.palette()));
    window.setFont(DesignFont(FontDesign{}));
    for (const ControlDesign& design : FormControls()) {
        const QString text = ToQString(design.Text);
        QWidget* widget = nullptr;
        switch (design.Kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, &window);
            label->setWordWrap(true);
            label->setAlignment(HorizontalAlignment(design.Alignment) | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::TextField:
            widget = new QLineEdit(&window);
            break;
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(&window);
            for (std::string_view row : CatalogueRows()) {
                list->addItem(ToQString(row));
            }
            list->setCurrentIndex(-1);
            widget = list;
            break;
        }
        case ControlKind::OptionButton:
            widget = new QRadioButton(text, &window);
            break;
        case ControlKind::PushButton:
            widget = new QPushButton(text, &window);
            break;
        }
        widget->setFont(DesignFont(design.Font));
        if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            field->setText(text);
        }
        widget->setGeometry(PxRect(design.Left, design.Top, design.Width, design.Height));
    }
    for (const LabelDesign& design : SceneLabels()) {
        auto* label = new QLabel(QStringLiteral("***"), &window);
        label->setGeometry(PxRect(design.Left, design.Top, design.Width, design.Height));
    }
}
#endif

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
#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_WIDGETS
    dieprofile::ConfigureApplication();
#endif
    QWidget window;
    window.setFixedSize(dieprofile::kWindow.ClientWidth / dieprofile::kTwipsPerPixel,
                        dieprofile::kWindow.ClientHeight / dieprofile::kTwipsPerPixel);
#if DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_TEXT
    QLabel label(QStringLiteral("Outlet Diameter"), &window);
    label.move(20, 20);
#elif DIEPROFILE_STARTUP == DIEPROFILE_STARTUP_WIDGETS
    AddDesignWidgets(window);
#endif
    window.installEventFilter(&firstFrame);
    window.show();
#endif
    return QApplication::exec();
}
