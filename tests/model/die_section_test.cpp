#include "model_fixture.h"
#include "profile/die_section.h"

namespace dieprofile::testing {
namespace {

using DieSectionTest = ModelTest;

// The default profile on a 0.180 x 0.180 inch blank, 26000 twips to the inch: the bore's wall read
// off the drawing lands exactly on the die's own dimensions where the drawing holds them in whole
// twips, and elsewhere on the single-precision ends the drawing stores.
TEST_F(DieSectionTest, BoreWallIsTheDieInTrueUnits) {
    UseDefaultProfile();
    model.Command1_Click();
    const SectionFrame frame = FrameOf(model.State());
    const BoreWall right = BoreWallOf(frame, model.Scene(), BoreSide::Right);
    const BoreWall left = BoreWallOf(frame, model.Scene(), BoreSide::Left);

    // Inches from the axis of a stored x (axis at 3900 twips).
    const auto across = [](float x) { return (static_cast<double>(x) - 3900) / 26000; };
    const struct {
        const char* name;
        double leftX;
        double rightX;
        double y; // above the bottom face
    } rows[] = {
        {"mouth at the top face", across(2605.12402f), across(5194.87598f), 0.180},
        {"bell meets cone", across(3259.81934f), across(4540.18066f), 0.126},
        {"bearing starts", -0.012 / 2, 0.012 / 2, 0.042},
        {"bearing ends", -0.012 / 2, 0.012 / 2, 0.036},
        {"exit opening in the bottom face", across(3307.53638f), across(4492.46338f), 0.0},
    };
    for (std::size_t i = 0; i < right.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(left[i].X, rows[i].leftX);
        EXPECT_EQ(right[i].X, rows[i].rightX);
        EXPECT_EQ(left[i].Y, rows[i].y);
        EXPECT_EQ(right[i].Y, rows[i].y);
    }
    // The walls widen from the bearing both ways.
    EXPECT_GT(right[0].X, right[1].X);
    EXPECT_GT(right[1].X, right[2].X);
    EXPECT_GT(right[4].X, right[3].X);
}

} // namespace
} // namespace dieprofile::testing
