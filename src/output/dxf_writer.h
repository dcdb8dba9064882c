// A small writer of DXF release 12 (AC1009) ASCII files with lines, polylines, filled solids and
// single-line texts on named layers: the version every CAM importer reads. Numbers are written in
// the C locale, each the shortest text that reads back as the same double.
#pragma once

#include "core/geometry.h"
#include "profile/die_section.h"

#include <array>
#include <string>
#include <vector>

namespace dieprofile {

struct DxfLinetype {
    std::string Name;
    std::string Description;
    std::vector<double> Pattern; // dash lengths, gaps negative; empty for a continuous line
};

struct DxfLayer {
    std::string Name;
    int Colour = 7; // AutoCAD colour index: 7 is black on white, white on black
    std::string Linetype = "CONTINUOUS";
};

struct DxfLine {
    std::string Layer;
    Point Start;
    Point End;
};

enum class DxfTextAlignment { Left, Centre, Right };

struct DxfText {
    std::string Layer;
    Point At; // on the baseline: its left end, middle or right end by the alignment
    double Height = 1;
    DxfTextAlignment Alignment = DxfTextAlignment::Left;
    std::string Text;
    double RotationDeg = 0; // counter-clockwise
};

// A chain of vertices as one entity, so a CAM program picks a contour in one click; closed joins
// the last vertex back to the first.
struct DxfPolyline {
    std::string Layer;
    std::vector<Point> Vertices;
    bool Closed = false;
};

// A filled triangle or quadrilateral, as an arrowhead is drawn; a triangle repeats its last corner.
// The corners go round the outline: the writer puts them in the order a SOLID wants.
struct DxfSolid {
    std::string Layer;
    std::array<Point, 4> Corners{};
};

// The header's unit: $INSUNITS 1 inches, 4 millimetres; $MEASUREMENT 0 imperial, 1 metric.
enum class DxfUnit { Inches, Millimetres };

struct DxfDocument {
    std::vector<std::string> Comments; // 999 lines at the top of the file
    DxfUnit Unit = DxfUnit::Millimetres;
    std::vector<DxfLinetype> Linetypes; // CONTINUOUS is always declared
    std::vector<DxfLayer> Layers;
    std::vector<DxfLine> Lines;
    std::vector<DxfPolyline> Polylines;
    std::vector<DxfSolid> Solids;
    std::vector<DxfText> Texts;
};

// Whether every coordinate and text height is a finite number, as every reader needs.
bool AllFinite(const DxfDocument& document);

// The whole file. Texts, names and comments are UTF-8 in and Windows code page 1252 out, which
// the header declares: a character that page holds is its byte, any other is written \U+XXXX,
// which CAD readers decode. A control character, a character beyond U+FFFF and a byte that is
// not UTF-8 become '?', so that every reader decodes the same text.
std::string WriteDxf(const DxfDocument& document);

} // namespace dieprofile
