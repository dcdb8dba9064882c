// What the window does with input that is wrong, extreme or not a number at all: every refusal
// says why in the words of the field, and leaves the window as it was, apart from the focus and
// the selection of the field it puts the focus on; a Calculate that goes through leaves only
// numbers behind. Also the regressions found by fuzzing the window model.
#include "core/number_text.h"
#include "model_fixture.h"

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace dieprofile::testing {
namespace {

constexpr const char* kCannotCalculate = "The profile cannot be calculated with these values.";
constexpr const char* kOutletNotLess = "Outlet Diameter must be less than Incoming Diameter.";
constexpr const char* kDiameterZero = "Diamond Diameter must not be zero.";

// Every field Calculate reads, with the words its messages use.
const std::vector<std::pair<int, std::string>>& FieldCaptions() {
    static const std::vector<std::pair<int, std::string>> kCaptions{
        {0, "Outlet Wire Diameter"},          {1, "Incoming Wire Diameter"},
        {2, "Reduction Angle (degrees)"},     {3, "Bearing Length (%)"},
        {4, "Entrance Length (% of Height)"}, {5, "Diamond Height"},
        {6, "Exit Length (% of Height)"},     {7, "Exit Angle (degrees)"},
        {8, "Entrance Angle (degrees)"},      {10, "Diamond Diameter"},
    };
    return kCaptions;
}

class HardeningTest : public ModelTest {
protected:
    // The default profile on the custom blank, so that every field is shown and typed.
    HardeningTest() { UseDefaultProfile(); }

    void Calculate() { model.Command1_Click(); }

    // Puts a one-character selection in every field, unlike any a refusal makes, so that a
    // refusal that touched another field's selection shows.
    void SelectInEveryField() {
        for (int index : kText1Indices) {
            model.SetSelection(Text1Control(index), 1, 1);
        }
    }

    // Runs an action that must be refused with exactly this message, and checks that it changed
    // nothing apart from the focus and the selection of the field the focus went to.
    void ExpectRefused(const std::function<void()>& action, const std::string& message) {
        SelectInEveryField();
        std::array<std::pair<int, int>, 11> selections{};
        for (int index : kText1Indices) {
            selections.at(static_cast<std::size_t>(index)) = {model.Text1(index).SelStart,
                                                              model.Text1(index).SelLength};
        }
        toolkit.Messages.clear();
        const std::string before = DumpIgnoringFocus();
        action();
        EXPECT_EQ(toolkit.Messages, std::vector<std::string>{message});
        EXPECT_EQ(DumpIgnoringFocus(), before);
        for (int index : kText1Indices) {
            if (Text1Control(index) != model.Focus()) {
                SCOPED_TRACE("selection of Text1(" + std::to_string(index) + ")");
                const auto [start, length] = selections.at(static_cast<std::size_t>(index));
                EXPECT_EQ(model.Text1(index).SelStart, start);
                EXPECT_EQ(model.Text1(index).SelLength, length);
            }
        }
    }

    void ExpectEveryLabelAndResultIsANumber() {
        for (const LabelDesign& design : SceneLabels()) {
            SCOPED_TRACE(std::string(design.Name));
            EXPECT_TRUE(ParseNumber((model.Scene().*design.Member).Caption).has_value());
        }
        EXPECT_TRUE(ParseNumber(model.Text2().Text).has_value());
        EXPECT_TRUE(ParseNumber(model.Text3().Text).has_value());
    }
};

TEST_F(HardeningTest, EveryFieldRefusesTextsThatAreNotNumbers) {
    // Blanks, words a C library would read, a decimal comma, hexadecimal, an Arabic-Indic three,
    // control characters, a dangling exponent and a thousand digits with a unit after them.
    const std::vector<std::string> texts{"",
                                         " ",
                                         "nan",
                                         "inf",
                                         "-inf",
                                         "1,5",
                                         "0x10",
                                         "\xd9\xa3",
                                         "\t1",
                                         "1\n",
                                         "\x01",
                                         "1e",
                                         "--1",
                                         "1.2.3",
                                         std::string(1000, '7') + "mm",
                                         std::string("1\0", 2)};
    for (const auto& [index, caption] : FieldCaptions()) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::string(caption).append(": \"").append(text).append("\""));
            const std::string good = model.Text1(index).Text;
            Type(index, text);
            ExpectRefused([&] { Calculate(); }, caption + " must be a number.");
            EXPECT_EQ(model.Focus(), Text1Control(index));
            // The focused field's text is selected from its start, six characters at most.
            EXPECT_EQ(model.Text1(index).SelStart, 0);
            EXPECT_EQ(model.Text1(index).SelLength,
                      text == "\xd9\xa3" ? 1 : std::min<int>(6, static_cast<int>(text.size())));
            Type(index, good);
        }
    }
}

