// Print on a private CUPS spooler: the real Print button, the document the spooler received, and
// the window afterwards.
#include "window_harness.h"

#include "app/dump.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
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

QSizeF PageSizePoints(const QString& pdfinfo) {
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const QRegularExpressionMatch match = size.match(pdfinfo);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
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
    const QString document = after.back();

    const ToolRun info = RunTool(QStringLiteral("pdfinfo"), {document});
    ASSERT_EQ(info.ExitCode, 0) << "the job is not a PDF";
    EXPECT_TRUE(info.Output.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.Output.toStdString();
    const QSizeF page = PageSizePoints(info.Output);
    EXPECT_GT(page.width(), page.height()) << "not landscape";

    const QString text = RunTool(QStringLiteral("pdftotext"), {document, "-"}).Output;
    for (const char* expected : {"Calculate", "Delta Value", "0.736", "70.248",
                                 "Outlet Wire Diameter", "Varnholt", "0.0614"}) {
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    }
    // The diamond fields are hidden while the page is made.
    EXPECT_FALSE(text.contains(QStringLiteral("Diamond Height")));
    EXPECT_FALSE(text.contains(QStringLiteral("Diamond Diameter")));

    const auto fonts = ListingRows(RunTool(QStringLiteral("pdffonts"), {document}).Output);
    EXPECT_FALSE(fonts.empty()) << "the page has no fonts: text was printed as pixels";
    for (const QStringList& font : fonts) {
        ASSERT_GE(font.size(), 5);
        EXPECT_EQ(font[font.size() - 5], QStringLiteral("yes")) << font.join(' ').toStdString();
    }

    // A bitmap of the window would be an image as wide as the page. The style paints the list's
    // and the buttons' faces as small images; their captions stay text.
    for (const QStringList& image :
         ListingRows(RunTool(QStringLiteral("pdfimages"), {"-list", document}).Output)) {
        ASSERT_GE(image.size(), 13);
        const double widthPoints = image[3].toDouble() * 72 / image[12].toDouble();
        EXPECT_LT(widthPoints, page.width() / 2) << image.join(' ').toStdString();
    }

    // Rasterised, the page carries the drawing across most of its width.
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString stem = scratch.filePath(QStringLiteral("page"));
    ASSERT_EQ(RunTool(QStringLiteral("pdftoppm"),
                      {"-r", "50", "-gray", "-png", "-singlefile", document, stem})
                  .ExitCode,
              0);
    const QImage raster(stem + QStringLiteral(".png"));
    ASSERT_FALSE(raster.isNull());
    QRect inked;
    for (int y = 0; y < raster.height(); ++y) {
        for (int x = 0; x < raster.width(); ++x) {
            if (Dark(raster.pixel(x, y))) {
                inked |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_GT(inked.width(), raster.width() * 6 / 10) << "the page is blank or the drawing tiny";
    EXPECT_GT(inked.height(), raster.height() * 6 / 10);
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

TEST(Print, StoppedQueueIsReportedAsAFailure) {
    REQUIRE_SPOOLER();
    ASSERT_EQ(RunTool(QStringLiteral("cupsdisable"), {kQueue}).ExitCode, 0);
    struct Reenable {
        ~Reenable() { RunTool(QStringLiteral("cupsenable"), {kQueue}); }
    } reenable;

    const auto window = StartWindow();
    ChooseRow(*window, 26);
    const std::string dump = DumpIgnoringFocus(window->Model());
    MessageAnswerer answerer;
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);

    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_TRUE(answerer.Boxes()[0].Text.startsWith(QStringLiteral("Printing failed: ")))
        << answerer.Boxes()[0].Text.toStdString();
    EXPECT_EQ(answerer.Boxes()[0].Title, kCaption);
    EXPECT_TRUE(answerer.Boxes()[0].OnlyOk);
    ExpectRestored(*window, dump);
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
    ExpectRestored(*window, dump);
}

} // namespace
} // namespace dieprofile::test
