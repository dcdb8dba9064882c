#include "app/export.h"
#include "app/sheet_title_block.h"
#include "model_fixture.h"
#include "output/title_block.h"
#include "profile/profile_figures.h"

#include <cmath>
#include <filesystem>

namespace dieprofile::testing {
namespace {

using ExportFiguresTest = ModelTest;

// The meeting point on the default profile with wires of four widths: on the cone, low and high;
// on the bell (above the junction, so more than the whole reduction zone); wider than the mouth,
// where the drawing keeps the previous lower end and there is no meeting point. The cone runs
// from y 4044 to 6228 twips at 26000 twips an inch; the figures are read off the wire's lower end
// as the drawing stores it (0.0226 in above the bearing, 26.85 % of the cone, for the default).
TEST_F(ExportFiguresTest, MeetingPointFollowsWhereTheWireRests) {
    const struct {
        const char* name;
        const char* incoming;
        WireContact contact;
        float lowerEnd;
    } rows[] = {
        {"default wire on the cone", "0.022", WireContact::ReductionCone, 5641.60742f},
        {"wide wire high on the cone", "0.040", WireContact::ReductionCone, 4586.10059f},
        {"wire on the bell", "0.05", WireContact::Bell, 4022.94238f},
        {"wider than the mouth", "0.100", WireContact::WiderThanMouth, 4022.94238f},
    };
    UseDefaultProfile();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Type(1, row.incoming);
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation());
        const ProfileFigures figures = FiguresOf(model.LastCalculation()->Profile,
                                                 model.LastCalculation()->Frame, model.Scene());
        EXPECT_EQ(figures.Meeting.Contact, row.contact);
        ASSERT_EQ(model.Scene().LineEnterWireRight.Y1, row.lowerEnd);
        const double aboveBearing = 6228 - static_cast<double>(row.lowerEnd);
        EXPECT_EQ(figures.Meeting.AboveBearing, aboveBearing / 26000);
        EXPECT_EQ(figures.Meeting.PercentOfReduction, 100 * aboveBearing / (6228 - 4044));
    }
}

TEST(ExportFigures, ElongationIsTheGainInLength) {
    // (22 / 12)² - 1 = 85 / 36, 236.1 %; the diameters' decimal rounding leaves it an ulp low.
    EXPECT_EQ(ElongationPercent(0.022, 0.012), std::nextafter(2125.0 / 9, 0.0));
    EXPECT_EQ(ElongationPercent(2, 1), 300);
    // The same die in millimetres: other decimals, rounded otherwise, a few ulps apart.
    EXPECT_NEAR(ElongationPercent(0.5588, 0.3048), ElongationPercent(0.022, 0.012), 1e-12);
}

// The title block reads the last Calculate: fields typed and a unit switched afterwards change
// nothing on the sheet until Calculate is pressed again.
TEST_F(ExportFiguresTest, TitleBlockKeepsTheLastCalculate) {
    UseDefaultProfile();
    model.Command1_Click();
    Type(2, "40");
    model.ChooseOption(1);
    const std::vector<TitleRow> rows = TitleBlockRows(TitleBlockOf(
        *model.LastCalculation(), model.Scene(), "d.dieprofile", "16 : 1", "2026-01-02"));
    auto value = [&rows](std::string_view caption) {
        for (const TitleRow& row : rows) {
            if (row.Caption == caption) {
                return row.Value;
            }
        }
        return std::string("(no row)");
    };
    EXPECT_EQ(value("Reduction Angle (degrees)"), "25.0");
    EXPECT_EQ(value("Outlet Wire Diameter"), "0.012 in");
    EXPECT_EQ(value("Wire Die Blank"), "BLANK");
    EXPECT_EQ(value("Delta Value"), "0.736");
    EXPECT_EQ(value("Area Reduction"), "70.248 %");
    EXPECT_EQ(value("Elongation"), "236.111 %");
    EXPECT_EQ(value("Meeting Point"), "on the reduction cone");
    EXPECT_EQ(value("Above the Bearing"), "0.0226 in, 26.85 % of the reduction zone");
    EXPECT_EQ(value("Entrance Length"), "0.0540 in");
    EXPECT_EQ(value("Unit"), "inches");
    EXPECT_EQ(value("Scale"), "16 : 1");
    EXPECT_EQ(value("Design"), "d.dieprofile");
}

TEST_F(ExportFiguresTest, DxfBeforeCalculateIsRefusedAndWritesNothing) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "dieprofile-early-export.dxf";
    std::filesystem::remove(path);
    const Expected<void, ExportRefusal> exported =
        ExportDrawing(model, {path.string(), "Untitled", {}, {}, {}, {}}, nullptr);
    ASSERT_FALSE(exported);
    EXPECT_EQ(exported.Error().Message, "Cannot export \"" + path.string() +
                                            "\": there is no drawing yet. Press Calculate first.");
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace dieprofile::testing