TEST_F(HardeningTest, NumbersAtTheEdgesOfTheGrammarAreRead) {
    Type(7, "-0");
    Type(3, " 50 ");
    Type(6, "2e1");
    Type(8, "+50.");
    Type(2, ".25e2");
    Calculate();
    EXPECT_TRUE(toolkit.Messages.empty());
    EXPECT_EQ(model.State().ExitAngle, 0);
    EXPECT_DOUBLE_EQ(model.State().BearingLength, 0.006);
    EXPECT_DOUBLE_EQ(model.State().ExitLength, 0.036);
    EXPECT_EQ(model.State().EntranceAngle, 50);
    EXPECT_EQ(model.State().ReductionAngle, 25);
}

TEST_F(HardeningTest, ZeroDiamondDiameterIsRefusedHoweverWritten) {
    Calculate();
    for (const char* zero : {"0", "-0", "0.000", "0e5", " 0 ", "-0.0E-3"}) {
        SCOPED_TRACE(zero);
        Type(10, zero);
        ExpectRefused([&] { Calculate(); }, kDiameterZero);
        EXPECT_EQ(model.Focus(), ControlId::Text1_10);
    }
}

TEST_F(HardeningTest, OutletNotBelowIncomingIsRefused) {
    Calculate();
    const std::vector<std::pair<const char*, const char*>> pairs{
        {"0.022", "0.022"}, {"0.03", "0.022"}, {"-0", "0"}, {"1e308", "-1e308"}, {"5e-324", "0"}};
    for (const auto& [outlet, incoming] : pairs) {
        SCOPED_TRACE(std::string(outlet) + " / " + incoming);
        Type(0, outlet);
        Type(1, incoming);
        ExpectRefused([&] { Calculate(); }, kOutletNotLess);
        EXPECT_EQ(model.Focus(), ControlId::Text1_0);
    }
}

// A profile whose numbers all read, but whose drawing or figures would not be finite.
struct Undrawable {
    const char* Name;
    int Field;
    const char* Text;
};

class UndrawableProfileTest : public HardeningTest,
                              public ::testing::WithParamInterface<Undrawable> {};

TEST_P(UndrawableProfileTest, IsRefusedAndChangesNothing) {
    Calculate(); // a good drawing first, so that "unchanged" is not the design state
    ASSERT_TRUE(toolkit.Messages.empty());
    Type(GetParam().Field, GetParam().Text);
    const ControlId focus = model.Focus();
    ExpectRefused([&] { Calculate(); }, kCannotCalculate);
    EXPECT_EQ(model.Focus(), focus);
}

INSTANTIATE_TEST_SUITE_P(
    Hardening, UndrawableProfileTest,
    ::testing::Values(Undrawable{"SubnormalDiameterMakesTheScaleInfinite", 10, "1e-320"},
                      Undrawable{"TopFaceBeyondAnyCoordinate", 5, "1e308"},
                      Undrawable{"AngleBeyondAnyNumberOfTurns", 8, "1e308"},
                      Undrawable{"BearingLongerThanTheDrawingCanHold", 3, "1e308"},
                      Undrawable{"ExitLengthLongerThanTheDrawingCanHold", 6, "1e307"}),
    [](const ::testing::TestParamInfo<Undrawable>& info) { return std::string(info.param.Name); });

// Found by fuzzing: with a huge diamond diameter the drawing scale is tiny, and a value label (a
// length on the drawing divided by the scale) overflowed to "inf" while every coordinate stayed
// finite; Calculate drew it and showed "inf" and "-inf" on the drawing.
TEST_F(HardeningTest, ValueLabelThatWouldOverflowIsRefused) {
    // A small blank first leaves the entering wire's lower end far above the blank.
    Type(10, "0.01");
    Calculate();
    ASSERT_TRUE(toolkit.Messages.empty());
    ASSERT_LT(model.Scene().LineEnterWireRight.Y1, -10000);
    // Now the wire edge meets a vertical wall and keeps that lower end; divided by the tiny
    // scale, its distance to the bell overflows.
    Type(10, "1e308");
    ExpectRefused([&] { Calculate(); }, kCannotCalculate);
    ExpectEveryLabelAndResultIsANumber();
}

// Profiles at the edges of what can be drawn: they are drawn, with numbers everywhere.
struct Extreme {
    const char* Name;
    std::vector<std::pair<int, const char*>> Typed;
};

class ExtremeProfileTest : public HardeningTest, public ::testing::WithParamInterface<Extreme> {};

