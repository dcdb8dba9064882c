#include "model_fixture.h"
#include "profile/die_section.h"

namespace dieprofile::testing {
namespace {

using DieSectionTest = ModelTest;

// The default profile on a 0.180 x 0.180 inch blank: the bore's wall read off the drawing lands on
// the die's own dimensions, to within what single-precision twips can hold.
TEST_F(DieSectionTest, BoreWallIsTheDieInTrueUnits) {
    UseDefaultProfile();
    model.Command1_Click();
    const ProfileState& s = model.State;
    const SectionFrame frame = FrameOf(s);
    const double tolerance = 1e-6 * s.DiamondHeight;
    const BoreWall right = BoreWallOf(frame, model.Scene, BoreSide::Right);
    const BoreWall left = BoreWallOf(frame, model.Scene, BoreSide::Left);

    const double bearingTop = s.ExitLength + s.BearingLength;
    const double coneTop = bearingTop + s.ReductionLength;
    const struct {
        const char* name;
        Point point;
        double x;
        double y;
    } rows[] = {
        {"mouth at the top face", right[0], right[0].X, s.DiamondHeight},
        {"bell meets cone", right[1], right[1].X, coneTop},
        {"bearing starts", right[2], s.OutletDiameter / 2, bearingTop},
        {"bearing ends", right[3], s.OutletDiameter / 2, s.ExitLength},
        {"exit opening in the bottom face", right[4], right[4].X, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(row.point.X, row.x, tolerance);
        EXPECT_NEAR(row.point.Y, row.y, tolerance);
    }
    // The walls mirror each other about the axis, and widen from the bearing both ways.
    for (std::size_t i = 0; i < right.size(); ++i) {
        EXPECT_NEAR(left[i].X, -right[i].X, tolerance) << i;
        EXPECT_EQ(left[i].Y, right[i].Y) << i;
    }
    EXPECT_GT(right[0].X, right[1].X);
    EXPECT_GT(right[1].X, right[2].X);
    EXPECT_GT(right[4].X, right[3].X);
}

} // namespace
} // namespace dieprofile::testing
