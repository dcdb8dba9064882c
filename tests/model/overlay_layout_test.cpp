#include "model_fixture.h"
#include "output/overlay_layout.h"

#include <cmath>
#include <string>
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
            ASSERT_TRUE(std::holds_alternative<OverlayOptions>(parsed));
            const OverlayOptions& options = std::get<OverlayOptions>(parsed);
            EXPECT_EQ(options.Magnification, row.m);
            EXPECT_EQ(options.Tolerance, row.t);
            EXPECT_EQ(options.View, OverlayView::Section);
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
            EXPECT_EQ(std::get<std::string>(parsed), row.problem);
        }
    }
    // Options built in code are checked the same way, a NaN included.
    EXPECT_TRUE(CheckOverlayOptions({std::nan(""), 0, OverlayView::Bore}));
    EXPECT_TRUE(CheckOverlayOptions({50, std::nan(""), OverlayView::Bore}));
    EXPECT_FALSE(CheckOverlayOptions({}));
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
        EXPECT_NEAR(band[0].Y, 3, 1e-12); // on the top face
        EXPECT_NEAR(band[2].Y, 0, 1e-12); // on the bottom face
        // Every piece of the band is its offset from its own piece of the wall.
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_NEAR(Offset(band[i], wall[i], wall[i + 1]), d, 1e-12) << i;
            EXPECT_NEAR(Offset(band[i + 1], wall[i], wall[i + 1]), d, 1e-12) << i;
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

using OverlayLayoutTest = ModelTest;

struct Extent {
    double Width = 0;
    double Height = 0;
};

Extent ProfileExtent(const OverlayPages& pages) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const PaperLine& line : pages.Lines) {
        if (line.Stroke == OverlayStroke::Profile || line.Stroke == OverlayStroke::Band) {
            for (const Point& p : {line.Start, line.End}) {
                minX = std::min(minX, p.X);
                maxX = std::max(maxX, p.X);
                minY = std::min(minY, p.Y);
                maxY = std::max(maxY, p.Y);
            }
        }
    }
    return {maxX - minX, maxY - minY};
}

bool OnPage(const OverlayPages& pages, const OverlayPage& page, Point p) {
    return p.X >= page.Origin.X && p.X <= page.Origin.X + pages.TileWidth && p.Y >= page.Origin.Y &&
           p.Y <= page.Origin.Y + pages.TileHeight;
}

TEST_F(OverlayLayoutTest, PagesTileTheSheetWithOverlapAndEveryLineReachesItsPages) {
    const struct {
        const char* name;
        int row;
        double magnification;
        OverlayView view;
        double tolerance;
    } rows[] = {
        {"small blank fits one page", 15, 10, OverlayView::Section, 0},
        {"default bore at 50x", 26, 50, OverlayView::Bore, 0.0005},
        {"largest blank, whole section at 200x", 14, 200, OverlayView::Section, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.PickRow(row.row);
        if (row.row == 26) {
            UseDefaultProfile();
        }
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation);
        const double printableW = 190;
        const double printableH = 277;
        const auto laidOut = LayOutOverlay(
            model.LastCalculation->Frame, model.Scene, model.LastCalculation->UnitDivisor,
            {row.magnification, row.tolerance, row.view}, "d", printableW, printableH);
        ASSERT_TRUE(std::holds_alternative<OverlayPages>(laidOut))
            << std::get<std::string>(laidOut);
        const OverlayPages& pages = std::get<OverlayPages>(laidOut);
        const double tileH = printableH - kFooterHeightMm;
        EXPECT_EQ(pages.TileWidth, printableW);
        EXPECT_EQ(pages.TileHeight, tileH);

        // As few pages as hold the profile and its margins, a tile less the overlap apart.
        const Extent extent = ProfileExtent(pages);
        const double stepX = printableW - kPageOverlapMm;
        const double stepY = tileH - kPageOverlapMm;
        EXPECT_GE(pages.Columns * stepX + kPageOverlapMm, extent.Width + 2 * kSheetMarginMm);
        EXPECT_LT((pages.Columns - 1) * stepX + kPageOverlapMm,
                  std::max(extent.Width + 2 * kSheetMarginMm, printableW - 1e-9));
        EXPECT_GE(pages.Rows * stepY + kPageOverlapMm, extent.Height + 2 * kSheetMarginMm);
        ASSERT_EQ(pages.Pages.size(), static_cast<std::size_t>(pages.Rows * pages.Columns));
        for (const OverlayPage& page : pages.Pages) {
            EXPECT_EQ(page.Origin.X, (page.Column - 1) * stepX);
            EXPECT_EQ(page.Origin.Y, (page.Row - 1) * stepY);
            EXPECT_EQ(page.Label, "row " + std::to_string(page.Row) + ", column " +
                                      std::to_string(page.Column) + " of " +
                                      std::to_string(pages.Rows) + " \u00d7 " +
                                      std::to_string(pages.Columns));
        }
        // Every end of every line lies on a page that draws that line; every mark on two pages.
        for (std::size_t i = 0; i < pages.Lines.size(); ++i) {
            const PaperLine& line = pages.Lines[i];
            for (const Point& end : {line.Start, line.End}) {
                int holders = 0;
                for (const OverlayPage& page : pages.Pages) {
                    if (OnPage(pages, page, end)) {
                        EXPECT_TRUE(std::find(page.Lines.begin(), page.Lines.end(), i) !=
                                    page.Lines.end());
                        ++holders;
                    }
                }
                EXPECT_GE(holders, line.Stroke == OverlayStroke::Mark ? 2 : 1) << i;
            }
        }
    }
}