TEST_P(ExtremeProfileTest, IsDrawnWithOnlyNumbers) {
    for (const auto& [index, text] : GetParam().Typed) {
        Type(index, text);
    }
    Calculate();
    for (const std::string& message : toolkit.Messages) {
        EXPECT_EQ(message, "Warning - the entering wire is contacting the Bell area.");
    }
    EXPECT_EQ(model.State().DiamondDiameter, ParseNumber(model.Text1(10).Text));
    EXPECT_EQ(model.State().OutletDiameter, ParseNumber(model.Text1(0).Text));
    for (const ProfileStateMember& member : ProfileStateMembers()) {
        if (const auto* real = std::get_if<double ProfileState::*>(&member.Member)) {
            EXPECT_TRUE(std::isfinite(model.State().*(*real))) << member.Name;
        }
    }
    for (const SegmentDesign& design : SceneSegments()) {
        const Segment& s = model.Scene().*design.Member;
        EXPECT_TRUE(std::isfinite(s.X1) && std::isfinite(s.Y1) && std::isfinite(s.X2) &&
                    std::isfinite(s.Y2))
            << design.Name;
    }
    ExpectEveryLabelAndResultIsANumber();
}

INSTANTIATE_TEST_SUITE_P(
    Hardening, ExtremeProfileTest,
    ::testing::Values(Extreme{"HugeBlank", {{10, "1e300"}, {5, "1e300"}}},
                      Extreme{"WireOfOneAtom", {{0, "1e-300"}, {1, "2e-300"}}},
                      Extreme{"NegativeDiameters", {{0, "-0.022"}, {1, "-0.012"}}},
                      Extreme{"EveryAngleWholeTurns", {{2, "360"}, {7, "-720"}, {8, "360"}}},
                      Extreme{"LengthsOfZero", {{3, "0"}, {4, "0"}, {6, "0"}}}),
    [](const ::testing::TestParamInfo<Extreme>& info) { return std::string(info.param.Name); });

TEST_F(HardeningTest, UnitsSwitchRefusals) {
    struct Case {
        int Field;
        std::string Text;
        std::string Message;
    };
    for (const Case& c :
         {Case{0, "abc", "Outlet Wire Diameter must be a number."},
          Case{1, "\xd9\xa3", "Incoming Wire Diameter must be a number."},
          Case{0, "1e308", "Outlet Wire Diameter is too large to show in millimetres."},
          Case{1, "-1e308", "Incoming Wire Diameter is too large to show in millimetres."}}) {
        SCOPED_TRACE(c.Text);
        Type(0, "0.012");
        Type(1, "0.022");
        Type(c.Field, c.Text);
        ExpectRefused([&] { model.ChooseOption(1); }, c.Message);
        EXPECT_EQ(model.OptionIndex(), 0);
        EXPECT_EQ(model.State().UnitDivisor, 25.4);
        EXPECT_EQ(model.Focus(), Text1Control(c.Field));
    }

    // Back to inches only a text that is not a number is refused; every number gets smaller.
    Type(0, "0.012");
    Type(1, "0.022");
    model.ChooseOption(1);
    ASSERT_EQ(model.OptionIndex(), 1);
    Type(1, "1.7976931348623157e308");
    toolkit.Messages.clear();
    model.ChooseOption(0);
    EXPECT_TRUE(toolkit.Messages.empty());
    EXPECT_EQ(model.Text1(1).Text, "7.07753202701699E+306");
    Type(1, "0.022");
    model.ChooseOption(1);
    ASSERT_EQ(model.OptionIndex(), 1);
    Type(0, "");
    ExpectRefused([&] { model.ChooseOption(0); }, "Outlet Wire Diameter must be a number.");
    EXPECT_EQ(model.OptionIndex(), 1);
    EXPECT_EQ(model.State().UnitDivisor, 1.0);
}

TEST_F(HardeningTest, DiametersOfTwelveDigitsComeBackExactly) {
    // 25.4 adds three significant digits and a field keeps fifteen, so inches to millimetres and
    // back gives a diameter of up to twelve digits its own text again.
    for (const char* text :
         {"0.0123456789012", "123456789012", "1.5E-07", "0.987654321098", "-4.4E-100", "1E+200"}) {
        SCOPED_TRACE(text);
        Type(0, text);
        Type(1, text);
        model.ChooseOption(1);
        model.ChooseOption(0);
        EXPECT_TRUE(toolkit.Messages.empty());
        EXPECT_EQ(model.Text1(0).Text, text);
        EXPECT_EQ(model.Text1(1).Text, text);
    }
}

} // namespace
} // namespace dieprofile::testing
