// A laid-out page painted at true size: lines of the stated width and ISO dash, lettering of the
// stated capital height and alignment; the PDF read back by poppler, the SVG by an XML reader
// whatever characters the texts hold.
#include "window_harness.h"

#include "qt/page_painter.h"
#include "qt/printing.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace dieprofile::test {
namespace {

constexpr double kDotsPerMm = 10;

QImage Raster(const Page& page) {
    QImage image(qRound(page.WidthMm * kDotsPerMm), qRound(page.HeightMm * kDotsPerMm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, page, kDotsPerMm);
    painter.end();
    return image;
}

bool DarkAt(const QImage& image, double xMm, double yMm) {
    return Dark(image.pixel(qRound(xMm * kDotsPerMm), qRound(yMm * kDotsPerMm)));
}

// The rows and columns holding dark pixels, in millimetres.
QRectF DarkBox(const QImage& image) {
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Dark(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {left / kDotsPerMm, top / kDotsPerMm, (right + 1 - left) / kDotsPerMm,
            (bottom + 1 - top) / kDotsPerMm};
}

TEST(PagePainter, LinesStandAtTrueSizeWithTheirIsoDashes) {
    struct Probe {
        double X, Y;
        bool Dark;
    };
    struct Case {
        const char* Name;
        PageLine Line;
        std::vector<Probe> Probes;
    } const cases[] = {
        // 1 mm wide: dark 0.4 mm either side of its middle, not 0.6 mm; flat ends.
        {"continuous",
         {{10, 20}, {60, 20}, 1.0, LineType::Continuous},
         {{30, 19.6, true},
          {30, 20.4, true},
          {30, 19.4, false},
          {30, 20.6, false},
          {10.3, 20, true},
          {9.7, 20, false},
          {60.3, 20, false}}},
        // Dash 12 d, gap 3 d at 0.5 mm: 6 mm dark, 1.5 mm light, again.
        {"dashed",
         {{10, 20}, {60, 20}, 0.5, LineType::Dashed},
         {{13, 20, true}, {15.8, 20, true}, {16.75, 20, false}, {18, 20, true}}},
        // Long dash 24 d, gap 3 d, dot 0.5 d, gap 3 d at 0.5 mm: 12 dark, 1.5 light, dot, 1.5.
        {"centre",
         {{10, 20}, {60, 20}, 0.5, LineType::Centre},
         {{21.5, 20, true}, {22.7, 20, false}, {24.5, 20, false}, {26, 20, true}}},
        // Two dots after the long dash: the next long dash starts 12 + 3 x 1.5 + 2 x 0.25 on.
        {"phantom",
         {{10, 20}, {60, 20}, 0.5, LineType::Phantom},
         {{22.7, 20, false}, {26.2, 20, false}, {27.5, 20, true}, {38.5, 20, true}}},
    };
    for (const Case& c : cases) {
        Page page{80, 40, {c.Line}, {}, {}};
        const QImage image = Raster(page);
        for (const Probe& probe : c.Probes) {
            EXPECT_EQ(DarkAt(image, probe.X, probe.Y), probe.Dark)
                << c.Name << " at " << probe.X << ", " << probe.Y;
        }
    }
}

TEST(PagePainter, LetteringHasItsCapitalHeightAlignmentAndTurn) {
    struct Case {
        const char* Name;
        PageText Text;
        double Edge;     // where the aligned edge (or centre) of the letters falls, mm
        double Baseline; // where the letters stand, mm
    } const cases[] = {
        {"left", {{20, 30}, "HHH", 5, TextAlign::Left}, 20, 30},
        {"right", {{60, 30}, "HHH", 5, TextAlign::Right}, 60, 30},
        {"bold centred", {{40, 30}, "H", 7, TextAlign::Centre, 0, true}, 40, 30},
        {"mono", {{20, 30}, "EEE", 2.5, TextAlign::Left, 0, false, true}, 20, 30},
        // Read from the right: the letters run up from the point, standing to the left of x 40.
        {"turned", {{40, 30}, "HHH", 5, TextAlign::Left, 90}, 30, 40},
    };
    for (const Case& c : cases) {
        const Page page{80, 40, {}, {}, {c.Text}};
        const QRectF box = DarkBox(Raster(page));
        const bool turned = c.Text.AngleDeg != 0;
        // The capitals' height within a pixel of antialiasing either side.
        EXPECT_NEAR(turned ? box.width() : box.height(), c.Text.HeightMm, 0.25) << c.Name;
        EXPECT_NEAR(turned ? box.right() : box.bottom(), c.Baseline, 0.15) << c.Name;
        // The glyphs' side bearings keep the ink up to a millimetre from the aligned point.
        const double edge = turned                             ? box.bottom()
                            : c.Text.Align == TextAlign::Left  ? box.left()
                            : c.Text.Align == TextAlign::Right ? box.right()
                                                               : box.center().x();
        EXPECT_NEAR(edge, c.Edge, 1.0) << c.Name;
    }
}

TEST(PagePainter, OutlinesAreFilledOrDrawn) {
    Page page{80, 40, {}, {}, {}};
    page.Outlines.push_back({{{10, 10}, {30, 10}, {30, 30}, {10, 30}}, true, 0.25});
    page.Outlines.push_back({{{40, 10}, {60, 10}, {60, 30}, {40, 30}}, false, 1.0});
    const QImage image = Raster(page);
    EXPECT_TRUE(DarkAt(image, 20, 20));
    EXPECT_FALSE(DarkAt(image, 50, 20));
    EXPECT_TRUE(DarkAt(image, 40.3, 20));
    EXPECT_FALSE(DarkAt(image, 31, 20));
}

TEST(PagePainter, PdfHasEachPageOnItsPaperWithTextAsTextInEmbeddedFaces) {
    Page sheet{297, 210, {{{20, 20}, {277, 20}, 0.7}}, {}, {}};
    sheet.Texts.push_back({{30, 40}, "Ø 12.5 mm", 5});
    sheet.Texts.push_back({{30, 60}, "TOLERANCE", 3.5, TextAlign::Left, 0, true});
    sheet.Texts.push_back({{30, 80}, "0123", 3.5, TextAlign::Left, 0, false, true});
    const Page chart{210, 297, {{{10, 10}, {100, 10}}}, {}, {{{10, 20}, "row 1, column 2", 3}}};
    const auto made = PdfOfPages({sheet, chart}, {QStringLiteral("Die & Co"), {}});
    ASSERT_TRUE(made);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pages.pdf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(*made);
    file.close();

    const QString info = RunTool(QStringLiteral("pdfinfo"), {"-f", "1", "-l", "2", path}).Output;
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           2"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Page    1 size:  842 x 595 pts")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Page    2 size:  595 x 842 pts")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Title:           Die & Co"))) << info.toStdString();
    const QString text = RunTool(QStringLiteral("pdftotext"), {path, "-"}).Output;
    for (const char* words : {"Ø 12.5 mm", "TOLERANCE", "0123", "row 1, column 2"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;
    }
    const QString fonts = RunTool(QStringLiteral("pdffonts"), {path}).Output;
    for (const char* face : {"LiberationSans ", "LiberationSans-Bold", "LiberationMono"}) {
        const auto line = fonts.split(QLatin1Char('\n')).filter(QString::fromLatin1(face));
        ASSERT_EQ(line.size(), 1) << face << '\n' << fonts.toStdString();
        EXPECT_TRUE(line.front().contains(QStringLiteral(" yes "))) << "not embedded: " << face;
    }
    EXPECT_EQ(RunTool(QStringLiteral("pdfimages"), {"-list", path}).Output.count('\n'), 2)
        << "only the header: no bitmap in the pages";
}