TEST_F(OverlayLayoutTest, LengthsOnPaperAreTheDieTimesTheMagnification) {
    UseDefaultProfile(); // inches
    model.Command1_Click();
    const ProfileState& s = model.State;
    const auto laidOut =
        LayOutOverlay(model.LastCalculation->Frame, model.Scene, model.LastCalculation->UnitDivisor,
                      {20, 0.001, OverlayView::Bore}, "", 190, 277);
    ASSERT_TRUE(std::holds_alternative<OverlayPages>(laidOut));
    const OverlayPages& pages = std::get<OverlayPages>(laidOut);
    const double k = 20 * 25.4;
    // The bearing: the only two vertical profile lines, a bearing long and an outlet apart.
    std::vector<PaperLine> bearing;
    for (const PaperLine& line : pages.Lines) {
        if (line.Stroke == OverlayStroke::Profile && line.Start.X == line.End.X) {
            bearing.push_back(line);
        }
    }
    ASSERT_EQ(bearing.size(), 2u);
    EXPECT_NEAR(std::fabs(bearing[0].End.Y - bearing[0].Start.Y), s.BearingLength * k, 1e-3);
    EXPECT_NEAR(std::fabs(bearing[1].Start.X - bearing[0].Start.X), s.OutletDiameter * k, 1e-3);
    EXPECT_NEAR(ProfileExtent(pages).Height, s.DiamondHeight * k, 1e-3);
    EXPECT_EQ(pages.CheckBarMm, 50.8);
    EXPECT_EQ(pages.Statement, "this bar is 2 in long");
    EXPECT_EQ(pages.Info, "magnification 20\u00d7    lengths in inches    tolerance band "
                          "\u00b10.001 in");
}

TEST_F(OverlayLayoutTest, RefusesWhatCannotBePrinted) {
    model.PickRow(14);
    model.Command1_Click();
    const auto lay = [&](double magnification, double width, double height) {
        const auto laidOut = LayOutOverlay(
            model.LastCalculation->Frame, model.Scene, model.LastCalculation->UnitDivisor,
            {magnification, 0, OverlayView::Section}, "", width, height);
        return std::holds_alternative<std::string>(laidOut) ? std::get<std::string>(laidOut)
                                                            : std::string();
    };
    EXPECT_EQ(lay(200, 190, 277), "");
    EXPECT_EQ(lay(1000, 190, 277).rfind("At 1000x the overlay would need ", 0), 0u);
    EXPECT_EQ(lay(10, 90, 277), "The page is too small for an overlay: its printable area must "
                                "be at least 100 mm by 54 mm.");
    EXPECT_EQ(lay(0, 190, 277), "The magnification must be from 1 to 1000.");
}

} // namespace
} // namespace dieprofile::testing
