// A page laid out on paper, in millimetres from the paper's top-left corner, x to the right, y
// down: lines, filled outlines and texts. Every export that leaves as paper (the drawing sheet,
// the projector chart, the die set's schedule) is laid out as pages here, free of any toolkit;
// one painter in the view draws a page on a PDF, an SVG or a printer, and the headless driver
// prints it.
#pragma once

#include "core/geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dieprofile {

// ISO 128 line types, as far as this program draws them.
// A colour as 0xRRGGBB; drawings are black, the die set's charts and table tinted.
using PageColour = std::uint32_t;
inline constexpr PageColour kBlack = 0x000000;

enum class LineType {
    Continuous, // outlines, dimension and extension lines, hatching
    Centre,     // long dash, dot: the axis
    Phantom,    // long dash, two dots: the wires, parts beside the die
    Dashed,     // hidden edges
};

struct PageLine {
    Point Start;
    Point End;
    double WidthMm = 0.25;
    LineType Type = LineType::Continuous;
    PageColour Colour = kBlack;
};

// A closed outline, filled (arrowheads) or drawn with a line of the given width.
struct PageOutline {
    std::vector<Point> Corners;
    bool Filled = true;
    double WidthMm = 0.25;
    PageColour Colour = kBlack;
};

enum class TextAlign { Left, Centre, Right };

struct PageText {
    Point At;              // on the baseline, at the alignment point
    std::string Text;      // UTF-8
    double HeightMm = 3.5; // capital height, as ISO 3098 states lettering
    TextAlign Align = TextAlign::Left;
    double AngleDeg = 0; // counter-clockwise as read on the paper
    bool Bold = false;
    bool Monospace = false;
    PageColour Colour = kBlack;
};

struct Page {
    double WidthMm = 0;
    double HeightMm = 0;
    std::vector<PageLine> Lines;
    std::vector<PageOutline> Outlines;
    std::vector<PageText> Texts;
};

} // namespace dieprofile
