#include "core/number_text.h"
#include "core/utf8.h"
#include "model_fixture.h"
#include "output/overlay_layout.h"
#include "output/text_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <variant>

namespace dieprofile::testing {
namespace {

TEST(OverlayOptionsTest, TextsAreReadAndBadValuesRefusedWithTheReason) {
    const struct {
        const char* name;
        const char* magnification;
        const char* tolerance;
        const char* problem; // empty: accepted
        double m;
        double t;
    } rows[] = {
        {"a usual lens", "50", "0.002", "", 50, 0.002},
        {"the lowest", "1", "0", "", 1, 0},
        {"the highest", "1000", "", "", 1000, 0},
        {"a fraction with spaces", " 12.5 ", " 1e-3 ", "", 12.5, 0.001},
        {"words", "fifty", "0", "The magnification must be a number.", 0, 0},
        {"empty magnification", "", "0", "The magnification must be a number.", 0, 0},
        {"below one", "0.5", "0", "The magnification must be from 1 to 1000.", 0, 0},
        {"beyond 1000", "1000.01", "0", "The magnification must be from 1 to 1000.", 0, 0},
        {"negative", "-50", "0", "The magnification must be from 1 to 1000.", 0, 0},
        {"tolerance in words", "50", "tight", "The tolerance must be a number.", 0, 0},
        {"negative tolerance", "50", "-0.001", "The tolerance must not be negative.", 0, 0},
        {"a number too large", "1e999", "0", "The magnification must be a number.", 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parsed =
            ParseOverlayOptions(row.magnification, row.tolerance, OverlayView::Section);
        if (*row.problem == '\0') {
            ASSERT_TRUE(parsed.HasValue());
            const OverlayOptions& options = *parsed;
            EXPECT_EQ(options.Magnification, row.m);
            EXPECT_EQ(options.Tolerance, row.t);
            EXPECT_EQ(options.View, OverlayView::Section);
        } else {
            ASSERT_TRUE(!parsed.HasValue());
            EXPECT_EQ(parsed.Error().Message, row.problem);
        }
    }
    // Options built in code are checked the same way, a NaN included.
    EXPECT_FALSE(CheckOverlayOptions({std::nan(""), 0, OverlayView::Bore}));
    EXPECT_FALSE(CheckOverlayOptions({50, std::nan(""), OverlayView::Bore}));
    EXPECT_TRUE(CheckOverlayOptions({}));
}

// Signed distance of p from the line through a and b, positive to its left.
double Offset(Point p, Point a, Point b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    return (dx * (p.Y - a.Y) - dy * (p.X - a.X)) / std::hypot(dx, dy);
}

TEST(OverlayBandTest, CornersMeetAndEndsStayOnTheFaces) {
    // A wall down a cone, then straight down a bearing: the corner is a mitre on both sides.
    const std::vector<Point> wall{{2, 3}, {1, 1}, {1, 0}};
    for (const double d : {0.1, -0.1}) {
        SCOPED_TRACE(d);
        const std::vector<Point> band = OffsetChain(wall, d);
        ASSERT_EQ(band.size(), 3u);
        EXPECT_EQ(band[0].Y, 3); // on the top face
        EXPECT_EQ(band[2].Y, 0); // on the bottom face
        // Every piece of the band is its offset from its own piece of the wall, measured here
        // through a square root, which rounds by itself.
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_NEAR(Offset(band[i], wall[i], wall[i + 1]), d, 1e-15) << i;
            EXPECT_NEAR(Offset(band[i + 1], wall[i], wall[i + 1]), d, 1e-15) << i;
        }
    }
    // A turn back on itself would throw the mitre far out: it is bevelled instead.
    const std::vector<Point> hairpin{{0, 10}, {0, 0}, {0.05, 10}};
    const std::vector<Point> bevelled = OffsetChain(hairpin, 0.1);
    ASSERT_EQ(bevelled.size(), 4u);
    for (const Point& p : bevelled) {
        EXPECT_LT(std::hypot(p.X, p.Y - 5), 6);
    }
    // A point repeated (a bearing of length 0) is one point; a single point has no band.
    EXPECT_EQ(OffsetChain({{2, 3}, {1, 1}, {1, 1}, {1, 0}}, 0.1).size(), 3u);
    EXPECT_TRUE(OffsetChain({{1, 1}, {1, 1}}, 0.1).empty());
}

TEST(OverlayClipTest, LinesAreCutAtTheBoxEdges) {
    const Bounds box{0, 10, 0, 5};
    const struct {
        const char* name;
        Point start, end;
        bool kept;
        Point keptStart, keptEnd;
    } rows[] = {
        {"inside", {1, 1}, {9, 4}, true, {1, 1}, {9, 4}},
        {"across both sides", {-5, 2}, {15, 2}, true, {0, 2}, {10, 2}},
        {"diagonal in through a corner's edges", {-2, -1}, {8, 4}, true, {0, 0}, {8, 4}},
        {"outside, its box meeting the box", {-1, 4.5}, {2, 7.5}, false, {}, {}},
        {"along an edge", {2, 5}, {4, 5}, true, {2, 5}, {4, 5}},
        {"parallel beyond an edge", {2, 5.1}, {4, 5.1}, false, {}, {}},
        {"a point inside", {3, 3}, {3, 3}, true, {3, 3}, {3, 3}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Point a = row.start;
        Point b = row.end;
        ASSERT_EQ(ClipToBox(a, b, box), row.kept);
        if (row.kept) {
            EXPECT_EQ(a, row.keptStart);
            EXPECT_EQ(b, row.keptEnd);
        }
    }
}

TEST(OverlayRegionTest, AZoneTakesTheEndsOfItsNeighbours) {
    // Mouth at 12, bell to 10, a long cone to 2, bearing to 1, back relief to 0; and the same
    // with a bearing of no length.
    const BoreWall wall{{{5, 12}, {4, 10}, {1, 2}, {1, 1}, {2, 0}}};
    const BoreWall flat{{{5, 12}, {4, 10}, {1, 2}, {1, 2}, {2, 0}}};
    const struct {
        const char* name;
        const BoreWall& wall;
        OverlayRegion region;
        double low;
        double high;
    } rows[] = {
        {"all", wall, OverlayRegion::All, 0, 12},
        {"bell with as much of the cone", wall, OverlayRegion::Entrance, 8, 12},
        {"cone with quarters", wall, OverlayRegion::Reduction, 1.75, 10.5},
        {"bearing with its own length of cone", wall, OverlayRegion::Bearing, 0.75, 3},
        {"back relief", wall, OverlayRegion::Back, 0, 1.25},
        {"bearing of no length", flat, OverlayRegion::Bearing, 1.5, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const AxialWindow window = RegionWindow(row.wall, row.region);
        EXPECT_EQ(window.Low, row.low);
        EXPECT_EQ(window.High, row.high);
        EXPECT_EQ(OverlayRegionNamed(OverlayRegionName(row.region)), row.region);
    }
    EXPECT_FALSE(OverlayRegionNamed("Bearing"));
}

using OverlayLayoutTest = ModelTest;

constexpr double kA4Width = 210;
constexpr double kA4Height = 297;

bool IsDie(const PaperLine& line) {
    return line.Stroke == OverlayStroke::Profile || line.Stroke == OverlayStroke::Band;
}

Bounds ProfileExtent(const OverlayPages& pages) {
    Bounds extent;
    for (const PaperLine& line : pages.Lines) {
        if (IsDie(line)) {
            extent.Add(line.Start);
            extent.Add(line.End);
        }
    }
    return extent;
}

Bounds TileOf(const OverlayPages& pages, int row, int column) {
    const double x = (column - 1) * (pages.TileWidth - kPageOverlapMm);
    const double y = (row - 1) * (pages.TileHeight - kPageOverlapMm);
    return {x, x + pages.TileWidth, y, y + pages.TileHeight};
}

// Laid out portrait unless the options turn the paper: the turn taken by itself has its own test.
OverlayPages LayOut(const Form1Model& model, OverlayOptions options, double width = kA4Width,
                    double height = kA4Height, std::string_view designName = "d") {
    if (options.Orientation == OverlayOrientation::Auto) {
        options.Orientation = OverlayOrientation::Portrait;
    }
    const auto laidOut =
        LayOutOverlay(model.LastCalculation()->Frame, model.Scene(),
                      model.LastCalculation()->UnitDivisor, options, designName, width, height);
    EXPECT_TRUE(laidOut.HasValue()) << laidOut.Error().Message;
    return laidOut.HasValue() ? *laidOut : OverlayPages{};
}

TEST_F(OverlayLayoutTest, OnlyTilesHoldingTheDieArePrintedAndKeepTheirPlaceInTheGrid) {
    const struct {
        const char* name;
        int row;
        OverlayOptions options;
        bool fewerThanGrid; // some tiles hold only marks or nothing
    } rows[] = {
        {"small blank fits one page", 15, {10, 0, OverlayView::Section}, false},
        {"default bore at 50x", 26, {50, 0.0005, OverlayView::Bore}, false},
        {"largest blank, bore at 200x", 14, {200, 0.001, OverlayView::Bore}, true},
        {"largest blank, section at 200x", 14, {200, 0, OverlayView::Section}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.PickRow(row.row);
        if (row.row == 26) {
            UseDefaultProfile();
        }
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation());
        const OverlayPages pages = LayOut(model, row.options);
        EXPECT_EQ(pages.TileWidth, kA4Width - 2 * kPaperMarginMm - kSideStripMm);
        EXPECT_EQ(pages.TileHeight, kA4Height - 2 * kPaperMarginMm - kFooterHeightMm);

        // As few tiles as hold the profile and its margins, a tile less the overlap apart.
        const Bounds extent = ProfileExtent(pages);
        const double stepX = pages.TileWidth - kPageOverlapMm;
        const double stepY = pages.TileHeight - kPageOverlapMm;
        const double sheetWidth =
            extent.Width() + 2 * kSheetMarginMm + kZoneLabelRoomMm + kDatumLabelRoomMm;
        EXPECT_GE(pages.Columns * stepX + kPageOverlapMm, sheetWidth);
        EXPECT_LT((pages.Columns - 1) * stepX + kPageOverlapMm,
                  std::max(sheetWidth, pages.TileWidth - 1e-9));
        EXPECT_GE(pages.Rows * stepY + kPageOverlapMm, extent.Height() + 2 * kSheetMarginMm);

        // Each tile, found by brute force, is printed exactly when a line of the die crosses it.
        std::size_t next = 0;
        for (int r = 1; r <= pages.Rows; ++r) {
            for (int c = 1; c <= pages.Columns; ++c) {
                const Bounds tile = TileOf(pages, r, c);
                bool holdsDie = false;
                for (const PaperLine& line : pages.Lines) {
                    Point a = line.Start;
                    Point b = line.End;
                    holdsDie = holdsDie || (IsDie(line) && ClipToBox(a, b, tile));
                }
                const bool printed = next < pages.Pages.size() && pages.Pages[next].Row == r &&
                                     pages.Pages[next].Column == c;
                EXPECT_EQ(printed, holdsDie) << "row " << r << ", column " << c;
                if (!printed) {
                    continue;
                }
                const OverlayPage& page = pages.Pages[next++];
                EXPECT_EQ(page.Origin, (Point{tile.MinX, tile.MinY}));
                EXPECT_EQ(page.Label, "row " + std::to_string(r) + ", column " + std::to_string(c) +
                                          " of " + std::to_string(pages.Rows) + " \u00d7 " +
                                          std::to_string(pages.Columns));
                // Every line that crosses the tile is drawn on it.
                for (std::size_t i = 0; i < pages.Lines.size(); ++i) {
                    Point a = pages.Lines[i].Start;
                    Point b = pages.Lines[i].End;
                    EXPECT_EQ(ClipToBox(a, b, tile), std::find(page.Lines.begin(), page.Lines.end(),
                                                               i) != page.Lines.end())
                        << i;
                }
            }
        }
        EXPECT_EQ(next, pages.Pages.size());
        EXPECT_EQ(pages.Pages.size() < static_cast<std::size_t>(pages.Rows * pages.Columns),
                  row.fewerThanGrid);
    }
}

TEST_F(OverlayLayoutTest, LengthsOnPaperAreTheDieTimesTheMagnification) {
    UseDefaultProfile(); // inches
    model.Command1_Click();
    const ProfileState& s = model.State();
    const OverlayPages pages = LayOut(model, {20, 0.001, OverlayView::Bore});
    const double k = 20 * 25.4;
    // The bearing: the only two vertical profile lines, a bearing long and an outlet apart.
    std::vector<PaperLine> bearing;
    for (const PaperLine& line : pages.Lines) {
        if (line.Stroke == OverlayStroke::Profile && line.Start.X == line.End.X) {
            bearing.push_back(line);
        }
    }
    ASSERT_EQ(bearing.size(), 2u);
    // Lengths taken between two places on the page, each rounded where it was laid out.
    EXPECT_NEAR(std::fabs(bearing[0].End.Y - bearing[0].Start.Y), s.BearingLength * k, 1e-12);
    EXPECT_NEAR(std::fabs(bearing[1].Start.X - bearing[0].Start.X), s.OutletDiameter * k, 1e-12);
    EXPECT_EQ(ProfileExtent(pages).Height(), s.DiamondHeight * k);
    EXPECT_EQ(pages.CheckBarMm, 50.8);
    EXPECT_EQ(pages.Statement, "this bar is 2 in long");
}

// A region draws its zone with a quarter of each neighbour, the datums within it, and says so.
TEST_F(OverlayLayoutTest, RegionDrawsItsZoneWithTheEndsOfItsNeighbours) {
    UseDefaultProfile();
    model.Command1_Click();
    const BoreWall wall =
        BoreWallOf(model.LastCalculation()->Frame, model.Scene(), BoreSide::Right);
    const double k = 500 * 25.4;
    const std::size_t whole = LayOut(model, {500, 0.0005, OverlayView::Bore}).Pages.size();
    const struct {
        OverlayRegion region;
        std::vector<std::string> texts; // the datums within it, then the values of its zones
        std::size_t atMost;             // pages at 500x on A4
    } rows[] = {
        // The bearing checked on a few pages; every zone on fewer than the whole bore.
        {OverlayRegion::Bearing,
         {"bearing start", "0.0420", "bearing end", "0.0360", "\u00D80.0120"},
         4},
        {OverlayRegion::Back,
         {"bearing end", "0.0360", "bottom face", "0.0000", "50\u00B0"},
         whole - 1},
        {OverlayRegion::Entrance,
         {"top face", "0.1800", "bell to cone", "0.1260", "50\u00B0"},
         whole - 1},
        {OverlayRegion::Reduction,
         {"bell to cone", "0.1260", "bearing start", "0.0420", "25\u00B0"},
         whole - 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(OverlayRegionName(row.region)));
        OverlayOptions options{500, 0.0005, OverlayView::Bore};
        options.Region = row.region;
        const OverlayPages pages = LayOut(model, options);
        const AxialWindow window = RegionWindow(wall, row.region);
        // Both edges laid out on the page, each rounded there.
        EXPECT_NEAR(ProfileExtent(pages).Height(), (window.High - window.Low) * k, 1e-11);
        std::vector<std::string> texts;
        for (const PageText& text : pages.Texts) {
            texts.push_back(text.Text);
        }
        EXPECT_EQ(texts, row.texts);
        EXPECT_LE(pages.Pages.size(), row.atMost);
        EXPECT_NE(
            pages.FooterTexts[0].Text.find("region: " + std::string(OverlayRegionName(row.region))),
            std::string::npos);
    }
}

TEST_F(OverlayLayoutTest, WarnsWhenTheLineHidesTheBand) {
    const struct {
        const char* name;
        bool millimetres;
        double magnification;
        double tolerance;
        const char* warning; // empty: none
        double paperWidth = kA4Width;
    } rows[] = {
        {"0.0005 in at 10x", false, 10, 0.0005,
         "The tolerance band is 0.127 mm wide on paper, less than twice the 0.25 mm line that "
         "hides it: choose a higher magnification."},
        {"0.0005 in at 50x", false, 50, 0.0005, ""},
        {"exactly two line widths", true, 50, 0.01, ""},
        {"just under", true, 49, 0.01,
         "The tolerance band is 0.49 mm wide on paper, less than twice the 0.25 mm line that "
         "hides it: choose a higher magnification."},
        {"no band", false, 1, 0, ""},
        {"just under, on the narrowest page", true, 49, 0.01,
         "The tolerance band is 0.49 mm wide on paper, less than twice the 0.25 mm line that "
         "hides it: choose a higher magnification.",
         120},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        UseDefaultProfile();
        if (row.millimetres) {
            model.ChooseOption(1);
        }
        model.Command1_Click();
        const OverlayPages pages =
            LayOut(model, {row.magnification, row.tolerance, OverlayView::Bore}, row.paperWidth);
        EXPECT_EQ(pages.Warning, row.warning);
        // The foot grows by the warning's lines and leaves the tiles shorter, never the paper.
        const std::vector<Page> paper = OverlayPaper(pages);
        ASSERT_FALSE(paper.empty());
        const double tileBottom = kPaperMarginMm + pages.TileHeight;
        const double barTop = pages.FooterLines[1].Start.Y; // the tick at the bar's left end
        for (const Page& page : paper) {
            // The words down the left of the foot: what is drawn, the band, then the warning.
            std::vector<PageText> left;
            std::copy_if(page.Texts.begin(), page.Texts.end(), std::back_inserter(left),
                         [&](const PageText& text) {
                             return text.At.Y > tileBottom && text.At.X == kPaperMarginMm;
                         });
            std::sort(left.begin(), left.end(),
                      [](const PageText& a, const PageText& b) { return a.At.Y < b.At.Y; });
            ASSERT_GE(left.size(), 2u);
            std::string warning;
            for (std::size_t i = 2; i < left.size(); ++i) {
                warning += (warning.empty() ? "" : " ") + left[i].Text;
                EXPECT_LE(TextWidth(left[i].Text, left[i].HeightMm),
                          row.paperWidth - 2 * kPaperMarginMm);
                EXPECT_LE(left[i].At.Y + left[i].HeightMm, barTop);
                EXPECT_GE(left[i].At.Y - left[i].HeightMm, left[i - 1].At.Y);
            }
            EXPECT_EQ(warning, row.warning);
        }
        if (pages.Warning.empty()) {
            EXPECT_EQ(pages.TileHeight, kA4Height - 2 * kPaperMarginMm - kFooterHeightMm);
        }
    }
}

// The first line of the foot names the design and what is drawn; a long name is cut with an
// ellipsis between characters so that the line stays on the paper.
TEST_F(OverlayLayoutTest, FootKeepsALongNameWithinThePage) {
    std::string umlauts; // 300 characters, every fifth of them two bytes long
    for (int i = 0; i < 60; ++i) {
        umlauts += "D\u00fcse ";
    }
    const struct {
        const char* name;
        std::string designName;
        double paperWidth;
        bool cut;
    } rows[] = {
        {"short name", "Ziehstein \u00d8 0,45", kA4Width, false},
        {"300 characters, some multi-byte", umlauts, kA4Width, true},
        {"the same on the narrowest page", umlauts, 120, true},
        {"300 of the widest letter", std::string(300, 'W'), kA4Width, true},
    };
    UseDefaultProfile();
    model.Command1_Click();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const OverlayPages pages = LayOut(model, {20, 0.001, OverlayView::Bore}, row.paperWidth,
                                          kA4Height, row.designName);
        const std::string& line = pages.FooterTexts[0].Text;
        const double printable = row.paperWidth - 2 * kPaperMarginMm;
        EXPECT_LE(TextWidth(line, kOverlayTextMm), printable);
        EXPECT_TRUE(IsUtf8(line));
        const std::size_t rest = line.find("    magnification 20\u00d7");
        ASSERT_NE(rest, std::string::npos);
        const std::string name = line.substr(0, rest);
        if (!row.cut) {
            EXPECT_EQ(name, row.designName);
            continue;
        }
        const std::string ellipsis = "\u2026";
        ASSERT_GT(name.size(), ellipsis.size());
        ASSERT_EQ(name.substr(name.size() - ellipsis.size()), ellipsis);
        const std::string kept = name.substr(0, name.size() - ellipsis.size());
        EXPECT_EQ(row.designName.rfind(kept, 0), 0u);
        // As much of the name as fits: one more character would run off the page.
        const std::string more = row.designName.substr(
            0, kept.size() + Utf8SequenceLength(row.designName.substr(kept.size())));
        EXPECT_GT(TextWidth(more + ellipsis + line.substr(rest), kOverlayTextMm), printable);
    }
}

// The printed paper: each tile's lines cut at its edges and moved inside the margins, the foot
// and the page's label.
TEST_F(OverlayLayoutTest, PaperHoldsEachTileWithinItsMargins) {
    model.PickRow(14);
    model.Command1_Click();
    const OverlayPages pages = LayOut(model, {200, 0.001, OverlayView::Bore});
    const std::vector<Page> paper = OverlayPaper(pages);
    ASSERT_EQ(paper.size(), pages.Pages.size());
    for (std::size_t i = 0; i < paper.size(); ++i) {
        const Page& page = paper[i];
        EXPECT_EQ(page.WidthMm, kA4Width);
        EXPECT_EQ(page.HeightMm, kA4Height);
        ASSERT_EQ(page.Lines.size(), pages.Pages[i].Lines.size() + pages.FooterLines.size());
        for (std::size_t j = 0; j < pages.Pages[i].Lines.size(); ++j) {
            for (const Point p : {page.Lines[j].Start, page.Lines[j].End}) {
                EXPECT_GE(p.X, kPaperMarginMm - 1e-9);
                EXPECT_LE(p.X, kPaperMarginMm + pages.TileWidth + 1e-9);
                EXPECT_GE(p.Y, kPaperMarginMm - 1e-9);
                EXPECT_LE(p.Y, kPaperMarginMm + pages.TileHeight + 1e-9);
            }
        }
        EXPECT_EQ(page.Texts.back().Text, pages.Pages[i].Label);
        EXPECT_EQ(page.Texts.back().Align, TextAlign::Right);
    }
    EXPECT_EQ(PageCountText(1), "1 page");
    EXPECT_EQ(PageCountText(paper.size()), std::to_string(paper.size()) + " pages");
}

TEST_F(OverlayLayoutTest, RefusesWhatCannotBePrinted) {
    model.PickRow(14);
    model.Command1_Click();
    const auto lay = [&](double magnification, double width, double height,
                         OverlayOrientation orientation = OverlayOrientation::Portrait) {
        OverlayOptions options{magnification, 0, OverlayView::Section};
        options.Orientation = orientation;
        const auto laidOut =
            LayOutOverlay(model.LastCalculation()->Frame, model.Scene(),
                          model.LastCalculation()->UnitDivisor, options, "", width, height);
        return !laidOut.HasValue() ? laidOut.Error().Message : std::string();
    };
    EXPECT_EQ(lay(200, kA4Width, kA4Height), "");
    EXPECT_EQ(lay(1000, kA4Width, kA4Height).rfind("At 1000x the overlay would need ", 0), 0u);
    const std::string tooSmall = "The page is too small for an overlay: its printable area must "
                                 "be at least 100 mm by 79 mm.";
    EXPECT_EQ(lay(10, 119, kA4Height), tooSmall);
    EXPECT_EQ(lay(10, kA4Width, 98, OverlayOrientation::Landscape), tooSmall);
    EXPECT_EQ(lay(10, 99, 120, OverlayOrientation::Landscape), "");
    // Too narrow upright, the page is turned rather than refused.
    EXPECT_EQ(lay(10, 119, kA4Height, OverlayOrientation::Auto), "");
    EXPECT_EQ(lay(0, kA4Width, kA4Height), "The magnification must be from 1 to 1000.");
}

// Every corner of the bore has its datum, its name above the line and its height above the bottom
// face below it, the line that height times the magnification above the bottom face's; each zone
// its nominal value at the left; with an angle tolerance, each cone the two lines at its angle's
// limits, crossing halfway along its zone, each labelled.
TEST_F(OverlayLayoutTest, DatumsNominalValuesAndAngleLimits) {
    const struct {
        bool millimetres;
        bool mirror;
        std::vector<std::string> right; // datums, then the limits' angles
        std::vector<std::string> left;
    } rows[] = {
        {false,
         false,
         {"top face", "0.1800", "bell to cone", "0.1260", "bearing start", "0.0420", "bearing end",
          "0.0360", "bottom face", "0.0000", "51\u00B0", "49\u00B0", "26\u00B0", "24\u00B0",
          "51\u00B0", "49\u00B0"},
         {"50\u00B0", "25\u00B0", "\u00D80.0120", "50\u00B0"}},
        {true,
         true,
         {"top face", "4.572", "bell to cone", "3.200", "bearing start", "1.067", "bearing end",
          "0.914", "bottom face", "0.000", "51\u00B0", "49\u00B0", "26\u00B0", "24\u00B0",
          "51\u00B0", "49\u00B0"},
         {"50\u00B0", "25\u00B0", "\u00D80.305", "50\u00B0"}},
    };
    for (const auto& row : rows) {
        UseDefaultProfile(row.millimetres);
        model.Command1_Click();
        OverlayOptions options{50, 0, OverlayView::Bore};
        options.Mirror = row.mirror;
        options.AngleTolerance = 1;
        const OverlayPages pages = LayOut(model, options);
        const BoreWall wall =
            BoreWallOf(model.LastCalculation()->Frame, model.Scene(), BoreSide::Right);
        const double k = 50 * model.LastCalculation()->UnitDivisor;
        std::vector<double> datumY;
        std::vector<PaperLine> limits;
        for (const PaperLine& line : pages.Lines) {
            if (line.Stroke == OverlayStroke::Datum) {
                datumY.push_back(line.Start.Y);
            } else if (line.Stroke == OverlayStroke::Band) {
                limits.push_back(line);
            }
        }
        std::vector<std::string> right;
        std::vector<std::string> left;
        std::vector<double> baselines; // of the texts at the right
        for (const PageText& text : pages.Texts) {
            (text.At.X < ProfileExtent(pages).MinX ? left : right).push_back(text.Text);
            if (text.At.X >= ProfileExtent(pages).MinX) {
                baselines.push_back(text.At.Y);
            }
        }
        EXPECT_EQ(right, row.right);
        EXPECT_EQ(left, row.left);
        ASSERT_EQ(datumY.size(), 5U);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(std::fabs(datumY[i] - datumY[4]), (wall[i].Y - wall.back().Y) * k, 1e-9);
            // The name above its line, the height below it.
            EXPECT_LT(baselines[2 * i], datumY[i]);
            EXPECT_GT(baselines[2 * i + 1] - kOverlayTextMm, datumY[i]);
        }
        EXPECT_EQ(datumY[0] > datumY[4], row.mirror); // mirrored: the entry face at the bottom
        const double angles[] = {51, 49, 26, 24, 51, 49};
        ASSERT_EQ(limits.size(), 6U);
        const auto middle = [](const PaperLine& l) {
            return Point{(l.Start.X + l.End.X) / 2, (l.Start.Y + l.End.Y) / 2};
        };
        for (std::size_t i = 0; i < limits.size(); ++i) {
            const Point d = limits[i].End - limits[i].Start;
            // The bore's geometry takes pi as 3.14159: its angles are a few millionths off.
            EXPECT_NEAR(2 * std::atan2(std::fabs(d.X), std::fabs(d.Y)) * 180 / std::numbers::pi,
                        angles[i], 1e-4);
            EXPECT_NEAR(middle(limits[i]).Y, middle(limits[i ^ 1]).Y, 1e-9);
            EXPECT_NEAR(middle(limits[i]).X, middle(limits[i ^ 1]).X, 1e-9);
        }
    }
}

// Auto turns the paper only when that prints fewer pages; asked, either way is taken.
TEST_F(OverlayLayoutTest, LandscapeWhenItPrintsFewerPages) {
    // A 4 x 2.3 mm section at 50x is 200 x 115 mm: one page across, two down a portrait page.
    for (const auto& [diameter, height, landscapeFewer] :
         {std::tuple{"4", "2.3", true}, std::tuple{"2.3", "4", false}}) {
        UseDefaultProfile(true);
        Type(10, diameter);
        Type(5, height);
        model.Command1_Click();
        std::vector<OverlayPages> pages; // portrait, landscape, auto
        for (const OverlayOrientation orientation :
             {OverlayOrientation::Portrait, OverlayOrientation::Landscape,
              OverlayOrientation::Auto}) {
            OverlayOptions options{50, 0, OverlayView::Section};
            options.Orientation = orientation;
            pages.push_back(*LayOutOverlay(model.LastCalculation()->Frame, model.Scene(),
                                           model.LastCalculation()->UnitDivisor, options, "d",
                                           kA4Width, kA4Height));
        }
        EXPECT_EQ(pages[1].Pages.size() < pages[0].Pages.size(), landscapeFewer);
        EXPECT_EQ(pages[2].PaperWidth, landscapeFewer ? kA4Height : kA4Width);
        EXPECT_EQ(pages[2].Pages.size(), std::min(pages[0].Pages.size(), pages[1].Pages.size()));
    }
}

TEST(OverlayOptionsTest, AngleToleranceOrientationAndTheChartsFileName) {
    const auto angle = [](const char* text) {
        const auto parsed = ParseOverlayOptions("50", "", OverlayView::Bore, text);
        return !parsed.HasValue() ? parsed.Error().Message : NumberToText(parsed->AngleTolerance);
    };
    EXPECT_EQ(angle(" 1.5 "), "1.5");
    EXPECT_EQ(angle(""), "0");
    EXPECT_EQ(angle("45.01"), "The angle tolerance must be from 0 to 45 degrees.");
    EXPECT_EQ(angle("one"), "The angle tolerance must be a number.");
    EXPECT_EQ(OverlayOrientationNamed("landscape"), OverlayOrientation::Landscape);
    EXPECT_FALSE(OverlayOrientationNamed("Landscape"));
    EXPECT_EQ(ChartPdfName("steel.die.dieprofile", 12.5), "steel.die-chart-12.5x.pdf");
    EXPECT_EQ(ChartPdfName("", 100), "die-profile-chart-100x.pdf");
}

} // namespace
} // namespace dieprofile::testing
