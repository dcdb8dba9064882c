// The blank's outline and the bore, from the bottom face up: back relief, reduction cone and
// entrance bell, each wall from the tangent of its half-angle.
#include "profile/calculation_stages.h"

#include <cmath>

namespace dieprofile {

namespace {

// The tangent of half an included angle, turned into radians with the start-up value of pi.
// (angle × pi and pi × angle are the same double, so one helper serves all three walls.)
double HalfAngleTangent(double angle, double pi) {
    return std::tan(angle * pi / 2 / 180);
}

} // namespace

void SetBlankOutlineHeight(const ProfileState& state, DrawingScene& scene) {
    const double h = state.DiamondHeight;
    const double s = state.DrawScale;
    // The blank keeps its width and its bottom; only the top face moves.
    auto top = [&] { return static_cast<double>(scene.LineDieLeft.Y2) - h * s; };
    scene.LineDieLeft.Y1 = ToSingle(top());
    scene.LineDieRight.Y1 = ToSingle(top());
    scene.LineDieTopRight.Y1 = ToSingle(top());
    scene.LineDieTopRight.Y2 = ToSingle(top());
    scene.LineDieTopLeft.Y1 = ToSingle(top());
    scene.LineDieTopLeft.Y2 = ToSingle(top());
}

void PlaceBore(const ProfileState& state, DrawingScene& scene) {
    const double S = state.DrawScale;
    const double C = state.CentreX;
    const double B = state.DieBaseY;
    const double rO = S * state.OutletDiameter / 2;
    const double Ex = state.ExitLength;
    const double Be = state.BearingLength;
    const double Re = state.ReductionLength;
    const double En = state.EntranceLength;
    const double tX = HalfAngleTangent(state.ExitAngle, state.PiValue);
    const double tR = HalfAngleTangent(state.ReductionAngle, state.PiValue);
    const double tE = HalfAngleTangent(state.EntranceAngle, state.PiValue);

    // Bottom face and back relief.
    scene.LineDieBottomLeft.X2 = ToSingle(C - rO);
    scene.LineDieBottomRight.X1 = ToSingle(rO + C);
    scene.LineDieBackLeft.X1 = ToSingle(C - rO);
    scene.LineDieBackLeft.Y1 = ToSingle(B - Ex * S);
    scene.LineDieBackLeft.X2 = ToSingle(C - (tX * Ex + state.OutletDiameter / 2) * S);
    scene.LineDieBackRight.X1 = ToSingle(rO + C);
    scene.LineDieBackRight.Y1 = ToSingle(B - Ex * S);
    scene.LineDieBackRight.X2 = ToSingle((tX * Ex + state.OutletDiameter / 2) * S + C);

    // Reduction cone, from the start of the bearing up to the bell junction.
    scene.LineDieReductionRight.Y2 = ToSingle(B - (Ex + Be) * S);
    scene.LineDieReductionRight.X2 = ToSingle(rO + C);
    scene.LineDieReductionRight.X1 = ToSingle((rO + C) + (Re * S) * tR);
    scene.LineDieReductionRight.Y1 = ToSingle(B - ((Ex + Be) + Re) * S);
    scene.LineDieReductionLeft.Y2 = ToSingle(B - (Ex + Be) * S);
    scene.LineDieReductionLeft.X2 = ToSingle(C - rO);
    scene.LineDieReductionLeft.X1 = ToSingle((C - rO) - (Re * S) * tR);
    scene.LineDieReductionLeft.Y1 = ToSingle(B - ((Ex + Be) + Re) * S);

    // Entrance bell, from the junction up to its mouth; it starts where the cone ends.
    scene.LineDieBellRight.Y1 = ToSingle(B - (((Ex + Be) + Re) + En) * S);
    scene.LineDieBellRight.Y2 = ToSingle(B - ((Ex + Be) + Re) * S);
    scene.LineDieBellRight.X2 = scene.LineDieReductionRight.X1;
    scene.LineDieBellRight.X1 = ToSingle((S * En) * tE + scene.LineDieReductionRight.X1);
    scene.LineDieBellLeft.Y1 = ToSingle(B - (((Ex + Be) + Re) + En) * S);
    scene.LineDieBellLeft.Y2 = ToSingle(B - ((Ex + Be) + Re) * S);
    scene.LineDieBellLeft.X2 = scene.LineDieReductionLeft.X1;
    scene.LineDieBellLeft.X1 = ToSingle(scene.LineDieReductionLeft.X1 - (S * En) * tE);
}

void PlaceTopFace(const ProfileState& state, DrawingScene& scene) {
    const double C = state.CentreX;
    const double rI = state.IncomingDiameter * state.DrawScale / 2;
    scene.LineDieTopLeft.X2 = ToSingle(C - rI);
    scene.LineDieTopRight.X1 = ToSingle(rI + C);
}

} // namespace dieprofile
