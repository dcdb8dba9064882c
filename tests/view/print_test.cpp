// Print on a private CUPS spooler: the real Print button, the document the spooler received (or,
// through a cups-pdf printer, the PDF it made), the queue's state, and the window afterwards.
#include "window_harness.h"

#include "app/dump.h"
#include "qt/design_commands.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

const QString kQueue = QStringLiteral("dieprofile-test");

QString SpoolDir() {
    return qEnvironmentVariable("DIEPROFILE_SPOOL_DIR");
}

// The documents the spooler has received, oldest first, once no job is left pending.
QStringList JobDocuments() {
    const ToolRun run = RunTool(qEnvironmentVariable("DIEPROFILE_CUPS_SANDBOX"),
                                {QStringLiteral("wait-jobs"), SpoolDir(), QStringLiteral("60")});
    EXPECT_EQ(run.ExitCode, 0) << "jobs left pending";
    return run.Output.split('\n', Qt::SkipEmptyParts);
}

#define REQUIRE_SPOOLER()                                                                          \
    if (SpoolDir().isEmpty()) {                                                                    \
        GTEST_SKIP() << "needs the private spooler (run through ctest -L spooler)";                \
    }

// The window as a user sees it after Print: the same size, the diamond fields back, and the
// model exactly as before.
void ExpectRestored(MainWindow& window, const std::string& dumpBefore) {
    EXPECT_EQ(window.size(), QSize(964, 692));
    EXPECT_TRUE(window.Field(ControlId::Text1_5)->isVisible());
    EXPECT_TRUE(window.Field(ControlId::Text1_10)->isVisible());
    EXPECT_TRUE(window.CaptionLabel("Label1(6)")->isVisible());
    EXPECT_TRUE(window.CaptionLabel("Label1(11)")->isVisible());
    EXPECT_EQ(DumpIgnoringFocus(window.Model()), dumpBefore);
}

// The rows of a poppler listing below its dashed rule, split at blanks.
std::vector<QStringList> ListingRows(const QString& listing) {
    std::vector<QStringList> rows;
    bool body = false;
    for (const QString& line : listing.split('\n', Qt::SkipEmptyParts)) {
        if (body) {
            rows.push_back(line.split(' ', Qt::SkipEmptyParts));
        }
        body = body || line.startsWith(QStringLiteral("---"));
    }
    return rows;
}

