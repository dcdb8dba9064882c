// The one Calculate against the window it serves: a design calculated on its own gives the
// drawing, the warning and the refusal that opening it in the window gives, so the die set and
// every other caller see what the user would.
#include "catalogue/catalogue.h"
#include "dieset/design_die.h"
#include "model_fixture.h"

#include <string>
#include <utility>
#include <vector>

namespace dieprofile::testing {
namespace {

struct DesignCase {
    const char* Name;
    std::string Unit;
    std::string Blank;                                       // empty: the custom blank
    std::vector<std::pair<std::size_t, std::string>> Fields; // kDesignFields position, text
};

Design DesignOf(const DesignCase& c) {
    // The window's own profile on a custom blank of 0.180 x 0.180 inch.
    Design design{"in",
                  c.Blank.empty() ? std::string(kCustomBlankRow) : c.Blank,
                  {"0.012", "0.022", "12", "50", "30", "60", "20", "60", "0.180", "0.180"},
                  {}};
    if (!c.Unit.empty()) {
        design.Unit = c.Unit;
    }
    for (const auto& [position, text] : c.Fields) {
        design.FieldTexts.at(position) = text;
    }
    return design;
}

TEST(DieCalculationTest, ADesignCalculatesAsTheWindowOpeningItDoes) {
    const DesignCase cases[] = {
        {"the window's profile", "", "", {}},
        {"millimetres on a catalogue blank",
         "mm",
         std::string(CatalogueRows()[3]),
         {{0, "0.3"}, {1, "0.5"}}},
        {"a catalogue blank ignores the design's diamond texts",
         "",
         std::string(CatalogueRows()[0]),
         {{8, "x"}, {9, "y"}}},
        {"the wire on the bell is warned about and drawn", "", "", {{1, "0.05"}}},
        {"outlet not a number", "", "", {{0, "a"}}},
        {"outlet not below incoming", "", "", {{0, "0.03"}}},
        {"the first bad field in the order read", "", "", {{2, "x"}, {3, "y"}, {4, "z"}}},
        {"a zero diamond", "", "", {{8, "-0"}}},
        {"a wire too large to draw", "", "", {{0, "1e300"}, {1, "1e301"}}},
        {"a blank not in the catalogue", "", "Q99 no such blank", {}},
    };
    for (const DesignCase& c : cases) {
        const Design design = DesignOf(c);
        HeadlessToolkit toolkit;
        Form1Model window(toolkit);
        window.Form_Load();
        const Expected<void> opened = window.ApplyDesign(design);

        const Expected<Calculation, CalculateRefusal> done = CalculateDesign(design);
        if (!done) {
            const std::string shown =
                !opened ? opened.Error().Message
                        : (toolkit.Messages.empty() ? "" : toolkit.Messages.back());
            EXPECT_EQ(done.Error().Message, shown) << c.Name;
            EXPECT_FALSE(window.LastCalculation()) << c.Name;
            continue;
        }
        ASSERT_TRUE(opened) << c.Name;
        ASSERT_TRUE(window.LastCalculation()) << c.Name;
        EXPECT_EQ(done->Drawing, *window.LastCalculation()) << c.Name;
        EXPECT_EQ(done->Drawing.Scene, window.Scene()) << c.Name;
        EXPECT_EQ(done->BellContact,
                  toolkit.Messages == std::vector<std::string>{std::string(kBellContactWarning)})
            << c.Name;
    }
}

// The window calculates over its own last drawing: a wire meeting neither bell nor cone keeps
// the height it had. Calculating over a window just loaded must not borrow a height from an
// earlier die, and over the window's drawing must give what the window shows.
TEST(DieCalculationTest, TheStartIsWhatTheDrawingBuildsOn) {
    HeadlessToolkit toolkit;
    Form1Model window(toolkit);
    window.Form_Load();
    Design first = DesignOf({"", "", "", {}});
    ASSERT_TRUE(window.ApplyDesign(first));
    const CalculationStart before{window.State(), window.Scene()};
    // A wire wider than the bell's mouth meets neither wall and keeps its lower end.
    Design second = DesignOf({"", "", "", {{1, "0.17"}}});
    ASSERT_TRUE(window.ApplyDesign(second));
    ASSERT_TRUE(window.LastCalculation());

    const Expected<TypedDie> typed = TypedDieOf(second);
    ASSERT_TRUE(typed);
    const auto over = Calculate(*typed, before);
    ASSERT_TRUE(over);
    EXPECT_EQ(over->Drawing, *window.LastCalculation());
    const auto fresh = Calculate(*typed);
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh->Drawing.Scene, over->Drawing.Scene);
}

} // namespace
} // namespace dieprofile::testing