TEST(PagePainter, SvgIsWellFormedXmlWhateverTheTextsHold) {
    struct Case {
        const char* Name;
        std::string_view Given;
        const char* Read; // what an XML reader reads back
    } const cases[] = {
        {"ampersand", "Smith & Sons.dieprofile", "Smith & Sons.dieprofile"},
        {"markup", "<b>\"die\"</b> 'x'", "<b>\"die\"</b> 'x'"},
        {"escape sequence", "a\x1b]0;owned\x07z", "a\uFFFD]0;owned\uFFFDz"},
        {"nul and delete", std::string_view("n\0m\x7f", 4), "n\uFFFDm\uFFFD"},
        {"beyond ASCII", "Ø 0,5 µm", "Ø 0,5 µm"},
    };
    for (const Case& c : cases) {
        const std::string given(c.Given);
        const QString text = QString::fromStdString(given);
        Page page{100, 50, {}, {}, {{{10, 20}, given, 3.5}}};
        const auto made = SvgOfPage(page, {text, text});
        ASSERT_TRUE(made) << c.Name;
        QXmlStreamReader xml(*made);
        QStringList title;
        QStringList drawn;
        QStringList description;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) {
                const QString name = xml.name().toString();
                if (name == u"title" || name == u"desc" || name == u"text") {
                    const QString content = xml.readElementText();
                    (name == u"title" ? title : name == u"desc" ? description : drawn) << content;
                }
            }
        }
        ASSERT_FALSE(xml.hasError()) << c.Name << ": " << xml.errorString().toStdString();
        const QString read = QString::fromUtf8(c.Read);
        EXPECT_EQ(title, QStringList{read}) << c.Name;
        EXPECT_EQ(description, QStringList{read}) << c.Name;
        EXPECT_EQ(drawn.join(QString()), read) << c.Name;
    }
}

} // namespace
} // namespace dieprofile::test
