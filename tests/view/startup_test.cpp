// What start-up leaves for later must still come out as before when it is asked for: the design's
// faces, the blank list's open width and the program's icon.
#include "window_harness.h"

#include "profile/form_design.h"
#include "qt/app_icon.h"
#include "qt/export_painters.h"
#include "qt/fonts.h"
#include "qt/printing.h"
#include "qt/widget_design.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

constexpr FontDesign kCourierDesign{Typeface::Courier, 9.75, false};

struct FaceCase {
    const char* What;
    FontDesign Design;
    const char* DesignName; // the face the design names, found through the substitutes
};

TEST(Startup, DesignFontsAreTheFacesTheDesignNamesResolveTo) {
    const FaceCase cases[] = {
        {"default", FontDesign{}, "MS Sans Serif"},
        {"sans serif", {Typeface::SansSerif, 9.75, false}, "MS Sans Serif"},
        {"sans serif bold", {Typeface::SansSerif, 9.75, true}, "MS Sans Serif"},
        {"banner title", {Typeface::SansSerif, 12, true}, "MS Sans Serif"},
        {"courier", kCourierDesign, "Courier"},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.What);
        const QFont font = DesignFont(c.Design);
        // Named by an installed face, so no widget's font goes through the search for a face
        // that is not there.
        EXPECT_TRUE(QFontDatabase::hasFamily(font.family())) << font.family().toStdString();
        QFont byDesignName = font;
        byDesignName.setFamily(QString::fromLatin1(c.DesignName));
        const QFontInfo shown(font);
        const QFontInfo designed(byDesignName);
        EXPECT_EQ(shown.family(), designed.family());
        EXPECT_EQ(shown.styleName(), designed.styleName());
        EXPECT_EQ(shown.pixelSize(), designed.pixelSize());
        EXPECT_EQ(shown.bold(), designed.bold());
        EXPECT_EQ(shown.fixedPitch(), designed.fixedPitch());
    }
}

TEST(Startup, FieldsHoldTheirDesignTextInTheirDesignFaceOnceBuilt) {
    const MainWindow window; // built, not started: the model has not filled them yet
    for (const ControlDesign& design : FormControls()) {
        if (design.Kind != ControlKind::TextField) {
            continue;
        }
        SCOPED_TRACE(std::string(design.Name));
        const FieldEdit* field = window.Field(design.Id);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), ToQString(design.Text));
        EXPECT_EQ(field->font(), DesignFont(design.Font));
    }
}

// Menus, dialogs, popups and other windows are made when they are first asked for; the first
// picture shows none of them.
TEST(Startup, MakesNoWindowOfItsOwnBesidesTheMainWindow) {
    const QWidgetList before = QApplication::topLevelWidgets();
    const auto window = StartWindow();
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (topLevel != window.get() && !before.contains(topLevel)) {
            ADD_FAILURE() << "a window made at start-up: " << topLevel->metaObject()->className()
                          << " " << topLevel->objectName().toStdString();
        }
    }
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        EXPECT_FALSE(child->isWindow())
            << child->metaObject()->className() << " " << child->objectName().toStdString();
    }
    EXPECT_TRUE(window->findChildren<QMenu*>().isEmpty());
    EXPECT_TRUE(window->findChildren<QDialog*>().isEmpty());
}

TEST(Startup, BlankListMakesItsOpenListOnlyWhenItFirstDropsDown) {
    const auto window = StartWindow();
    QComboBox* combo = window->BlankList();
    EXPECT_EQ(combo->findChild<QAbstractItemView*>(), nullptr) << "made before anyone asked";
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible());
    // Made late, the open list still shows the rows in the list's own face, and wide.
    EXPECT_EQ(view->font(), combo->font());
    EXPECT_EQ(QFontInfo(view->font()).family(), QFontInfo(DesignFont(kCourierDesign)).family());
    const int opened = view->minimumWidth();
    EXPECT_GT(opened, combo->width());
    combo->hidePopup();
    combo->showPopup();
    EXPECT_EQ(view->minimumWidth(), opened);
    combo->hidePopup();
}

// Asked for every size twice in one turn of the event loop, as the X11 window system asks while
// it makes a window, and again in a later turn.
TEST(Startup, ShownWindowCarriesTheDrawnIconAtEverySize) {
    const auto window = StartWindow();
    ASSERT_NE(window->windowHandle(), nullptr);
    const QIcon icon = window->windowHandle()->icon();
    ASSERT_FALSE(icon.isNull());
    for (int pass = 0; pass < 2; ++pass) {
        for (int size : kAppIconSizes) {
            const QImage expected = AppIconImage(size);
            for (int ask = 0; ask < 2; ++ask) {
                const QPixmap got = icon.pixmap(QSize(size, size));
                EXPECT_EQ(got.toImage().convertToFormat(expected.format()), expected) << size;
            }
        }
        QCoreApplication::processEvents();
    }
}

// Which of the libraries that printing and the SVG writer need this process has mapped.
QStringList MappedPrintingLibraries() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    EXPECT_TRUE(maps.open(QIODevice::ReadOnly));
    const QString mapped = QString::fromLocal8Bit(maps.readAll());
    QStringList found;
    for (const char* library :
         {"/libQt6PrintSupport.so", "/libQt6Svg.so", "/libdieprofile_printing.so"}) {
        if (mapped.contains(QLatin1String(library))) {
            found << QLatin1String(library);
        }
    }
    return found;
}

// A start and a Calculate leave Qt Print Support and Qt SVG unloaded; the first export loads them
// with the printing module, and a module that is not there is named in the refusal.
TEST(Startup, LoadsPrintSupportAndSvgOnlyWhenFirstAskedFor) {
    if (MappedPrintingLibraries().contains(QStringLiteral("/libdieprofile_printing.so"))) {
        GTEST_SKIP() << "an earlier test in this process has printed or exported";
    }
    const auto window = StartWindow();
    QCoreApplication::processEvents(); // the first frame painted
    EXPECT_EQ(MappedPrintingLibraries(), QStringList());
    CalculateDefaultProfile(*window);
    ASSERT_TRUE(window->Model().LastCalculation());
    EXPECT_EQ(MappedPrintingLibraries(), QStringList());

    const QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("die.svg"));
    const QString missing = folder.filePath(QStringLiteral("none/libdieprofile_printing.so"));
    SetPrintingModule(missing);
    const Expected<void, ExportRefusal> exported =
        ExportDrawingFile(window->Model(), QStringLiteral("die"), svg);
    ASSERT_FALSE(exported);
    EXPECT_EQ(
        exported.Error().Message,
        QStringLiteral("Cannot export \"%1\": the printing module is missing (looked for %2).")
            .arg(svg, missing)
            .toStdString());
    EXPECT_FALSE(QFile::exists(svg));
    EXPECT_EQ(MappedPrintingLibraries(), QStringList());

    SetPrintingModule(QStringLiteral(DIEPROFILE_PRINTING_MODULE_PATH));
    EXPECT_TRUE(ExportDrawingFile(window->Model(), QStringLiteral("die"), svg));
    QFile written(svg);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("<?xml"));
    EXPECT_EQ(MappedPrintingLibraries().size(), 3);
}

} // namespace
} // namespace dieprofile::test
