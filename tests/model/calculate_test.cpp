// Calculate: the bore, the wires, the dimensions and the results, and what a refused or failed
// Calculate leaves behind (nothing).
#include "model_fixture.h"

#include <cmath>
#include <string>

namespace dieprofile::testing {
namespace {

using ::testing::FloatNear;

constexpr const char* kBellWarning = "Warning - the entering wire is contacting the Bell area.";

class CalculateTest : public ModelTest {
protected:
    CalculateTest() { UseDefaultProfile(); }

    void Calculate() { model.Command1_Click(); }
    const DrawingScene& S() const { return model.Scene(); }
};

TEST_F(CalculateTest, DefaultProfileGivesTheDesignFigures) {
    Calculate();
    EXPECT_TRUE(toolkit.Messages.empty());
    const ProfileState& st = model.State();
    EXPECT_EQ(st.DrawScale, 26000);
    // A percentage is multiplied by its base first and divided by 100 last; the four lengths,
    // each rounded, subtracted in their order leave 0.084 less one ulp.
    EXPECT_EQ(st.BearingLength, 50.0 * 0.012 / 100);
    EXPECT_EQ(st.EntranceLength, 30.0 * 0.180 / 100);
    EXPECT_EQ(st.ExitLength, 20.0 * 0.180 / 100);
    EXPECT_EQ(st.ReductionLength, std::nextafter(0.084, 0.0));

    // Blank and bore.
    EXPECT_EQ(S().LineDieLeft, (Segment{1560, 2640, 1560, 7320}));
    EXPECT_EQ(S().LineDieTopLeft, (Segment{1560, 2640, 3614, 2640}));
    EXPECT_EQ(S().LineDieTopRight, (Segment{4186, 2640, 6240, 2640}));
    EXPECT_EQ(S().LineDieBottomLeft, (Segment{1560, 7320, 3744, 7320}));
    EXPECT_EQ(S().LineDieBottomRight, (Segment{4056, 7320, 6240, 7320}));
    EXPECT_EQ(S().LineDieBackRight.Y1, 6384);
    EXPECT_THAT(S().LineDieBackLeft.X2, FloatNear(3307.54f, 0.01f));
    EXPECT_THAT(S().LineDieBackRight.X2, FloatNear(4492.46f, 0.01f));
    EXPECT_EQ(S().LineDieReductionRight.Y2, 6228);
    EXPECT_EQ(S().LineDieReductionRight.Y1, 4044);
    EXPECT_THAT(S().LineDieReductionLeft.X1, FloatNear(3259.82f, 0.01f));
    EXPECT_THAT(S().LineDieReductionRight.X1, FloatNear(4540.18f, 0.01f));
    EXPECT_EQ(S().LineDieBellRight.Y1, 2640);
    EXPECT_THAT(S().LineDieBellLeft.X1, FloatNear(2605.12f, 0.01f));
    EXPECT_THAT(S().LineDieBellRight.X1, FloatNear(5194.88f, 0.01f));
    // The bell starts exactly where the cone ends: read back, not recomputed.
    EXPECT_EQ(S().LineDieBellRight.X2, S().LineDieReductionRight.X1);
    EXPECT_EQ(S().LineDieBellLeft.X2, S().LineDieReductionLeft.X1);

    // Wires and their ticks.
    EXPECT_EQ(S().LineExitWireLeft, (Segment{3744, 6228, 3744, 7680}));
    EXPECT_EQ(S().LineExitWireRight, (Segment{4056, 6228, 4056, 7680}));
    EXPECT_EQ(S().LineEnterWireLeft.X1, 3614);
    EXPECT_EQ(S().LineEnterWireRight.X1, 4186);
    EXPECT_THAT(S().LineEnterWireRight.Y1, FloatNear(5641.61f, 0.01f));
    EXPECT_EQ(S().LineEnterWireLeft.Y1, S().LineEnterWireRight.Y1);
    EXPECT_EQ(S().Line21.X1, S().LineEnterWireRight.X1);
    EXPECT_EQ(S().Line22.X2, S().LineEnterWireLeft.X1);
    EXPECT_EQ(S().Line18.X1, S().LineExitWireRight.X1);
    EXPECT_EQ(S().Line19.X2, S().LineExitWireLeft.X1);

    // The right-hand chain and its arrowheads.
    EXPECT_EQ(S().Line39.Y1, 2640);
    EXPECT_EQ(S().Line39.Y2, 4044);
    EXPECT_EQ(S().Line54.Y2, 4044);
    EXPECT_THAT(S().Line54.Y1, FloatNear(5641.61f, 0.01f));
    EXPECT_EQ(S().Line4.Y1, 6228);
    EXPECT_EQ(S().Line62, (Segment{6960, 6228, 6960, 6384}));
    EXPECT_EQ(S().Line63, (Segment{6600, 6384, 6600, 7320}));
    EXPECT_EQ(S().Line78.Y1, 2520);
    EXPECT_EQ(S().Line43.Y1, 2520);
    EXPECT_THAT(S().Line48.Y2, FloatNear(5521.61f, 0.01f));
    EXPECT_EQ(S().Line58.Y1, 6504);
    EXPECT_EQ(S().Line53.X2, 4186);
    EXPECT_EQ(S().Line56.X2, 4056);
    EXPECT_EQ(S().Line57.X2, 4056);
    EXPECT_THAT(S().Line52.X2, FloatNear(4540.18f, 0.01f));

    // Labels and results.
    EXPECT_EQ(S().Label9.Caption, "0.180");
    EXPECT_EQ(S().Label10.Caption, "0.180");
    EXPECT_EQ(S().Label3.Caption, "0.0220");
    EXPECT_EQ(S().Label2.Caption, "0.0120");
    EXPECT_EQ(S().Label4.Caption, "0.0540");
    EXPECT_EQ(S().Label5.Caption, "0.0614");
    EXPECT_EQ(S().Label6.Caption, "0.0226");
    EXPECT_EQ(S().Label7.Caption, "0.0060");
    EXPECT_EQ(S().Label8.Caption, "0.0360");
    EXPECT_EQ(model.Text3().Text, "0.736");
    EXPECT_EQ(model.Text2().Text, "70.248");
}

TEST_F(CalculateTest, WireRestsOnTheConeOrTheBellOrKeepsItsLastPlace) {
    Type(1, "0.040");
    Calculate();
    EXPECT_TRUE(toolkit.Messages.empty());
    EXPECT_EQ(S().LineEnterWireRight.X1, 4420);
    EXPECT_THAT(S().LineEnterWireRight.Y1, FloatNear(4586.10f, 0.01f));

    // Wider: it touches the bell above the junction and is warned about, but drawn.
    Type(1, "0.05");
    Calculate();
    ASSERT_EQ(toolkit.Messages, std::vector<std::string>{kBellWarning});
    EXPECT_EQ(S().LineEnterWireRight.X1, 4550);
    EXPECT_THAT(S().LineEnterWireRight.Y1, FloatNear(4022.94f, 0.01f));
    EXPECT_EQ(S().Label5.Caption, "-0.0008");
    EXPECT_EQ(S().Label6.Caption, "0.0848");
    EXPECT_LT(S().Line54.Y1, S().Line54.Y2); // runs upwards from the junction

    // Wider than the bell's mouth: no wall applies, the lower end stays where it was.
    const float before = S().LineEnterWireRight.Y1;
    Type(1, "0.100");
    Calculate();
    EXPECT_EQ(toolkit.Messages.size(), 1u);
    EXPECT_EQ(S().LineEnterWireRight.X1, 5200);
    EXPECT_EQ(S().LineEnterWireRight.Y1, before);
    EXPECT_EQ(S().LineEnterWireLeft.Y1, before);
    EXPECT_EQ(S().Line53.Y1, before);
}

TEST_F(CalculateTest, TooWideAWireOnTheFirstCalculateKeepsTheDesignLowerEnd) {
    Type(1, "0.100");
    Calculate();
    EXPECT_TRUE(toolkit.Messages.empty());
    EXPECT_EQ(S().LineEnterWireRight.Y1, 5400);
}

TEST_F(CalculateTest, EdgeOnTheJunctionWarnsAndKeepsTheConesValue) {
    // This angle puts the cone's upper end exactly on the 0.030 wire's edge.
    Type(1, "0.030");
    Type(2, "12.2310048");
    Calculate();
    ASSERT_EQ(S().LineDieReductionRight.X1, S().LineEnterWireRight.X1);
    EXPECT_EQ(toolkit.Messages, std::vector<std::string>{kBellWarning});
    EXPECT_EQ(S().LineEnterWireRight.Y1, S().LineDieReductionRight.Y1);
}

TEST_F(CalculateTest, VerticalWallUnderTheEdgeIsNoDivisionByZero) {
    // The same junction with an entrance angle of 0: the bell is vertical through the edge.
    Type(1, "0.030");
    Type(2, "12.2310048");
    Type(8, "0");
    Calculate();
    EXPECT_EQ(S().LineDieBellRight.X1, S().LineDieBellRight.X2);
    EXPECT_EQ(toolkit.Messages, std::vector<std::string>{kBellWarning});
    EXPECT_EQ(S().LineEnterWireRight.Y1, S().LineDieReductionRight.Y1);
}

TEST_F(CalculateTest, AnglesOfZeroGiveVerticalWalls) {
    Type(2, "0");
    Type(7, "0");
    Calculate();
    EXPECT_EQ(S().LineDieReductionRight.X1, S().LineDieReductionRight.X2);
    EXPECT_EQ(S().LineDieBackLeft.X1, S().LineDieBackLeft.X2);
    EXPECT_EQ(model.Text3().Text, "0.");
}

TEST_F(CalculateTest, NegativeReductionLengthIsDrawnFoldedBack) {
    Type(4, "80");
    Type(6, "30");
    Calculate();
    // The folded cone puts the bell beside the wire: a warning, but the drawing is made.
    EXPECT_EQ(toolkit.Messages, std::vector<std::string>{kBellWarning});
    EXPECT_EQ(model.Text3().Text, "0.736");
    EXPECT_LT(model.State().ReductionLength, 0);
    EXPECT_GT(S().LineDieReductionRight.Y1, S().LineDieReductionRight.Y2);
}

TEST_F(CalculateTest, ResultsInMillimetresMatchInches) {
    Calculate();
    const std::string delta = model.Text3().Text;
    const std::string area = model.Text2().Text;
    Type(0, "0.3048");
    Type(1, "0.5588");
    Calculate();
    EXPECT_EQ(model.Text3().Text, delta);
    EXPECT_EQ(model.Text2().Text, area);

    Type(0, "9");
    Type(1, "10");
    Calculate();
    EXPECT_EQ(model.Text2().Text, "19.");
    Type(0, "0.5");
    Type(1, "1.0");
    Type(2, "12");
    Calculate();
    EXPECT_EQ(model.Text2().Text, "75.");
    EXPECT_EQ(model.Text3().Text, "0.314");
}

TEST_F(CalculateTest, SameInputsTwiceGiveTheSameDrawing) {
    Calculate();
    const std::string first = Dump(model);
    Calculate();
    EXPECT_EQ(Dump(model), first);
}

TEST_F(CalculateTest, DiamondFieldsWinOverTheChosenBlank) {
    model.PickRow(1); // state 1.5 mm, fields "0.0591"
    Calculate();
    EXPECT_EQ(model.State().DiamondDiameter, 0.0591);
    EXPECT_DOUBLE_EQ(model.State().DrawScale, 4680 / 0.0591);
}

// A refused or failed Calculate: the message, where the focus goes, and nothing else changed.
struct Failure {
    const char* Name;
    std::vector<std::pair<int, const char*>> Typed;
    const char* Message;
    ControlId Focus;
};

class CalculateFailureTest : public CalculateTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(CalculateFailureTest, ChangesNothing) {
    Calculate(); // a good drawing first, so that "unchanged" is not the design state
    const std::string before = DumpIgnoringFocus();
    for (const auto& [index, text] : GetParam().Typed) {
        Type(index, text);
    }
    const std::string typed = DumpIgnoringFocus();
    toolkit.Messages.clear();
    Calculate();
    EXPECT_EQ(toolkit.Messages, std::vector<std::string>{GetParam().Message});
    EXPECT_EQ(model.Focus(), GetParam().Focus);
    EXPECT_EQ(DumpIgnoringFocus(), typed);
    EXPECT_NE(before, "");
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CalculateFailureTest,
    ::testing::Values(
        Failure{"EqualDiameters",
                {{0, "0.022"}},
                "Outlet Diameter must be less than Incoming Diameter.",
                ControlId::Text1_0},
        Failure{"LargerOutlet",
                {{0, "0.5"}, {1, "0.25"}},
                "Outlet Diameter must be less than Incoming Diameter.",
                ControlId::Text1_0},
        Failure{"OutletNotANumber",
                {{0, "0,012"}},
                "Outlet Wire Diameter must be a number.",
                ControlId::Text1_0},
        Failure{"IncomingEmpty",
                {{1, ""}},
                "Incoming Wire Diameter must be a number.",
                ControlId::Text1_1},
        Failure{"HeightWithAUnit",
                {{5, "0.18in"}},
                "Diamond Height must be a number.",
                ControlId::Text1_5},
        // Fields are checked in the order Calculate reads them: entrance before bearing and angles.
        Failure{"FirstBadFieldIsNamed",
                {{2, "x"}, {3, "y"}, {4, "z"}},
                "Entrance Length (% of Height) must be a number.",
                ControlId::Text1_4},
        Failure{"ExitAngleNaN",
                {{7, "nan"}},
                "Exit Angle (degrees) must be a number.",
                ControlId::Text1_7},
        Failure{"ZeroDiamondDiameter",
                {{10, "-0"}},
                "Diamond Diameter must not be zero.",
                ControlId::Text1_10},
        Failure{"ScaleOverflows",
                {{10, "1e-300"}},
                "The profile cannot be calculated with these values.",
                ControlId::Combo1},
        Failure{"HugeWire",
                {{0, "1e300"}, {1, "1e301"}},
                "The profile cannot be calculated with these values.",
                ControlId::Combo1},
        Failure{"AreaOverflows",
                {{0, "-1e300"}, {1, "1e-300"}},
                "The profile cannot be calculated with these values.",
                ControlId::Combo1}),
    [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace dieprofile::testing
