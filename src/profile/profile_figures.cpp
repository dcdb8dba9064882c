#include "profile/profile_figures.h"

namespace dieprofile {

namespace {

// The inclusive x range test Calculate uses on a bore wall segment, in single precision.
bool Spans(float wireEdge, const Segment& wall) {
    return wireEdge >= wall.X2 && wireEdge <= wall.X1;
}

} // namespace

double ElongationPercent(double incomingDiameter, double outletDiameter) {
    const double ratio = incomingDiameter / outletDiameter;
    return 100 * (ratio * ratio - 1);
}

MeetingPoint MeetingPointOf(const SectionFrame& frame, const DrawingScene& scene) {
    const float edge = scene.LineEnterWireRight.X1;
    const Segment& bell = scene.LineDieBellRight;
    const Segment& cone = scene.LineDieReductionRight;
    MeetingPoint point;
    // A wire edge exactly at the junction passes both tests; Calculate warns about the bell there.
    if (Spans(edge, bell)) {
        point.Contact = WireContact::Bell;
    } else if (Spans(edge, cone)) {
        point.Contact = WireContact::ReductionCone;
    } else if (edge > bell.X1) {
        point.Contact = WireContact::WiderThanMouth;
    }
    const double lowerEnd = scene.LineEnterWireRight.Y1;
    point.AboveBearing = (static_cast<double>(cone.Y2) - lowerEnd) / frame.DrawScale;
    const double zone = static_cast<double>(cone.Y2) - cone.Y1;
    point.PercentOfReduction = zone != 0 ? 100 * (cone.Y2 - lowerEnd) / zone : 0;
    return point;
}

ProfileFigures FiguresOf(const ProfileState& calculated, const SectionFrame& frame,
                         const DrawingScene& scene) {
    return {calculated.EntranceLength,
            calculated.ReductionLength,
            calculated.BearingLength,
            calculated.ExitLength,
            ElongationPercent(calculated.IncomingDiameter, calculated.OutletDiameter),
            MeetingPointOf(frame, scene)};
}

} // namespace dieprofile