// One landscape page that keeps its text as text in embedded fonts and holds no image: nothing a
// printer's filters turn the page into a bitmap for. The page may be landscape paper, or portrait
// paper with the window turned, as a printer's filters print it; either way the text runs along
// the page's long side.
void ExpectVectorLandscapePage(const QString& document) {
    static const QRegularExpression onePage(QStringLiteral("Pages:\\s+1\\n"));
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {document}).Output.contains(onePage));
    const QString text = RunTool(QStringLiteral("pdftotext"), {document, "-"}).Output;
    for (const char* expected : {"Calculate", "Delta Value", "Outlet Wire Diameter", "Varnholt"}) {
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    }
    // The diamond fields are hidden while the page is made.
    EXPECT_FALSE(text.contains(QStringLiteral("Diamond")));
    const auto fonts = ListingRows(RunTool(QStringLiteral("pdffonts"), {document}).Output);
    EXPECT_FALSE(fonts.empty()) << "the page has no fonts: text was printed as pixels";
    for (const QStringList& font : fonts) {
        EXPECT_EQ(font.value(font.size() - 5), QStringLiteral("yes")) << "not embedded";
    }
    for (const QStringList& image :
         ListingRows(RunTool(QStringLiteral("pdfimages"), {"-list", document}).Output)) {
        ADD_FAILURE() << "an image on the page: " << image.join(' ').toStdString();
    }
    static const QRegularExpression box(
        QStringLiteral(
            "width=\"([\\d.]+)\" height=\"([\\d.]+)\".*xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
            "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">Calculate<"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto m = box.match(RunTool(QStringLiteral("pdftotext"), {"-bbox", document, "-"}).Output);
    ASSERT_TRUE(m.hasMatch());
    auto n = [&](int i) { return m.captured(i).toDouble(); };
    EXPECT_EQ(n(1) > n(2), n(5) - n(3) > n(6) - n(4)) << "the text runs across the short side";
}

TEST(Print, PutsTheWindowOnOneLandscapePageAsText) {
    REQUIRE_SPOOLER();
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    ASSERT_EQ(window->Field(ControlId::Text3)->text(), QStringLiteral("0.736"));
    const QStringList before = JobDocuments();
    const std::string dump = DumpIgnoringFocus(window->Model());

    MessageAnswerer answerer;
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
    ExpectRestored(*window, dump);

    const QStringList after = JobDocuments();
    ASSERT_EQ(after.size(), before.size() + 1) << "no job reached the spooler";
    const QString& document = after.back();
    ExpectVectorLandscapePage(document);
    const QString text = RunTool(QStringLiteral("pdftotext"), {document, "-"}).Output;
    for (const char* expected : {"0.736", "70.248", "0.0614"}) {
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    }

    // Rasterised, the window is centred on the page, as large as fits. Its outermost mark, the
    // panel's frame, lies 24 pixels into the window on the left, 11 on the right and at the
    // bottom, and at its top.
    QTemporaryDir scratch;
    const QString stem = scratch.filePath(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"),
            {"-r", "50", "-gray", "-png", "-singlefile", document, stem});
    const QImage raster(stem + QStringLiteral(".png"));
    ASSERT_FALSE(raster.isNull());
    QRect marked;
    for (int y = 0; y < raster.height(); ++y) {
        for (int x = 0; x < raster.width(); ++x) {
            marked |= qGray(raster.pixel(x, y)) < 250 ? QRect(x, y, 1, 1) : QRect();
        }
    }
    const double scale = marked.width() / 929.0;
    EXPECT_GT(marked.height(), raster.height() * 8 / 10) << "the window is not as large as fits";
    EXPECT_NEAR(marked.left() - 24 * scale, raster.width() - marked.right() - 1 - 11 * scale, 2);
    EXPECT_NEAR(marked.top(), raster.height() - marked.bottom() - 1 - 11 * scale, 2);
}

// The commands beside the window print through the platform's print dialog: each dialog that
// comes up (the scale dialog, then the print dialog with the spooler's default queue chosen) is
// accepted as it stands, and the pages reach the spooler as vector text.
TEST(Print, DrawingSheetAndProjectorChartReachTheSpooler) {
    REQUIRE_SPOOLER();
    const auto window = StartWindow();
    CalculateDefaultProfile(*window);
    const struct {
        const char* name;
        void (DesignCommands::*command)();
        std::vector<const char*> texts;
    } rows[] = {
        {"Print Drawing",
         &DesignCommands::PrintDrawing,
         {"DIMENSIONS IN INCHES", "0.736", "70.248"}},
        {"Print at Scale", &DesignCommands::PrintAtScale, {"this bar is 2 in long", "row 1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QStringList before = JobDocuments();
        int accepted = 0;
        QTimer acceptor;
        QObject::connect(&acceptor, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->accept();
                ++accepted;
            }
        });
        acceptor.start(50);
        MessageAnswerer answerer;
        (window->Commands().*row.command)();
        acceptor.stop();
        EXPECT_TRUE(answerer.Boxes().empty()) << answerer.Boxes().front().Text.toStdString();
        EXPECT_GE(accepted, 1);
        const QStringList after = JobDocuments();
        ASSERT_EQ(after.size(), before.size() + 1) << "no job reached the spooler";
        const QString text = RunTool(QStringLiteral("pdftotext"), {after.back(), "-"}).Output;
        for (const char* expected : row.texts) {
            EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
        }
        EXPECT_TRUE(
            ListingRows(RunTool(QStringLiteral("pdfimages"), {"-list", after.back()}).Output)
                .empty());
    }
}

TEST(Print, TwoPrintsInARowKeepTheWindowSize) {
    REQUIRE_SPOOLER();
    const auto window = StartWindow();
    ChooseRow(*window, 26);
    const QStringList before = JobDocuments();
    const std::string dump = DumpIgnoringFocus(window->Model());
    const WindowRect rect = window->Model().Window;
    MessageAnswerer answerer;
    for (int print = 0; print < 2; ++print) {
        SCOPED_TRACE(print);
        QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
        EXPECT_EQ(window->size(), QSize(964, 692));
        EXPECT_EQ(window->Model().Window, rect);
    }
    EXPECT_TRUE(answerer.Texts().isEmpty()) << answerer.Texts().join('|').toStdString();
    EXPECT_EQ(DumpIgnoringFocus(window->Model()), dump);
    EXPECT_EQ(JobDocuments().size(), before.size() + 2);
}

// A paused queue (cupsdisable) takes the job and holds it until it is resumed; one stopped by an
// error takes nothing.
TEST(Print, PausedQueueKeepsTheJobAQueueInErrorRefusesIt) {
    REQUIRE_SPOOLER();
    const QString sandbox = qEnvironmentVariable("DIEPROFILE_CUPS_SANDBOX");
    const struct {
        const char* Reason;
        QString Message;
        int Held;
    } cases[] = {
        {"none",
         "The printer dieprofile-test is paused; the page waits in its queue until it is "
         "resumed.",
         1},
        {"media-jam-error", "Printing failed: the printer dieprofile-test reports an error.", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reason);
        const QStringList before = JobDocuments();
        RunTool(sandbox, {"reasons", SpoolDir(), c.Reason});
        ASSERT_EQ(RunTool(QStringLiteral("cupsdisable"), {kQueue}).ExitCode, 0);
        const auto window = StartWindow();
        ChooseRow(*window, 26);
        const std::string dump = DumpIgnoringFocus(window->Model());
        MessageAnswerer answerer;
        QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
        EXPECT_EQ(answerer.Texts(), QStringList{c.Message});
        ExpectRestored(*window, dump);

        const QString held =
            RunTool(QStringLiteral("lpstat"), {"-W", "not-completed", "-o"}).Output;
        EXPECT_EQ(held.count('\n'), c.Held);
        RunTool(sandbox, {"reasons", SpoolDir(), "none"});
        RunTool(QStringLiteral("cupsenable"), {kQueue});
        EXPECT_EQ(JobDocuments().size(), before.size() + c.Held) << "not printed once resumed";
    }
}

TEST(Print, RejectingQueueIsReportedAsAFailure) {
    REQUIRE_SPOOLER();
    ASSERT_EQ(RunTool(QStringLiteral("cupsreject"), {kQueue}).ExitCode, 0);
    struct Accept {
        ~Accept() { RunTool(QStringLiteral("cupsaccept"), {kQueue}); }
    } accept;

    const auto window = StartWindow();
    ChooseRow(*window, 26);
    const QStringList before = JobDocuments();
    const std::string dump = DumpIgnoringFocus(window->Model());
    MessageAnswerer answerer;
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);

    EXPECT_EQ(answerer.Texts(),
              QStringList{"Printing failed: the printer dieprofile-test is not accepting jobs."});
    EXPECT_EQ(JobDocuments(), before);
    ExpectRestored(*window, dump);
}

