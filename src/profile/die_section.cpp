#include "profile/die_section.h"

namespace dieprofile {

SectionFrame FrameOf(const ProfileState& state) {
    return {static_cast<double>(state.CentreX), static_cast<double>(state.DieBaseY),
            state.DrawScale};
}

Point ToSection(const SectionFrame& frame, double x, double y) {
    return {(x - frame.CentreX) / frame.DrawScale, (frame.BaseY - y) / frame.DrawScale};
}

SectionLine ToSection(const SectionFrame& frame, const Segment& segment) {
    return {ToSection(frame, segment.X1, segment.Y1), ToSection(frame, segment.X2, segment.Y2)};
}

BoreWall BoreWallOf(const SectionFrame& frame, const DrawingScene& scene, BoreSide side) {
    const bool right = side == BoreSide::Right;
    const Segment& bell = right ? scene.LineDieBellRight : scene.LineDieBellLeft;
    const Segment& cone = right ? scene.LineDieReductionRight : scene.LineDieReductionLeft;
    const Segment& back = right ? scene.LineDieBackRight : scene.LineDieBackLeft;
    // The bearing is not a line of its own in the drawing: it runs from the cone's lower end
    // straight down to where the back relief starts.
    return {ToSection(frame, bell.X1, bell.Y1), ToSection(frame, cone.X1, cone.Y1),
            ToSection(frame, cone.X2, cone.Y2), ToSection(frame, back.X1, back.Y1),
            ToSection(frame, back.X2, back.Y2)};
}

} // namespace dieprofile
