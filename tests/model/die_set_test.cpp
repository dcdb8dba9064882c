// The die set: every input is checked with a refusal that names it; the schedules give the passes
// their documentation defines; each pass's die is the die the window draws for the same inputs;
// a die the window refuses marks its row without losing the set; the CSV reads back exactly.
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "die_set_fixture.h"
#include "dieset/die_set.h"
#include "model_fixture.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>

namespace dieprofile::testing {
namespace {

struct RefusalCase {
    const char* Name;
    std::function<void(DieSetFile&)> Edit;
    DieSetField Field;
    int Outlet;
    std::string Message;
};

class DieSetRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DieSetRefusalTest, NamesTheField) {
    DieSetFile set = CopperSet();
    GetParam().Edit(set);
    const Expected<DieSetSchedule, DieSetRefusal> computed = ComputeDieSet(set);
    ASSERT_TRUE(!computed.HasValue());
    EXPECT_EQ(computed.Error(),
              (DieSetRefusal{GetParam().Field, GetParam().Outlet, GetParam().Message}));
}

using F = DieSetField;
void Diameters(DieSetFile& set, std::vector<std::string> outlets) {
    set.Schedule = ScheduleKind::Diameters;
    set.Outlets = std::move(outlets);
}
// To the step, or with no step to the nearest of the sizes.
void RoundTo(DieSetFile& set, std::string step, std::vector<std::string> sizes = {}) {
    set.Rounding = step.empty() ? RoundingKind::Sizes : RoundingKind::Step;
    set.RoundingStep = std::move(step);
    set.RoundingSizes = std::move(sizes);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DieSetRefusalTest,
    ::testing::Values(
        RefusalCase{"StartNotANumber", [](DieSetFile& s) { s.StartDiameter = "2,0"; },
                    F::StartDiameter, 0, "Start Diameter must be a number."},
        RefusalCase{"FinishZero", [](DieSetFile& s) { s.FinishDiameter = "0"; },
                    F::FinishDiameter, 0, "Finish Diameter must be more than 0."},
        // No die drawing 2 mm down to 1e-300 mm can be exported: its elongation overflows.
        RefusalCase{"FinishTooSmallForADie", [](DieSetFile& s) { s.FinishDiameter = "1e-300"; },
                    F::FinishDiameter, 0,
                    "Finish Diameter cannot be drawn: the outlet is too small to be made."},
        RefusalCase{"FinishEqualsStart", [](DieSetFile& s) { s.FinishDiameter = "2"; },
                    F::FinishDiameter, 0, "Finish Diameter must be less than Start Diameter."},
        RefusalCase{"NoDies", [](DieSetFile& s) { s.Dies = "0"; }, F::Dies, 0,
                    "Dies must be a whole number from 1 to 100."},
        RefusalCase{"OutletWithDecimalComma",
                    [](DieSetFile& s) { Diameters(s, {"1.5", "1,2", "1.0"}); }, F::Outlets, 2,
                    "Outlet 2 must be a number: use a point for decimals; separate outlets with "
                    "spaces."},
        RefusalCase{"TooManyDies", [](DieSetFile& s) { s.Dies = "101"; }, F::Dies, 0,
                    "Dies must be a whole number from 1 to 100."},
        RefusalCase{"DiesNotWhole", [](DieSetFile& s) { s.Dies = "6.5"; }, F::Dies, 0,
                    "Dies must be a whole number from 1 to 100."},
        RefusalCase{"PercentZero",
                    [](DieSetFile& s) {
                        s.Schedule = ScheduleKind::Reduction;
                        s.Percent = "0";
                    },
                    F::Percent, 0, "Maximum Reduction must be more than 0 and less than 100 per cent."},
        RefusalCase{"PercentHundred",
                    [](DieSetFile& s) {
                        s.Schedule = ScheduleKind::Reduction;
                        s.Percent = "100";
                    },
                    F::Percent, 0, "Maximum Reduction must be more than 0 and less than 100 per cent."},
        RefusalCase{"PercentNeedsOverHundredDies",
                    [](DieSetFile& s) {
                        s.Schedule = ScheduleKind::Reduction;
                        s.Percent = "1";
                    },
                    F::Percent, 0,
                    "Maximum Reduction is too small: the set would need more than 100 dies."},
        RefusalCase{"NoOutlets", [](DieSetFile& s) { Diameters(s, {}); }, F::Outlets, 0,
                    "Outlet Diameters must list at least one outlet."},
        RefusalCase{"OutletNotANumber", [](DieSetFile& s) { Diameters(s, {"1.5", "x", "1"}); },
                    F::Outlets, 2, "Outlet 2 must be a number."},
        RefusalCase{"OutletNotBelowStart", [](DieSetFile& s) { Diameters(s, {"2.0", "1"}); },
                    F::Outlets, 1, "Outlet 1 must be less than Start Diameter."},
        RefusalCase{"OutletsRise", [](DieSetFile& s) { Diameters(s, {"1.5", "1.6", "1"}); },
                    F::Outlets, 2, "Outlet 2 must be less than outlet 1."},
        RefusalCase{"OutletRepeated", [](DieSetFile& s) { Diameters(s, {"1.5", "1.5", "1"}); },
                    F::Outlets, 2, "Outlet 2 must be less than outlet 1."},
        RefusalCase{"LastNotFinish", [](DieSetFile& s) { Diameters(s, {"1.5", "1.1"}); },
                    F::Outlets, 2, "The last outlet must be the Finish Diameter."},
        RefusalCase{"KZero", [](DieSetFile& s) { s.StrengthCoefficient = "0"; },
                    F::StrengthCoefficient, 0, "Strength Coefficient K must be more than 0."},
        RefusalCase{"NNegative", [](DieSetFile& s) { s.HardeningExponent = "-0.1"; },
                    F::HardeningExponent, 0,
                    "Hardening Exponent n must be at least 0 and less than 1."},
        RefusalCase{"NOne", [](DieSetFile& s) { s.HardeningExponent = "1"; },
                    F::HardeningExponent, 0,
                    "Hardening Exponent n must be at least 0 and less than 1."},
        RefusalCase{"DensityNegative", [](DieSetFile& s) { s.Density = "-8960"; }, F::Density, 0,
                    "Density must be more than 0."},
        RefusalCase{"HeatNotANumber", [](DieSetFile& s) { s.SpecificHeat = ""; },
                    F::SpecificHeat, 0, "Specific Heat must be a number."},
        RefusalCase{"FrictionNegative", [](DieSetFile& s) { s.Friction = "-0.01"; },
                    F::Friction, 0, "Friction Coefficient must be from 0 to 0.5."},
        RefusalCase{"FrictionOverHalf", [](DieSetFile& s) { s.Friction = "0.50001"; },
                    F::Friction, 0, "Friction Coefficient must be from 0 to 0.5."},
        RefusalCase{"SpeedZero", [](DieSetFile& s) { s.FinishSpeed = "0"; }, F::FinishSpeed, 0,
                    "Finishing Speed must be more than 0."},
        RefusalCase{"BlankUnknown", [](DieSetFile& s) { s.Blank = "Q99"; }, F::Blank, 0,
                    "The blank \"Q99\" is not in the catalogue."},
        // Beyond this schedule's count an override rests; beyond any set's it is no pass.
        RefusalCase{"OverridePassBeyondAnySet",
                    [](DieSetFile& s) { s.Overrides = {PassOverride{"101", {}}}; }, F::Overrides,
                    1, "Override 1: the pass must be a whole number from 1 to 100."},
        RefusalCase{"OverridePassNotWhole",
                    [](DieSetFile& s) {
                        s.Overrides = {PassOverride{"1", {}}, PassOverride{"2.5", {}}};
                    },
                    F::Overrides, 2, "Override 2: the pass must be a whole number from 1 to 100."},
        RefusalCase{"OverridePassTwice",
                    [](DieSetFile& s) {
                        s.Overrides = {PassOverride{"6", {}}, PassOverride{"6.0", {}}};
                    },
                    F::Overrides, 2, "Override 2: pass 6 already has an override."},
        // Rounding never merges two dies nor makes a pass draw nothing: it is refused.
        RefusalCase{"RoundingUpToTheStart", [](DieSetFile& s) { RoundTo(s, "0.5"); },
                    F::RoundingStep, 0,
                    "Rounding Step cannot be used: rounded to the step, outlet 1 (2) is not less "
                    "than the Start Diameter (2). Use a finer step or fewer dies."},
        RefusalCase{"RoundingMergesTwoDies",
                    [](DieSetFile& s) { RoundTo(s, "", {"1.2", "1.5", "1.8"}); },
                    F::RoundingSizes, 0,
                    "Rounding Sizes cannot be used: rounded to the nearest size, outlet 3 (1.5) "
                    "is not less than outlet 2 (1.5). Add sizes between them or use fewer dies."},
        // The first fault in the window's order is the one named.
        RefusalCase{"FirstFaultNamed",
                    [](DieSetFile& s) {
                        s.FinishSpeed = "fast";
                        s.StrengthCoefficient = "-1";
                    },
                    F::StrengthCoefficient, 0, "Strength Coefficient K must be more than 0."}),
    [](const auto& info) { return std::string(info.param.Name); });

// The edges of the accepted ranges are accepted.
TEST(DieSetInputsTest, RangeEdgesAreAccepted) {
    DieSetFile set = CopperSet();
    set.Dies = "100";
    set.HardeningExponent = "0";
    set.Friction = "0.5";
    const auto computed = ComputeDieSet(set);
    ASSERT_TRUE(computed.HasValue()) << computed.Error().Message;
    EXPECT_EQ(computed->Passes.size(), 100U);
    set.Friction = "0";
    EXPECT_TRUE(ComputeDieSet(set).HasValue());
}

struct ScheduleCase {
    const char* Name;
    std::function<void(DieSetFile&)> Edit;
    std::vector<double> Outlets;
};

class DieSetScheduleTest : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(DieSetScheduleTest, GivesTheOutlets) {
    DieSetFile set = CopperSet();
    GetParam().Edit(set);
    const auto computed = ComputeDieSet(set);
    ASSERT_TRUE(computed.HasValue()) << computed.Error().Message;
    const DieSetSchedule& schedule = *computed;
    ASSERT_EQ(schedule.Passes.size(), GetParam().Outlets.size());
    for (std::size_t i = 0; i < schedule.Passes.size(); ++i) {
        EXPECT_EQ(schedule.Passes[i].Outlet, GetParam().Outlets[i]) << "pass " << i + 1;
        EXPECT_EQ(schedule.Passes[i].Incoming,
                  i == 0 ? schedule.Inputs.StartDiameter : schedule.Passes[i - 1].Outlet);
        // A rounded outlet is the die's exactly: the die opened from the pass is typed it.
        if (set.Rounding != RoundingKind::None) {
            EXPECT_EQ(ParseNumber(schedule.Passes[i].Die.Typed.FieldTexts[0]),
                      schedule.Passes[i].Outlet);
        }
    }
    // The last die draws to the finish exactly.
    EXPECT_EQ(schedule.Passes.back().Outlet, schedule.Inputs.FinishDiameter);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DieSetScheduleTest,
    ::testing::Values(
        // 2·(1/2)^(i/4): 2^(3/4), √2, 2^(1/4), 1.
        ScheduleCase{"EqualFour",
                     [](DieSetFile& s) { s.Dies = "4"; },
                     {1.681792830507429, 1.4142135623730951, 1.189207115002721, 1.0}},
        ScheduleCase{"EqualOne", [](DieSetFile& s) { s.Dies = "1"; }, {1.0}},
        // 20 %: 1 − (1/2)^(2/N) ≤ 0.2 first holds for N = 7 (N = 6 gives 20.6 %).
        ScheduleCase{"ReductionTwentyPercent",
                     [](DieSetFile& s) {
                         s.Schedule = ScheduleKind::Reduction;
                         s.Percent = "20";
                     },
                     {1.8114473285278134, 1.640670712015276, 1.4859942891369484, 1.3459001926323562,
                      1.2190136542044754, 1.1040895136738125, 1.0}},
        // Exactly the equal reduction of three dies: 1 − (0.512)^(2/3) = 0.36 is not exceeded.
        ScheduleCase{"ReductionAtItsBound",
                     [](DieSetFile& s) {
                         s.StartDiameter = "1";
                         s.FinishDiameter = "0.512";
                         s.Schedule = ScheduleKind::Reduction;
                         s.Percent = "36";
                     },
                     {0.8, 0.64, 0.512}},
        // 1 − 0.729^(2/3) is 0.19000000000000006 in doubles: three dies meet 19 % all the same.
        ScheduleCase{"ReductionMetWithinRounding",
                     [](DieSetFile& s) {
                         s.StartDiameter = "1.0";
                         s.FinishDiameter = "0.729";
                         s.Schedule = ScheduleKind::Reduction;
                         s.Percent = "19";
                     },
                     {0.9, 0.8099999999999999, 0.729}},
        ScheduleCase{"ReductionOneDieSuffices",
                     [](DieSetFile& s) {
                         s.Schedule = ScheduleKind::Reduction;
                         s.Percent = "75";
                     },
                     {1.0}},
        // 2·(1/2)^(i/6) to the thousandth: each the double of its decimal text.
        ScheduleCase{"RoundedToAThousandth",
                     [](DieSetFile& s) { RoundTo(s, "0.001"); },
                     {1.782, 1.587, 1.414, 1.26, 1.122, 1.0}},
        ScheduleCase{"RoundedToAStepNotAPowerOfTen",
                     [](DieSetFile& s) {
                         s.Dies = "3";
                         RoundTo(s, "0.3");
                     },
                     {1.5, 1.2, 1.0}},
        ScheduleCase{"RoundedToTheNearestSize",
                     [](DieSetFile& s) {
                         RoundTo(s, "", {"1.1", "1.25", "1.5", "1.6", "1.8", "0.9"});
                     },
                     {1.8, 1.6, 1.5, 1.25, 1.1, 1.0}},
        // Typed outlets round too; the finish is exact even off the step.
        ScheduleCase{"TypedOutletsRounded",
                     [](DieSetFile& s) {
                         s.FinishDiameter = "1.0004";
                         Diameters(s, {"1.7004", "1.2996", "1.0004"});
                         RoundTo(s, "0.001");
                     },
                     {1.7, 1.3, 1.0004}},
        ScheduleCase{"DiametersAsTyped",
                     [](DieSetFile& s) {
                         Diameters(s, {" 1.7", "1.45", "1.2E0", "1.0"});
                     },
                     {1.7, 1.45, 1.2, 1.0}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Each pass's die is the die the window draws when the pass is opened in it: the same delta (as
// the window shows it), the same bell warning.
TEST(DieSetDiesTest, EachDieIsTheWindowsDie) {
    DieSetFile set = CopperSet();
    set.Dies = "4";
    set.StartDiameter = "3.6"; // the first pass's wire is wide enough to touch the bell
    const auto computed = ComputeDieSet(set);
    ASSERT_TRUE(computed.HasValue());
    const DieSetSchedule& schedule = *computed;
    bool sawBell = false;
    for (const DieSetPass& pass : schedule.Passes) {
        HeadlessToolkit toolkit;
        Form1Model window(toolkit);
        toolkit.Attach(window);
        window.Form_Load();
        ASSERT_TRUE(window.ApplyDesign(pass.Die.Typed));
        ASSERT_TRUE(pass.Die.Calculated) << pass.Die.Refusal;
        EXPECT_TRUE(pass.Problem.empty()) << pass.Problem;
        EXPECT_EQ(FormatNumber(*ParseNumber(NumberToText(pass.Die.Delta)), kMaskThreePlaces),
                  window.Text3().Text);
        const bool warned =
            !toolkit.Messages.empty() &&
            toolkit.Messages.back() == "Warning - the entering wire is contacting the Bell area.";
        EXPECT_EQ(pass.Die.BellContact, warned) << "pass " << pass.Pass;
        sawBell = sawBell || warned;
        // The window is typed the diameter as it writes a length itself, to 15 digits.
        EXPECT_EQ(ParseNumber(window.Text1(0).Text), ParseNumber(NumberToText(pass.Outlet)));
        EXPECT_EQ(pass.Die.MeetingPointAboveBearing.has_value(),
                  pass.Die.Contact == WireContact::Bell ||
                      pass.Die.Contact == WireContact::ReductionCone);
    }
    EXPECT_TRUE(sawBell);
    EXPECT_FALSE(schedule.Passes.back().Die.BellContact);
}

struct RowProblemCase {
    const char* Name;
    std::size_t Field; // in kSetDieFields
    std::string Text;
    std::string Problem;
    bool DieCalculated;
};

class DieSetRowProblemTest : public ::testing::TestWithParam<RowProblemCase> {};

// A die the window would refuse marks its row; the set is still computed, the schedule's own
// figures are there, and the export refuses with the pass and the reason.
TEST_P(DieSetRowProblemTest, MarksTheRowAndKeepsTheSet) {
    DieSetFile set = CopperSet();
    set.DieFieldTexts[GetParam().Field] = GetParam().Text;
    const auto computed = ComputeDieSet(set);
    ASSERT_TRUE(computed.HasValue());
    const DieSetSchedule& schedule = *computed;
    ASSERT_EQ(schedule.Passes.size(), 6U);
    for (const DieSetPass& pass : schedule.Passes) {
        EXPECT_EQ(pass.Problem, GetParam().Problem);
        EXPECT_EQ(pass.Die.Calculated, GetParam().DieCalculated);
        EXPECT_GT(pass.AreaReduction, 0.2);
        EXPECT_GT(pass.MeanFlowStress, 0);
    }
    EXPECT_EQ(schedule.FirstProblem(), "pass 1: " + GetParam().Problem);
}

INSTANTIATE_TEST_SUITE_P(
    Dies, DieSetRowProblemTest,
    ::testing::Values(
        RowProblemCase{"AngleNotANumber", 0, "sixteen",
                       "Reduction Angle (degrees) must be a number.", false},
        RowProblemCase{"DiamondHeightNotANumber", 7, "4 mm", "Diamond Height must be a number.",
                       false},
        RowProblemCase{"DiamondDiameterZero", 6, "0", "Diamond Diameter must not be zero.", false},
        // Drawn but not makeable: every export's reason.
        RowProblemCase{"BearingZero", 1, "0", "the bearing has no length", false},
        RowProblemCase{"BearingNegative", 1, "-50", "the bearing has no length", false},
        RowProblemCase{"EntranceBeyondExit", 2, "85", "the entrance and exit zones overlap", false},
        RowProblemCase{"ConeTooFlatForTheBlank", 0, "179", "the bore is wider than the blank",
                       false},
        // The window draws a die of no cone, but the drawing stress has no half angle to use.
        RowProblemCase{"AngleZero", 0, "0",
                       "Reduction Angle (degrees) must be more than 0 and less than 180 for the "
                       "drawing stress.",
                       true}),
    [](const auto& info) { return std::string(info.param.Name); });

// A pass's override reaches its die and its half angle, and no other pass.
TEST(DieSetOverridesTest, ChangeOnlyTheirPass) {
    const auto plain = *ComputeDieSet(CopperSet());
    DieSetFile set = CopperSet();
    PassOverride finishing;
    finishing.Pass = "6";
    finishing.FieldTexts[0] = "12"; // reduction angle
    finishing.FieldTexts[1] = "80"; // bearing length, per cent of the outlet
    set.Overrides = {finishing};
    const auto changed = *ComputeDieSet(set);
    for (std::size_t i = 0; i + 1 < plain.Passes.size(); ++i) {
        EXPECT_EQ(changed.Passes[i].Die.Delta, plain.Passes[i].Die.Delta);
        EXPECT_EQ(changed.Passes[i].DrawingStress, plain.Passes[i].DrawingStress);
    }
    const DieSetPass& last = changed.Passes.back();
    EXPECT_DOUBLE_EQ(last.HalfAngle, 6 * std::numbers::pi / 180);
    EXPECT_EQ(last.Die.Typed.FieldTexts[2], "12");
    EXPECT_EQ(last.Die.Typed.FieldTexts[3], "80");
    EXPECT_LT(last.Die.Delta, plain.Passes.back().Die.Delta);
}

// A pass's own blank is its die's blank: a catalogue row brings its own diamond (what the pass
// typed for the diamond is not used), "BLANK" takes the typed diameter and height, and a row the
// catalogue does not have marks only that pass. The set's own blank is kept by every other pass.
TEST(DieSetOverridesTest, APassMayHaveABlankOfItsOwn) {
    const std::string kt106(CatalogueRows()[5]); // 8.70 × 7.50 mm
    const struct {
        const char* Name;
        std::string SetBlank;
        std::string PassBlank;
        const char* Diameter; // the pass's own diamond diameter; empty: none
        double DrawnDiameter; // of the last pass's die, mm
        double DrawnHeight;
        const char* Problem;
    } rows[] = {
        {"a catalogue row over the set's own blank", "BLANK", kt106, "20", 8.7, 7.5, ""},
        {"BLANK with its own diameter over a catalogue row", kt106, "BLANK", "9", 9, 4, ""},
        {"BLANK with the set's diamond", kt106, "BLANK", "", 6, 4, ""},
        {"a row not in the catalogue", "BLANK", "Q99", "", 0, 0,
         "the blank \"Q99\" is not in the catalogue"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        DieSetFile set = CopperSet();
        set.Blank = row.SetBlank;
        PassOverride own;
        own.Pass = "6";
        own.Blank = row.PassBlank;
        if (*row.Diameter != '\0') {
            own.FieldTexts[6] = row.Diameter;
        }
        set.Overrides = {own};
        const auto schedule = *ComputeDieSet(set);
        const DieSetPass& last = schedule.Passes.back();
        EXPECT_EQ(last.Die.Typed.Blank, row.PassBlank);
        EXPECT_EQ(last.Problem, row.Problem);
        if (last.Die.Drawing) {
            EXPECT_DOUBLE_EQ(last.Die.Drawing->Profile.DiamondDiameter, row.DrawnDiameter);
            EXPECT_DOUBLE_EQ(last.Die.Drawing->Profile.DiamondHeight, row.DrawnHeight);
        }
        EXPECT_EQ(last.Die.Drawing.has_value(), row.DrawnDiameter > 0);
        for (std::size_t i = 0; i + 1 < schedule.Passes.size(); ++i) {
            EXPECT_EQ(schedule.Passes[i].Die.Typed.Blank, row.SetBlank) << i;
        }
    }
}

// Areas are in square millimetres whatever the set's unit: the same wire in inches gives the
// same force, stress and heat.
TEST(DieSetUnitsTest, InchesGiveTheSameForces) {
    DieSetFile millimetres = CopperSet();
    DieSetFile inches = CopperSet();
    inches.Unit = "in";
    inches.StartDiameter = "0.0787401574803149606";  // 2 mm
    inches.FinishDiameter = "0.0393700787401574803"; // 1 mm
    inches.DieFieldTexts[6] = "0.236220472440944882";
    inches.DieFieldTexts[7] = "0.157480314960629921";
    const auto mm = *ComputeDieSet(millimetres);
    const auto in = *ComputeDieSet(inches);
    // The inch diameters are decimals of their own, so the two sets agree only up to rounding: a
    // few ulps, and for the delta, whose (d + d') / (d - d') magnifies a diameter's last bit,
    // some hundred.
    for (std::size_t i = 0; i < mm.Passes.size(); ++i) {
        EXPECT_DOUBLE_EQ(in.Passes[i].Force, mm.Passes[i].Force);
        EXPECT_DOUBLE_EQ(in.Passes[i].Power, mm.Passes[i].Power);
        EXPECT_NEAR(in.Passes[i].Die.Delta, mm.Passes[i].Die.Delta, 1e-12);
        EXPECT_DOUBLE_EQ(*in.Passes[i].Die.MeetingPointAboveBearing * 25.4,
                         *mm.Passes[i].Die.MeetingPointAboveBearing);
    }
}

// Every number of the CSV reads back to the double it was written from.
TEST(DieSetCsvTest, NumbersReadBackExactly) {
    const auto schedule = *ComputeDieSet(CopperSet());
    std::istringstream csv(DieSetCsv(schedule));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, DieSetCsvHeader());
    for (const DieSetPass& pass : schedule.Passes) {
        ASSERT_TRUE(std::getline(csv, line));
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) {
            cells.push_back(cell);
        }
        ASSERT_EQ(cells.size(), 18U) << line;
        auto number = [](const std::string& text) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            return value;
        };
        EXPECT_EQ(cells[0], std::to_string(pass.Pass));
        EXPECT_EQ(number(cells[2]), pass.Outlet);
        EXPECT_EQ(number(cells[6]), pass.Die.Delta);
        EXPECT_EQ(number(cells[10]), pass.DrawingStress);
        EXPECT_EQ(number(cells[16]), *pass.Die.MeetingPointAboveBearing);
        EXPECT_EQ(cells[17], pass.Die.BellContact ? "yes" : "no");
    }
    EXPECT_FALSE(std::getline(csv, line));
}

} // namespace
} // namespace dieprofile::testing

namespace dieprofile::testing {
namespace {

// Every preset is a wire the set accepts, names its source, and the common wires are there.
TEST(WireMaterialsTest, PresetsAreSoundAndSourced) {
    std::vector<std::string> names;
    for (const WireMaterial& material : WireMaterials()) {
        DieSetFile set = CopperSet();
        ApplyMaterial(material, set);
        const auto computed = ComputeDieSet(set);
        EXPECT_TRUE(computed.HasValue()) << material.Name << ": " << computed.Error().Message;
        EXPECT_NE(material.Source.find("K, n:"), std::string_view::npos) << material.Name;
        EXPECT_NE(material.Source.find("ρ"), std::string_view::npos) << material.Name;
        names.emplace_back(material.Name);
    }
    for (const char* wire : {"Copper", "Aluminium", "brass", "Low-carbon steel", "Stainless"}) {
        EXPECT_THAT(names, ::testing::Contains(::testing::HasSubstr(wire)));
    }
    // A set started from the window takes the first preset.
    Design design;
    design.Unit = "mm";
    design.Blank = "BLANK";
    const DieSetFile fromDesign = DieSetFromDesign(design);
    EXPECT_EQ(fromDesign.MaterialName, names.front());
}

} // namespace
} // namespace dieprofile::testing