TEST(NoPrinter, PrintSaysSoAndRestoresTheWindow) {
    REQUIRE_SPOOLER();
    const auto window = StartWindow();
    ChooseRow(*window, 26);
    const std::string dump = DumpIgnoringFocus(window->Model());
    MessageAnswerer answerer;
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);

    EXPECT_EQ(answerer.Texts(), QStringList{"No printer is available."});
    ASSERT_FALSE(answerer.Boxes().empty());
    EXPECT_EQ(answerer.Boxes()[0].Title, kCaption);
    EXPECT_TRUE(answerer.Boxes()[0].OnlyOk);
    // The short message makes a narrow box; it is wide enough all the same for the title on a
    // desktop's frame, in a bold face of 11 points with three buttons as wide as the bar is high.
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    title.setPointSize(11);
    const QFontMetrics metrics(title);
    EXPECT_GE(answerer.Boxes()[0].Width,
              metrics.horizontalAdvance(kCaption) + 3 * metrics.height());
    ExpectRestored(*window, dump);

    // Return, and the keypad's Enter, click the focused button as Space does.
    for (Qt::KeyboardModifier keypad : {Qt::NoModifier, Qt::KeypadModifier}) {
        ReactivateAfterMessage(*window);
        window->PrintButton()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window->PrintButton(), keypad ? Qt::Key_Enter : Qt::Key_Return, keypad);
    }
    EXPECT_EQ(answerer.Texts().size(), 3);
}

// Debian's PDF printer runs the page through the filters every ordinary printer has; what it
// makes of the page stays vector.
TEST(PdfPrinter, KeepsThePageVectorThroughItsFilters) {
    REQUIRE_SPOOLER();
    const auto window = StartWindow();
    const QStringList before = JobDocuments();
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
    const QStringList after = JobDocuments();
    ASSERT_EQ(after.size(), before.size() + 1) << "cups-pdf made no PDF";
    ExpectVectorLandscapePage(after.back());
}

} // namespace
} // namespace dieprofile::test
