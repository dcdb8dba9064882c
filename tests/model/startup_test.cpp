// Start-up and the behaviour every input field shares on entry.
#include "model_fixture.h"

namespace dieprofile::testing {
namespace {

class StartUpTest : public ModelTest {};

TEST_F(StartUpTest, LoadsInInchesWithTheFirstBlankAndTheDrawingAsDesigned) {
    EXPECT_EQ(model.State().UnitDivisor, 25.4);
    EXPECT_EQ(model.State().CentreX, 3900);
    EXPECT_EQ(model.State().DieBaseY, 7320);
    EXPECT_EQ(model.State().PiValue, 3.14159);
    EXPECT_EQ(model.OptionIndex(), 0);
    EXPECT_EQ(model.ComboRow(), 1);
    EXPECT_EQ(model.Text1(10).Text, "0.0591");
    EXPECT_FALSE(model.Text1(10).Visible);
    EXPECT_EQ(model.Text1(0).Text, "0.012");
    EXPECT_EQ(model.Text1(2).Text, "25.0");
    EXPECT_EQ(model.Text2().Text, "0.00");
    EXPECT_EQ(model.Scene(), DrawingScene{});
    EXPECT_EQ(model.Focus(), ControlId::Combo1);
    // No field has had the focus yet, so none has a selection.
    for (int index : kText1Indices) {
        EXPECT_EQ(model.Text1(index).SelLength, 0) << index;
    }
}

TEST_F(StartUpTest, CentresTheOuterWindowOnTheScreen) {
    EXPECT_EQ(model.Window(), (WindowRect{7170, 2910, 14460, 10380}));
    EXPECT_EQ(toolkit.Left, 7170);
    EXPECT_EQ(toolkit.Top, 2910);
}

TEST(StartUpOnASmallScreenTest, OverhangsBothEdgesEqually) {
    HeadlessToolkit toolkit;
    toolkit.Screen = {9000, 6001};
    toolkit.Outer = {14760, 10800}; // a frame around the client area
    Form1Model model(toolkit);
    model.Form_Load();
    EXPECT_EQ(model.Window().Left, -2880);
    EXPECT_EQ(model.Window().Top, -2399.5f);
    EXPECT_EQ(model.Window().Width, 14760);
}

TEST_F(StartUpTest, EnteringAFieldSelectsItsFirstSixCharacters) {
    model.FocusArrived(ControlId::Text1_0);
    EXPECT_EQ(model.Text1(0).SelStart, 0);
    EXPECT_EQ(model.Text1(0).SelLength, 5); // "0.012" whole

    Type(1, "0.05906");
    model.FocusArrived(ControlId::Text1_1);
    EXPECT_EQ(model.Text1(1).SelStart, 0);
    EXPECT_EQ(model.Text1(1).SelLength, 6);
    EXPECT_EQ(model.Focus(), ControlId::Text1_1);

    // Six characters, not six bytes.
    Type(2, "µµµµµµµ");
    model.FocusArrived(ControlId::Text1_2);
    EXPECT_EQ(model.Text1(2).SelLength, 6);
}

TEST_F(StartUpTest, ProgramFocusAfterTheDiameterCheckSelectsToo) {
    Type(0, "0.022000");
    model.Command1_Click();
    EXPECT_EQ(toolkit.Messages.back(), "Outlet Diameter must be less than Incoming Diameter.");
    EXPECT_EQ(model.Focus(), ControlId::Text1_0);
    EXPECT_EQ(toolkit.FocusMoves.back(), ControlId::Text1_0);
    EXPECT_EQ(model.Text1(0).SelStart, 0);
    EXPECT_EQ(model.Text1(0).SelLength, 6);
}

TEST_F(StartUpTest, SelectionStaysWithinTheText) {
    model.SetSelection(ControlId::Text1_3, 2, 99);
    EXPECT_EQ(model.Text1(3).SelStart, 2);
    EXPECT_EQ(model.Text1(3).SelLength, 2);
    model.SetSelection(ControlId::Text1_3, -4, -1);
    EXPECT_EQ(model.Text1(3).SelStart, 0);
    EXPECT_EQ(model.Text1(3).SelLength, 0);
}

} // namespace
} // namespace dieprofile::testing
