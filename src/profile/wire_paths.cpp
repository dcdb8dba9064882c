// The two wires: the exiting wire runs down the bearing; the entering wire comes down the bore
// until its edge meets the reduction cone or, with a warning, the entrance bell.
#include "profile/calculation_stages.h"

namespace dieprofile {

namespace {

// The height at which the vertical line x = w crosses a wall. A vertical wall (an angle of 0)
// with the edge exactly on it has no single crossing; the lower end is then left as it was.
void RestOnWall(float w, const Segment& wall, float& lowerEnd) {
    if (wall.X2 == wall.X1) {
        return;
    }
    const double x1 = wall.X1;
    const double y1 = wall.Y1;
    lowerEnd = ToSingle((w - x1) * (wall.Y2 - y1) / (wall.X2 - x1) + y1);
}

bool Spans(const Segment& wall, float w) {
    return w >= wall.X2 && w <= wall.X1;
}

} // namespace

void PlaceExitingWire(const ProfileState& state, DrawingScene& scene) {
    const double S = state.DrawScale;
    const double C = state.CentreX;
    const double B = state.DieBaseY;
    const double rO = S * state.OutletDiameter / 2;
    const double top = B - (state.ExitLength + state.BearingLength) * S;

    scene.LineExitWireBottom.X2 = ToSingle(rO + C);
    scene.LineExitWireBottom.X1 = ToSingle(C - rO);
    scene.LineExitWireRight.X1 = ToSingle(rO + C);
    scene.LineExitWireRight.Y1 = ToSingle(top);
    scene.LineExitWireRight.X2 = ToSingle(rO + C);
    scene.LineExitWireLeft.X1 = ToSingle(C - rO);
    scene.LineExitWireLeft.Y1 = ToSingle(top);
    scene.LineExitWireLeft.X2 = ToSingle(C - rO);
    scene.Line18.X1 = ToSingle(rO + C);
    scene.Line18.X2 = ToSingle(rO + C);
    scene.Line19.X1 = ToSingle(C - rO);
    scene.Line19.X2 = ToSingle(C - rO);
}

EnteringWirePlacement PlaceEnteringWire(const ProfileState& state, DrawingScene& scene) {
    const double S = state.DrawScale;
    const double C = state.CentreX;
    const double rI = state.IncomingDiameter * S / 2;
    EnteringWirePlacement placement;

    scene.LineEnterWireTop.X2 = ToSingle(rI + C);
    scene.LineEnterWireTop.X1 = ToSingle(C - rI);
    scene.Line21.X1 = ToSingle(rI + C);
    scene.Line21.X2 = ToSingle(rI + C);
    scene.Line22.X1 = ToSingle(C - rI);
    scene.Line22.X2 = ToSingle(C - rI);
    scene.LineEnterWireRight.X1 = ToSingle(rI + C);
    scene.LineEnterWireRight.X2 = ToSingle(rI + C);

    // Only the right side is examined; the bounds are inclusive. The reduction test runs after
    // the bell test in every case, so at the junction, where both hold, the cone's value stays.
    const float w = scene.LineEnterWireRight.X1;
    if (Spans(scene.LineDieBellRight, w)) {
        placement.BellContact = true;
        RestOnWall(w, scene.LineDieBellRight, scene.LineEnterWireRight.Y1);
    }
    if (Spans(scene.LineDieReductionRight, w)) {
        RestOnWall(w, scene.LineDieReductionRight, scene.LineEnterWireRight.Y1);
    }
    // A wire wider than the bell's mouth meets neither wall and keeps its previous lower end.

    scene.LineEnterWireLeft.Y1 = scene.LineEnterWireRight.Y1;
    scene.LineEnterWireLeft.X1 = ToSingle(C - rI);
    scene.LineEnterWireLeft.X2 = ToSingle(C - rI);
    return placement;
}

} // namespace dieprofile
