// The units switch: exact, reversible conversion of the wire diameters, the catalogue blank read
// again in the new unit, and nothing else touched.
#include "model_fixture.h"

namespace dieprofile::testing {
namespace {

class UnitsTest : public ModelTest {};

TEST_F(UnitsTest, DiametersConvertExactlyAndBack) {
    model.ChooseOption(1);
    EXPECT_EQ(model.OptionIndex(), 1);
    EXPECT_EQ(model.State().UnitDivisor, 1.0);
    EXPECT_EQ(model.Text1(0).Text, "0.3048");
    EXPECT_EQ(model.Text1(1).Text, "0.5588");
    model.ChooseOption(0);
    EXPECT_EQ(model.State().UnitDivisor, 25.4);
    EXPECT_EQ(model.Text1(0).Text, "0.012");
    EXPECT_EQ(model.Text1(1).Text, "0.022");
}

TEST_F(UnitsTest, CatalogueBlankFollowsTheUnit) {
    model.ChooseOption(1);
    EXPECT_EQ(model.Text1(10).Text, "1.50");
    EXPECT_EQ(model.Text1(5).Text, "1.50");
    EXPECT_DOUBLE_EQ(model.State().DrawScale, 3120);
    EXPECT_FALSE(model.Text1(10).Visible);
    model.ChooseOption(0);
    EXPECT_EQ(model.Text1(10).Text, "0.0591");
    model.PickRow(7);
    model.ChooseOption(1);
    EXPECT_DOUBLE_EQ(model.State().DrawScale, 360);
    EXPECT_EQ(model.Text1(5).Text, "9.0");
}

TEST_F(UnitsTest, CustomBlankKeepsItsNumbers) {
    UseDefaultProfile();
    model.ChooseOption(1);
    EXPECT_EQ(model.Text1(10).Text, "0.180");
    EXPECT_EQ(model.Text1(5).Text, "0.180");
    EXPECT_TRUE(model.Text1(10).Visible);
}

TEST_F(UnitsTest, DrawingLabelsAndResultsWaitForTheNextCalculate) {
    UseDefaultProfile();
    model.Command1_Click();
    const DrawingScene scene = model.Scene();
    const std::string delta = model.Text3().Text;
    model.ChooseOption(1);
    EXPECT_EQ(model.Scene(), scene);
    EXPECT_EQ(model.Scene().Label3.Caption, "0.0220");
    EXPECT_EQ(model.Text3().Text, delta);
}

TEST_F(UnitsTest, ChoosingTheUnitShownConvertsNothing) {
    const std::string before = Dump(model);
    model.ChooseOption(0);
    EXPECT_EQ(Dump(model), before);
    model.ChooseOption(1);
    const std::string millimetres = Dump(model);
    model.ChooseOption(1);
    EXPECT_EQ(Dump(model), millimetres);
    EXPECT_EQ(model.Text1(0).Text, "0.3048");
}

// Refusals of the switch (not a number, too large) are in hardening_test.cpp.

} // namespace
} // namespace dieprofile::testing
