// The overlay chart for the profile projector, laid out on paper in millimetres: the die's section
// (or only its bore) at exactly the magnification, the axis, the tolerance band either side of the
// bore's walls, and the tiling of that sheet over as many pages as it needs, each with alignment
// marks, its place in the grid and a check bar of stated length. Nothing is fitted to the page:
// a length L of the die is L x M on paper.
#pragma once

#include "core/geometry.h"
#include "output/overlay_options.h"
#include "profile/die_section.h"
#include "profile/drawing_scene.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dieprofile {

enum class OverlayStroke {
    Profile,  // the die's own lines
    Axis,     // the die's axis, dash-dotted
    Band,     // the tolerance band, thinner than the profile
    Mark,     // the crosses that align neighbouring pages
    CheckBar, // the bar of stated length and its end ticks
};

struct PaperLine {
    Point Start;
    Point End;
    OverlayStroke Stroke = OverlayStroke::Profile;
};

// Neighbouring pages share this much of the sheet, so that they can be laid over each other.
inline constexpr double kPageOverlapMm = 10;
// The strip at the foot of every page that holds the words and the check bar; the sheet is tiled
// over the rest of the printable area.
inline constexpr double kFooterHeightMm = 14;
// Free paper around the profile.
inline constexpr double kSheetMarginMm = 12;
// A sheet needing more pages than this is refused rather than sent to a printer.
inline constexpr int kMaxOverlayPages = 10000;

// The lines of the chosen view in the unit in force, y up, origin on the axis at the bottom
// face: the bore's two walls (and, for the whole section, the blank's outline and the wires).
std::vector<SectionLine> OverlayViewLines(const SectionFrame& frame, const DrawingScene& scene,
                                          OverlayView view);

// A chain of points offset by distance to its left (negative: to its right), corners joined where
// the neighbouring offset lines meet (bevelled where that point would lie far out), ends on the
// horizontals through the chain's own ends. Points closer together than a hair are taken as one.
std::vector<Point> OffsetChain(const std::vector<Point>& chain, double distance);

struct OverlayPage {
    int Row = 1;                    // from the top, 1-based
    int Column = 1;                 // from the left, 1-based
    Point Origin;                   // the sheet's point at the top left of the printable area
    std::string Label;              // "row r, column c of R × C"
    std::vector<std::size_t> Lines; // indices of the sheet's lines that reach this page
};

struct OverlayPages {
    std::vector<PaperLine> Lines; // on the sheet, in millimetres, x to the right, y down: profile,
                                  // axis, band and alignment marks
    double TileWidth = 0;         // the part of the sheet each page shows
    double TileHeight = 0;
    int Rows = 0;
    int Columns = 0;
    std::vector<OverlayPage> Pages; // row by row

    // The foot of every page, from the printable area's top left.
    std::vector<PaperLine> FooterLines; // the check bar and its end ticks
    double CheckBarMm = 0;
    std::string Info;      // design name, magnification, unit, tolerance
    Point InfoAt;          // baseline start
    std::string Statement; // "this bar is 50 mm long"
    Point StatementAt;     // baseline start
    Point LabelAt;         // baseline end: the page's label is set flush right here
};

// The drawing of the last Calculate (its frame, scene and unit divisor) as overlay pages for a
// printable area of the given size in millimetres; or the message for the user when it cannot be
// drawn (bad options, too small a page, too many pages).
std::variant<OverlayPages, std::string>
LayOutOverlay(const SectionFrame& frame, const DrawingScene& scene, double unitDivisor,
              const OverlayOptions& options, std::string_view designName, double printableWidthMm,
              double printableHeightMm);

} // namespace dieprofile
