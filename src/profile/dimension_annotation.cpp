// The dimensions of the drawing: the value labels, and the dimension lines, extension lines,
// arrowheads and leaders moved onto the new profile. Only the coordinate along each dimension
// moves; the one across it keeps its design value, so arrowheads keep their shape.
#include "core/number_text.h"
#include "profile/calculation_stages.h"

namespace dieprofile {

namespace {

// An arrowhead whose tip is end 2 of both strokes, tails on the side given by the sign.
void ArrowTipAtEnd2(Segment& stroke, float tip, float direction) {
    stroke.Y2 = tip;
    stroke.Y1 =
        ToSingle(static_cast<double>(stroke.Y2) + direction * static_cast<double>(ArrowOffset));
}

void WriteLabels(const ProfileState& state, DrawingScene& scene) {
    const double S = state.DrawScale;
    const double bellMouth = scene.LineDieBellRight.Y1;
    const double bellJunction = scene.LineDieBellRight.Y2;
    const double wireEnd = scene.LineEnterWireRight.Y1;
    const double bearingStart = scene.LineDieReductionRight.Y2;

    scene.Label9.Caption = FormatNumber(state.DiamondHeight, kMaskFourPlaces);
    scene.Label10.Caption = FormatNumber(state.DiamondDiameter, kMaskFourPlaces);
    scene.Label3.Caption = FormatNumber(state.IncomingDiameter, kMaskFivePlaces);
    scene.Label2.Caption = FormatNumber(state.OutletDiameter, kMaskFivePlaces);
    scene.Label4.Caption = FormatNumber((bellJunction - bellMouth) / S, kMaskFourPlaces);
    scene.Label5.Caption = FormatNumber((wireEnd - bellJunction) / S, kMaskFourPlaces);
    scene.Label6.Caption = FormatNumber((bearingStart - wireEnd) / S, kMaskFourPlaces);
    scene.Label7.Caption = FormatNumber(state.BearingLength, kMaskFourPlaces);
    scene.Label8.Caption = FormatNumber(state.ExitLength, kMaskFourPlaces);
}

// The blank's height, on its left.
void DimensionHeight(DrawingScene& scene) {
    const float topFace = scene.LineDieTopLeft.Y1;
    scene.Line15.Y1 = topFace;
    scene.Line15.Y2 = topFace;
    scene.Line16.Y1 = topFace;
    scene.Line70.Y1 = topFace;
    ArrowTipAtEnd2(scene.Line78, topFace, -1);
    ArrowTipAtEnd2(scene.Line79, topFace, -1);
}

// The chain of five heights on the blank's right, top to bottom.
void DimensionChain(DrawingScene& scene) {
    // Entrance bell.
    const float topFace = scene.LineDieTopRight.Y1;
    scene.Line39.Y1 = topFace;
    scene.Line33.Y1 = topFace;
    scene.Line33.Y2 = topFace;
    scene.Line5.Y1 = topFace;
    ArrowTipAtEnd2(scene.Line43, topFace, -1);
    ArrowTipAtEnd2(scene.Line42, topFace, -1);
    const float bellJunction = scene.LineDieBellRight.Y2;
    scene.Line52.Y1 = bellJunction;
    scene.Line52.Y2 = bellJunction;
    scene.Line39.Y2 = bellJunction;

    // Bell junction to the entering wire's lower end.
    scene.Line6.Y1 = bellJunction;
    scene.Line54.Y2 = bellJunction;
    ArrowTipAtEnd2(scene.Line45, bellJunction, -1);
    ArrowTipAtEnd2(scene.Line44, bellJunction, -1);
    scene.Line52.X2 = scene.LineDieBellRight.X2;
    const float wireEnd = scene.LineEnterWireRight.Y1;
    scene.Line53.Y1 = wireEnd;
    scene.Line53.Y2 = wireEnd;
    scene.Line53.X2 = scene.LineEnterWireRight.X1;
    scene.Line54.Y1 = wireEnd;

    // Wire's lower end to the start of the bearing; these arrowheads have their tip at end 1.
    scene.Line7.Y1 = wireEnd;
    scene.Line4.Y2 = wireEnd;
    for (Segment* stroke : {&scene.Line49, &scene.Line48}) {
        stroke->Y1 = wireEnd;
        stroke->Y2 = ToSingle(static_cast<double>(stroke->Y1) - ArrowOffset);
    }
    scene.Line56.X2 = scene.LineExitWireRight.X1;
    scene.Line56.Y1 = scene.LineExitWireRight.Y1;
    scene.Line56.Y2 = scene.LineExitWireRight.Y1;
    scene.Line4.Y1 = scene.LineExitWireRight.Y1;

    // Bearing and back relief; the bearing's arrowhead points up from below.
    const float bearingEnd = scene.LineDieBackRight.Y1;
    scene.Line57.Y1 = bearingEnd;
    scene.Line57.Y2 = bearingEnd;
    scene.Line57.X2 = scene.LineDieBackRight.X1;
    scene.Line63.Y1 = bearingEnd;
    scene.Line8.Y2 = bearingEnd;
    ArrowTipAtEnd2(scene.Line58, bearingEnd, +1);
    ArrowTipAtEnd2(scene.Line59, bearingEnd, +1);
    scene.Line62.Y1 = scene.Line56.Y1;
    scene.Line62.Y2 = scene.Line57.Y1;
}

} // namespace

void AnnotateDimensions(const ProfileState& state, DrawingScene& scene) {
    WriteLabels(state, scene);
    DimensionHeight(scene);
    DimensionChain(scene);
}

} // namespace dieprofile
