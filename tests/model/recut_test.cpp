// Worn dies made from real calculated designs (a ring worn into the cone, a bearing grown, noise),
// inspected and recut through the models; the recut's outlet must be the one a plain scan of the
// same rule finds, and a die its blank cannot hold must be refused with the right figures.
#include "app/recut_model.h"
#include "core/number_text.h"
#include "dieset/design_die.h"
#include "dieset/die_set.h"
#include "model_fixture.h"
#include "support/test_path.h"

#include <cmath>
#include <fstream>
#include <random>

namespace dieprofile::testing {
namespace {

constexpr double kDefault = -1;

struct RecutRow {
    const char* Name;
    bool Millimetres;
    RecutSizeKind Kind;
    double RingDepth;     // into the cone, as a share of the die's height
    double BearingGrowth; // on the radius, as a share of the outlet
    double Noise;         // standard deviation, as a share of the die's height
    double Allowance;     // a share of the outlet; kDefault: the default
    const char* Refusal;  // the message's part when the plan is refused, else empty
    // Points on each zone of each wall, the walls alternating: 5,000 make 40,000, which an
    // aligner thinning by an even stride sees as one wall alone.
    int PerZone = 800;
};

class RecutTest : public ModelTest, public ::testing::WithParamInterface<RecutRow> {
protected:
    // Inspects a worn die of the window's design, both walls, in the aligned frame.
    void InspectWorn(const RecutRow& row) {
        CalculateDefaultOrMillimetres(row.Millimetres);
        BoreWall w = InspectionDesignOf(model)->Wall;
        const double h = w[0].Y - w[4].Y;
        const double ringAt = w[2].Y + 0.4 * (w[1].Y - w[2].Y), ringHalf = 0.02 * h;
        std::mt19937 random(11);
        std::normal_distribution<double> noise(0, row.Noise * h + 1e-300);
        std::string text = "x,y\n";
        for (std::size_t k = 0; k < 4; ++k) {
            for (int i = 0; i < row.PerZone; ++i) {
                const double t = i / static_cast<double>(row.PerZone);
                const Point p{w[k].X + (w[k + 1].X - w[k].X) * t,
                              w[k].Y + (w[k + 1].Y - w[k].Y) * t};
                double r = p.X + noise(random);
                if (k == 1 && std::abs(p.Y - ringAt) < ringHalf) {
                    r += row.RingDepth * h * (1 - std::abs(p.Y - ringAt) / ringHalf);
                }
                if (k == 2) { // the bearing grown, the cone and the relief meeting it
                    r += row.BearingGrowth * (w[2].X * 2);
                }
                for (const double side : {1.0, -1.0}) {
                    text += ShortestText(side * r) + "," + ShortestText(p.Y) + "\n";
                }
            }
        }
        const std::string path = ::testing::TempDir() + std::string("worn-") + row.Name + ".csv";
        std::ofstream(path, std::ios::binary) << text;
        ASSERT_TRUE(inspection.OpenMeasured(path)) << toolkit.Messages.back();
    }

    // The rule by itself: the recut wall (the design's with this outlet, drawn by Calculate) at
    // least the allowance outside every measured point, by a plain walk along the wall.
    bool Clears(double outlet, double incoming, double allowance) const {
        Design die = model.CurrentDesign();
        die.FieldTexts[0] = ShortestText(outlet);
        die.FieldTexts[1] = ShortestText(incoming);
        auto done = CalculateDesign(die);
        if (!done) {
            return false;
        }
        const BoreWall w = BoreWallOf(done->Drawing.Frame, done->Drawing.Scene, BoreSide::Right);
        for (const InspectedPoint& p : inspection.Result()->Points) {
            for (std::size_t k = 0; k < 4; ++k) {
                const Point a = w[k], b = w[k + 1];
                if (p.At.Y > std::max(a.Y, b.Y) || p.At.Y < std::min(a.Y, b.Y) || a.Y == b.Y) {
                    continue;
                }
                const double r = a.X + (b.X - a.X) * (p.At.Y - a.Y) / (b.Y - a.Y);
                if (r - std::abs(p.At.X) < allowance) {
                    return false;
                }
            }
        }
        return true;
    }
    double Outlet() const { return *ParseNumber(model.CurrentDesign().FieldTexts[0]); }
    double Incoming() const { return *ParseNumber(model.CurrentDesign().FieldTexts[1]); }

