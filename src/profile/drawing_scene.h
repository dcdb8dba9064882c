// The die drawing as data: named line segments and value labels in panel twips. Calculate moves
// segment ends and rewrites captions; nothing is ever added, removed or restyled.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dieprofile {

enum class LineStyle { Solid, Dashed, Dotted };
enum class LabelAlignment { Left, Centre, Right };

// Two ends in single-precision twips; a double written here is rounded to float, and a value
// read back is that float.
struct Segment {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    bool operator==(const Segment&) const = default;
};

struct ValueLabel {
    std::string Caption = "***";
    bool operator==(const ValueLabel&) const = default;
};

struct DrawingScene {
    DrawingScene();

    Segment LineDieLeft;
    Segment LineDieRight;
    Segment LineDieTopLeft;
    Segment LineDieTopRight;
    Segment LineDieBottomLeft;
    Segment LineDieBottomRight;
    Segment LineDieBellLeft;
    Segment LineDieBellRight;
    Segment LineDieReductionLeft;
    Segment LineDieReductionRight;
    Segment LineDieBackLeft;
    Segment LineDieBackRight;
    Segment LineEnterWireLeft;
    Segment LineEnterWireRight;
    Segment LineEnterWireTop;
    Segment LineExitWireLeft;
    Segment LineExitWireRight;
    Segment LineExitWireBottom;
    Segment Line22;
    Segment Line21;
    Segment Line19;
    Segment Line18;
    Segment Line15;
    Segment Line14;
    Segment Line70;
    Segment Line78;
    Segment Line79;
    Segment Line16;
    Segment Line17;
    Segment Line93;
    Segment Line72;
    Segment Line71;
    Segment Line74;
    Segment Line75;
    Segment Line11;
    Segment Line33;
    Segment Line52;
    Segment Line53;
    Segment Line56;
    Segment Line57;
    Segment Line38;
    Segment Line39;
    Segment Line42;
    Segment Line43;
    Segment Line5;
    Segment Line54;
    Segment Line44;
    Segment Line45;
    Segment Line6;
    Segment Line4;
    Segment Line48;
    Segment Line49;
    Segment Line7;
    Segment Line62;
    Segment Line58;
    Segment Line59;
    Segment Line8;
    Segment Line63;
    Segment Line64;
    Segment Line65;
    Segment Line9;

    ValueLabel Label2;
    ValueLabel Label3;
    ValueLabel Label4;
    ValueLabel Label5;
    ValueLabel Label6;
    ValueLabel Label7;
    ValueLabel Label8;
    ValueLabel Label9;
    ValueLabel Label10;

    bool operator==(const DrawingScene&) const = default;
};

// What a line of the drawing shows. Every export sorts the drawing by it (the DXF's layers, the
// lines the projector chart draws), so a line added to the drawing goes where its kind goes.
enum class SegmentRole {
    BlankOutline, // the diamond blank's outer edges and its top and bottom faces
    BoreWall,     // the bell, the reduction cone and the back relief
    Wire,         // the entering and the drawn wire
    Dimension,    // dimension and extension lines, arrowheads, the wires' ticks
    Axis,         // the die's centre line, which the exports draw beyond the window's drawing
};

struct SegmentDesign {
    std::string_view Name;
    Segment DrawingScene::*Member;
    Segment Ends; // where the design drawing puts it
    int WidthPixels;
    LineStyle Style;
    bool Moved; // whether Calculate ever writes one of its coordinates
    SegmentRole Role;
};

struct LabelDesign {
    std::string_view Name;
    ValueLabel DrawingScene::*Member;
    int Left;
    int Top;
    int Width;
    int Height;
    LabelAlignment Alignment;
};

inline constexpr std::size_t kSegmentCount = 61;
inline constexpr std::size_t kValueLabelCount = 9;

// Every element in the order of the drawing's tables: blank and bore, wires, wire ticks, then the
// dimension groups.
const std::array<SegmentDesign, kSegmentCount>& SceneSegments();
const std::array<LabelDesign, kValueLabelCount>& SceneLabels();

// Twips of drawing per unit of length: the blank's bottom edge, end to end, is the diamond
// diameter.
double DrawScaleFor(const DrawingScene& scene, double diamondDiameter);

// Writes a double into a segment coordinate with IEEE rounding: a magnitude beyond float's range
// becomes an infinity instead of undefined behaviour.
float ToSingle(double value);

} // namespace dieprofile
