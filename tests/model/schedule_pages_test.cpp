// The set's schedule laid out as pages without the window: the table of passes broken over pages,
// the date the request gives, and the colours a page carries into its dump.
#include "app/page_dump.h"
#include "core/units.h"
#include "die_set_fixture.h"
#include "dieset/schedule_pages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace dieprofile {
namespace {

using testing::CopperSet;

// The pass column's cells of the table pages: each pass's number, starred when its die has values
// of its own, stands at the right edge of the first column.
std::map<std::string, int> PassCells(const std::vector<Page>& pages) {
    std::map<std::string, int> seen;
    for (std::size_t i = 1; i < pages.size(); ++i) {
        double firstRight = 1e9;
        for (const PageText& text : pages[i].Texts) {
            if (text.Align == TextAlign::Right && !text.Bold) {
                firstRight = std::min(firstRight, text.At.X);
            }
        }
        for (const PageText& text : pages[i].Texts) {
            if (text.Align == TextAlign::Right && !text.Bold && text.At.X == firstRight) {
                ++seen[text.Text];
            }
        }
    }
    return seen;
}

// A page break that drops or repeats a row, or a page headed with another day than the
// request's, is caught on a set of many passes on the smallest paper and a few on the largest.
TEST(SchedulePagesTest, EveryPassIsInTheTableOnceAndEveryPageCarriesTheRequestsDate) {
    struct Case {
        std::string Dies;
        Paper SheetPaper;
        std::size_t LeastPages; // the overview and the table's pages: more than one of those
                                // for a long set
    };
    for (const Case& c :
         {Case{"6", Paper::A3, 2}, Case{"45", Paper::A4, 3}, Case{"100", Paper::Letter, 3}}) {
        DieSetFile set = CopperSet();
        set.Dies = c.Dies;
        set.Overrides = {{"2", {std::nullopt, "60"}}};
        const auto schedule = *ComputeDieSet(set);
        const std::vector<Page> pages =
            SchedulePages(set, schedule, {0.6, "copper.dieset", c.SheetPaper, "1999-12-31"});
        ASSERT_GE(pages.size(), c.LeastPages) << c.Dies;
        std::map<std::string, int> expected;
        for (const DieSetPass& pass : schedule.Passes) {
            expected[std::to_string(pass.Pass) + (pass.Pass == 2 ? "*" : "")] = 1;
        }
        EXPECT_EQ(PassCells(pages), expected) << c.Dies;
        for (const Page& page : pages) {
            const std::string heading = c.Dies + " passes, 2.0 to 1.0 mm   1999-12-31";
            EXPECT_TRUE(std::ranges::any_of(page.Texts, [&](const PageText& text) {
                return text.Text == heading;
            })) << c.Dies;
        }
        // The note of the pass with a die of its own stands under the page that has its row.
        std::size_t notes = 0;
        for (const Page& page : pages) {
            notes += static_cast<std::size_t>(std::ranges::count_if(page.Texts, [](const auto& t) {
                return t.Text == "2* die of its own: Bearing Length (%) 60";
            }));
        }
        EXPECT_EQ(notes, 1U) << c.Dies;
    }
}

// A row above the caution level is tinted on paper as in the window, and the dump says so; black
// items write no colour, so that the dumps of the drawing's pages stay as they were.
TEST(SchedulePagesTest, ACautionedRowIsTintedAndTheDumpNamesOnlyColouredItems) {
    const auto schedule = *ComputeDieSet(CopperSet());
    const std::vector<Page> pages = SchedulePages(CopperSet(), schedule, {0.4, "", Paper::A4, ""});
    const PageColour caution = MarkTint(PassMark::Caution);
    const auto tinted = std::ranges::count_if(
        pages.at(1).Outlines, [&](const PageOutline& o) { return o.Colour == caution; });
    std::size_t above = 0;
    for (const DieSetPass& pass : schedule.Passes) {
        above += pass.StressRatio > 0.4 ? 1 : 0;
    }
    EXPECT_GT(above, 0U);
    EXPECT_EQ(static_cast<std::size_t>(tinted), above);

    Page page{100, 50, {}, {}, {}};
    page.Lines.push_back({{0, 0}, {1, 1}, 0.25, LineType::Continuous});
    page.Outlines.push_back({{{0, 0}, {1, 0}, {1, 1}}, true, 0, caution});
    page.Texts.push_back({{1, 2}, "a", 2, TextAlign::Left, 0, false, false, 0x2b6cb0});
    EXPECT_EQ(DumpPages({page}), "begin pages 1\n"
                                 "page 1 100 50\n"
                                 "line 0 0 1 1 0.25 continuous\n"
                                 "outline filled 0 0 0 1 0 1 1\n"
                                 "colour FBE3A8\n"
                                 "text 1 2 2 left 0 regular \"a\"\n"
                                 "colour 2B6CB0\n"
                                 "end pages\n");
}

// The marks column's words, in the window as on paper: a wire that breaks is not also cautioned,
// the bell is named beside the break, and a die the window refuses is not calculated.
TEST(SchedulePagesTest, RowsAreMarkedWhereTheWireBreaksTouchesTheBellOrTheDieIsNotCalculated) {
    const struct {
        const char* Name;
        const char* Dies;
        const char* Angle;
        const char* Marks; // of every pass, apart by '|'
    } rows[] = {
        {"copper in six equal passes is sound", "6", "16", "|||||"},
        {"the rod halved in one pass breaks, resting on the bell", "1", "16", "breaks, bell"},
        {"a die whose angle is no number", "2", "16x", "not calculated|not calculated"},
    };
    for (const auto& row : rows) {
        DieSetFile set = CopperSet();
        set.Dies = row.Dies;
        set.DieFieldTexts[0] = row.Angle;
        const auto schedule = *ComputeDieSet(set);
        std::string marks;
        for (const DieSetPass& pass : schedule.Passes) {
            marks += (pass.Pass == 1 ? "" : "|") + MarkWords(pass, 0.6);
        }
        EXPECT_EQ(marks, row.Marks) << row.Name;
    }
}

// A heading set wider than its figures, or a unit run into the words, would widen every column of
// the table on the window and on paper.
TEST(SchedulePagesTest, HeadingsBreakAtWordsUpToTenCharactersWithTheUnitOnALineOfItsOwn) {
    const std::map<std::string_view, std::vector<std::string>> expected{
        {"pass", {"Pass"}},
        {"area_reduction_percent", {"Area", "reduction", "(%)"}},
        {"half_angle_deg", {"Half angle", "(°)"}},
        {"meeting_point_above_bearing", {"Meeting", "point", "above", "bearing", "(in)"}},
        {"stress_ratio", {"Stress", "ratio"}},
        {"temperature_rise_K", {"Temperature", "rise", "(K)"}},
    };
    for (const PassColumn& column : PassColumns()) {
        if (const auto found = expected.find(column.CsvName); found != expected.end()) {
            EXPECT_EQ(PassColumnHeadingLines(column, kInchUnitDivisor), found->second)
                << column.CsvName;
        }
    }
}

// A pass that could not be computed has no figure to plot: a bar or a dot at a coordinate that is
// not a number would reach the PDF's painter. The line of the ratio breaks around it.
TEST(SchedulePagesTest, ThePlotLeavesOutFiguresThatAreNotFinite) {
    const double none = std::nan("");
    SetPlotData data{{10, none, 12}, {0.3, none, 0.5}, {20, none, 30}, 0.4};
    Page page{200, 150, {}, {}, {}};
    LayOutSetPlot(page, {10, 10, 180, 130}, data, 2.8);
    const auto finite = [](Point p) { return std::isfinite(p.X) && std::isfinite(p.Y); };
    for (const PageLine& line : page.Lines) {
        EXPECT_TRUE(finite(line.Start) && finite(line.End));
    }
    for (const PageOutline& outline : page.Outlines) {
        EXPECT_TRUE(std::ranges::all_of(outline.Corners, finite));
    }
    // Two bars in each of two charts, two dots, and the legend's box and three strokes.
    EXPECT_EQ(page.Outlines.size(), 4U + 2U + 4U);
    EXPECT_EQ(
        std::ranges::count_if(page.Lines, [](const PageLine& l) { return l.Colour == 0x202020; }),
        0);
}

} // namespace
} // namespace dieprofile