    InspectionModel inspection{toolkit, model};
    RecutModel recut{toolkit, model, inspection};
};

TEST_P(RecutTest, GoesToTheSizeAPlainScanFinds) {
    const RecutRow row = GetParam();
    InspectWorn(row);
    const double outlet = Outlet(), ratio = Incoming() / Outlet();
    const double unit = row.Millimetres ? 1e-3 : 1e-4; // the default step
    RecutOptions options;
    if (row.Allowance != kDefault) {
        options.Allowance = row.Allowance * outlet;
    }
    const double allowance = options.Allowance.value_or(row.Millimetres ? 0.002 : 0.0001);
    options.Sizes.Kind = row.Kind;
    // The candidates in rising order, each with its incoming diameter.
    std::vector<std::pair<double, double>> sizes;
    if (row.Kind == RecutSizeKind::Step) {
        for (double k = std::floor(outlet / unit + 1e-9) + 1; sizes.size() < 400; ++k) {
            const double size = std::stod(FixedDecimals(k * unit, 12));
            sizes.emplace_back(size, size * ratio);
        }
    } else if (row.Kind == RecutSizeKind::List) {
        std::string typed;
        for (int j = 1; j <= 30; ++j) {
            typed += (j > 1 ? ", " : "") + FixedDecimals(outlet + j * 3 * unit, 5);
            sizes.emplace_back(std::stod(FixedDecimals(outlet + j * 3 * unit, 5)), 0);
            sizes.back().second = sizes.back().first * ratio;
        }
        options.Sizes.List = *ParseRecutSizes(typed);
    } else {
        DieSetFile set = DieSetFromDesign(model.CurrentDesign());
        set.Unit = std::string(row.Refusal).find("unit") != std::string::npos
                       ? (row.Millimetres ? "in" : "mm")
                       : set.Unit;
        const std::string path = ::testing::TempDir() + std::string(row.Name) + ".dieset";
        ASSERT_TRUE(SaveDieSet(set, path));
        auto passes = RecutPassesOf(path, model.CurrentDesign().Unit);
        if (!passes) {
            EXPECT_THAT(passes.Error().Message, ::testing::HasSubstr("is in"));
            return;
        }
        options.Sizes.Passes = *passes;
        const std::vector<RecutPass> rising(options.Sizes.Passes.rbegin(),
                                            options.Sizes.Passes.rend());
        for (const RecutPass& pass : rising) {
            sizes.emplace_back(pass.Outlet, pass.Incoming);
        }
        std::erase_if(sizes, [&](const auto& size) { return size.first <= outlet; });
    }
    if (std::string(row.Refusal).starts_with("step")) {
        options.Sizes.Step = 0;
    } else if (std::string(row.Refusal).starts_with("huge")) {
        options.Sizes.Step = 1e300;
    } else if (std::string(row.Refusal).starts_with("rising")) {
        std::swap(options.Sizes.List[0], options.Sizes.List[1]);
    } else if (std::string(row.Refusal).starts_with("above")) {
        options.Sizes.List.front() = outlet;
    }

    const bool planned = recut.Plan(options);
    if (*row.Refusal != '\0') {
        ASSERT_FALSE(planned);
        const std::string words =
            std::string(row.Refusal).substr(std::string(row.Refusal).find(':') + 1);
        EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr(words));
        return;
    }
    ASSERT_TRUE(planned) << toolkit.Messages.back();
    const RecutPlan& plan = *recut.Result();
    const auto first = std::ranges::find_if(
        sizes, [&](const auto& size) { return Clears(size.first, size.second, allowance); });
    ASSERT_NE(first, sizes.end());
    EXPECT_EQ(plan.RecutOutlet, first->first);
    EXPECT_NEAR(plan.RecutIncoming, first->second, 1e-12);
    // The least outlet lies between the last size that fails and the one taken, and clears.
    EXPECT_TRUE(
        Clears(plan.LeastOutletClearingWear, plan.LeastOutletClearingWear * ratio, allowance));
    EXPECT_LE(plan.LeastOutletClearingWear, plan.RecutOutlet);
    // A grown bearing alone asks for twice its growth and the allowance on the diameter.
    EXPECT_GE(plan.LeastOutletClearingWear,
              outlet * (1 + 2 * row.BearingGrowth) + 2 * allowance - 4 * row.Noise * outlet);
    // The blank's life: the largest outlet passes every export's check and the wall, a hair more
    // does not.
    const auto passes = [&](double size) {
        Design die = plan.Recut;
        die.FieldTexts[0] = ShortestText(size);
        die.FieldTexts[1] = ShortestText(size * plan.RecutIncoming / plan.RecutOutlet);
        auto done = CalculateDesign(die);
        if (!done || !CheckProfile(done->Drawing)) {
            return false;
        }
        const BoreWall w = BoreWallOf(done->Drawing.Frame, done->Drawing.Scene, BoreSide::Right);
        const double radius = *ParseNumber(die.FieldTexts[8]) / 2;
        return radius - w[0].X >= 0.1 * radius;
    };
    EXPECT_TRUE(passes(plan.LargestOutletInBlank));
    EXPECT_FALSE(passes(plan.LargestOutletInBlank * (1 + 1e-9)));
    EXPECT_EQ(plan.RecutsLeft,
              static_cast<long long>((plan.LargestOutletInBlank - plan.RecutOutlet) /
                                     (plan.RecutOutlet - outlet)));
    // The recut design is saved without a drawing number and opens as the recut.
    const std::string saved = ::testing::TempDir() + std::string(row.Name) + "-recut.dieprofile";
    ASSERT_TRUE(recut.SaveDesign(saved));
    ASSERT_TRUE(recut.OpenInWindow(model, [] { return true; }));
    EXPECT_EQ(model.CurrentDesign().FieldTexts[0], ShortestText(plan.RecutOutlet));
    EXPECT_TRUE(model.Identity().Number.empty());
}

void PrintTo(const RecutRow& row, std::ostream* out) {
    *out << row.Name;
}

using K = RecutSizeKind;
INSTANTIATE_TEST_SUITE_P(
    WornDies, RecutTest,
    ::testing::Values(
        RecutRow{"RingInches", false, K::Step, 0.002, 0, 0, kDefault, ""},
        RecutRow{"RingAndBearingInches", false, K::Step, 0.003, 0.02, 2e-5, kDefault, ""},
        RecutRow{"ManyPointsInches", false, K::Step, 0.003, 0.01, 1e-5, kDefault, "", 5000},
        RecutRow{"BearingMillimetres", true, K::Step, 0, 0.03, 1e-5, kDefault, ""},
        RecutRow{"NoAllowanceMillimetres", true, K::Step, 0.002, 0.01, 0, 0, ""},
        RecutRow{"ListInches", false, K::List, 0.003, 0.01, 1e-5, kDefault, ""},
        RecutRow{"ListMillimetres", true, K::List, 0.002, 0.02, 0, kDefault, ""},
        RecutRow{"SetInches", false, K::DieSet, 0.002, 0.01, 1e-5, kDefault, ""},
        RecutRow{"SetMillimetres", true, K::DieSet, 0.003, 0, 0, kDefault, ""},
        RecutRow{"NegativeAllowance", false, K::Step, 0.002, 0, 0, -1e-3,
                 "allowance:the allowance must be from 0 to the bearing's radius"},
        RecutRow{"AllowanceOverRadius", true, K::Step, 0.002, 0, 0, 0.6,
                 "allowance:the allowance must be from 0 to the bearing's radius"},
        RecutRow{"ZeroStep", false, K::Step, 0.002, 0, 0, kDefault,
                 "step:the step must be above 0 and below the blank's diameter (0.1800 in)"},
        RecutRow{"HugeStep", true, K::Step, 0.002, 0, 0, kDefault,
                 "huge:the step must be above 0 and below the blank's diameter (4.5720 mm)"},
        RecutRow{"ListNotRising", false, K::List, 0.002, 0, 0, -1,
                 "rising:the size list must be strictly rising"},
        RecutRow{"ListAtOutlet", true, K::List, 0.002, 0, 0, -1,
                 "above:must be above the design's outlet"},
        RecutRow{"ListTooSmall", false, K::List, 0.04, 0, 0, -1,
                 "small:no size in the list is large enough: the wear needs at least \xC3\x98"},
        RecutRow{"SetInOtherUnit", false, K::DieSet, 0.002, 0, 0, kDefault, "unit:is in"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A die worn so far that its recut leaves too thin a wall round the bell's mouth: refused at the
// size the wear asks for, with the wall it would leave and the wall it needs.
TEST_F(RecutTest, TooThinAWallIsRefusedWithItsFigures) {
    InspectWorn({"Thin", false, K::Step, 0.003, 0.02, 0, kDefault, ""});
    RecutOptions options;
    ASSERT_TRUE(recut.Plan(options));
    const RecutPlan plan = *recut.Result();
    // The wall left, from the recut's own drawing.
    Design die = model.CurrentDesign();
    die.FieldTexts[0] = ShortestText(plan.RecutOutlet);
    die.FieldTexts[1] = ShortestText(plan.RecutIncoming);
    auto done = CalculateDesign(die);
    ASSERT_TRUE(done);
    const double left =
        0.09 - BoreWallOf(done->Drawing.Frame, done->Drawing.Scene, BoreSide::Right)[0].X;
    EXPECT_NEAR(plan.MouthWallLeft, left, 1e-12);
    options.Wall = left + 0.001;
    ASSERT_FALSE(recut.Plan(options));
    EXPECT_EQ(toolkit.Messages.back(),
              "Cannot plan the recut: the worn die cannot be recut within its blank: at \xC3\x98" +
                  FixedDecimals(plan.RecutOutlet, 4) + " in the bell's mouth is " +
                  FixedDecimals(left, 4) + " in from the blank's edge, under the " +
                  FixedDecimals(*options.Wall, 4) + " in it needs.");
    EXPECT_EQ(recut.Result()->RecutOutlet, plan.RecutOutlet); // the plan shown stays
}

} // namespace
} // namespace dieprofile::testing

namespace dieprofile::testing {
namespace {

// The step's fields as typed: a text that is not a number, a list that is not one, no die set
// chosen or one that cannot be read, each refused in one message; empty fields take the defaults.
TEST_F(RecutTest, TheStepsFieldsAreReadOrRefusedInOneMessage) {
    InspectWorn({"Typed", false, K::Step, 0.002, 0.01, 0, kDefault, ""});
    ASSERT_TRUE(recut.Plan({}));
    const RecutPlan byDefault = *recut.Result();
    const struct {
        RecutTyped Typed;
        const char* Refusal; // empty: planned as the defaults are
    } rows[] = {
        {{"", K::Step, "", ""}, ""},
        {{"0.0001", K::Step, "0.0001", ""}, ""},
        {{"0,0001", K::Step, "", ""}, "the allowance must be a number, not \"0,0001\""},
        {{"", K::Step, "1e", ""}, "the step must be a number, not \"1e\""},
        {{"", K::Step, "", "wide"}, "the wall must be a number, not \"wide\""},
        {{"", K::List, "0.013, x", ""}, "Cannot plan the recut: "},
        {{"", K::DieSet, "", ""}, "choose the die set whose outlets it may go to"},
        {{"", K::DieSet, TestPath("none.dieset"), ""}, "none.dieset"},
    };
    for (const auto& row : rows) {
        const std::size_t before = toolkit.Messages.size();
        const bool planned = recut.PlanTyped(row.Typed);
        if (*row.Refusal == '\0') {
            ASSERT_TRUE(planned) << toolkit.Messages.back();
            EXPECT_EQ(toolkit.Messages.size(), before);
            EXPECT_EQ(recut.Result()->RecutOutlet, byDefault.RecutOutlet);
            continue;
        }
        EXPECT_FALSE(planned) << row.Refusal;
        ASSERT_EQ(toolkit.Messages.size(), before + 1) << row.Refusal;
        EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr(row.Refusal));
        EXPECT_EQ(recut.Result()->RecutOutlet, byDefault.RecutOutlet); // the plan shown stays
    }
}

// The recut opened in the window is a design of its own: no save writes it over the worn die's
// design file, its sheet keeps the recut's title, and a plan is no longer made against it with
// the points measured on the die before.
TEST_F(RecutTest, TheRecutOpensAsADesignOfItsOwnAndIsNotPlannedAgainstItself) {
    InspectWorn({"Opened", false, K::Step, 0.002, 0.01, 0, kDefault, ""});
    const std::string design = TestPath("worn-die.dieprofile");
    ASSERT_TRUE(model.SaveDesign(design));
    ASSERT_TRUE(recut.Plan({}));
    ASSERT_TRUE(recut.OpenInWindow(model, [] { return true; }));
    EXPECT_TRUE(model.DesignPath().empty());
    EXPECT_EQ(model.Origin(), "recut of worn-die.dieprofile");
    EXPECT_EQ(model.SheetIdentity().Title, "Recut of worn-die.dieprofile from \xC3\x98" +
                                               FixedDecimals(recut.Result()->DesignOutlet, 4) +
                                               " in");
    const std::size_t before = toolkit.Messages.size();
    EXPECT_FALSE(recut.Plan({}));
    ASSERT_EQ(toolkit.Messages.size(), before + 1);
    EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr("no longer holds the design"));
}

// A plan holds the points it was made from: once the die is inspected again (a tolerance typed),
// a save or an export would write a recut those points never asked for.
TEST_F(RecutTest, APlanIsDroppedOnceTheDieIsInspectedAgain) {
    InspectWorn({"Again", false, K::Step, 0.002, 0.01, 0, kDefault, ""});
    ASSERT_TRUE(recut.Plan({}));
    ASSERT_TRUE(inspection.SetToleranceText("0.001"));
    EXPECT_FALSE(recut.Result());
    const std::string path = TestPath("stale.dieprofile");
    std::filesystem::remove(path); // left by an earlier run
    EXPECT_FALSE(recut.SaveDesign(path));
    EXPECT_EQ(toolkit.Messages.back(),
              CannotExport(path, "the die was inspected again since the recut was planned: plan "
                                 "it again"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(recut.OpenInWindow(model, [] { return true; }));
    ASSERT_TRUE(recut.Plan({}));
    EXPECT_TRUE(recut.SaveDesign(path));
}

// The halvings start on a few points nearest the wall and take in the others the answer leaves
// uncut: started on none, on worn dies of both units, they must reach the same outlet as on many.
TEST_F(RecutTest, TheOutletDoesNotDependOnThePointsTheHalvingsStartOn) {
    for (const bool millimetres : {false, true}) {
        InspectWorn({"Few", millimetres, K::Step, 0.003, 0.02, 1e-5, kDefault, "", 2000});
        const Design design = model.CurrentDesign();
        const auto many = PlanRecut(design, *inspection.Result(), {}, CalculateRecutCandidate);
        const auto few = PlanRecut(design, *inspection.Result(), {}, CalculateRecutCandidate, 0);
        ASSERT_TRUE(many.HasValue() && few.HasValue());
        EXPECT_EQ(few->LeastOutletClearingWear, many->LeastOutletClearingWear);
        EXPECT_EQ(few->RecutOutlet, many->RecutOutlet);
    }
}

// A field typed in the designed window after the inspection, not calculated: the recut is of the
// die that was drawn and measured, not of the text typed since.
TEST_F(RecutTest, TheRecutIsOfTheDesignDrawnNotOfTextTypedSince) {
    InspectWorn({"Typed", false, K::Step, 0.002, 0.01, 0, kDefault, ""});
    const Design drawn = model.CurrentDesign();
    Type(7, "45");
    ASSERT_NE(model.CurrentDesign().FieldTexts, drawn.FieldTexts);
    ASSERT_TRUE(recut.Plan({})) << toolkit.Messages.back();
    for (std::size_t i = 2; i < drawn.FieldTexts.size(); ++i) {
        EXPECT_EQ(recut.Result()->Recut.FieldTexts[i], drawn.FieldTexts[i]) << i;
    }
}

// The drawing leaves as any design's does: a DXF of the recut, a sheet without the painters
// refused rather than written empty, and never over the measured file.
TEST_F(RecutTest, TheRecutsDrawingIsExportedAsAnyDesignsIs) {
    InspectWorn({"Drawing", true, K::Step, 0.002, 0.01, 0, kDefault, ""});
    ASSERT_TRUE(recut.Plan({}));
    const std::string dxf = TestPath("recut.dxf");
    ASSERT_TRUE(recut.Export(dxf, nullptr)) << toolkit.Messages.back();
    std::ifstream written(dxf, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(written)), {});
    // Its bearing's diameter, as the DXF's dimension gives it.
    EXPECT_THAT(text, ::testing::HasSubstr(FixedDecimals(recut.Result()->RecutOutlet, 3)));
    const std::size_t before = toolkit.Messages.size();
    const std::string pdf = TestPath("recut-unpainted.pdf");
    EXPECT_FALSE(recut.Export(pdf, nullptr));
    EXPECT_FALSE(std::ifstream(pdf).good());
    EXPECT_FALSE(recut.Export(inspection.MeasuredPath(), nullptr));
    EXPECT_EQ(toolkit.Messages.size(), before + 2);
    EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr("it is an input of the recut"));
}

} // namespace
} // namespace dieprofile::testing
