// The overlay chart for the profile projector, laid out on paper in millimetres: the die's section
// (or only its bore, or one zone of it) at exactly the magnification, the axis, datum lines at the
// faces and the start of the bearing, the tolerance band either side of the bore's walls, and the
// tiling of that sheet over the pages that hold any of it, each with alignment marks, its place in
// the grid and check bars of stated length both ways. Nothing is fitted to the page: a length L of
// the die is L x M on paper.
#pragma once

#include "core/geometry.h"
#include "output/overlay_options.h"
#include "output/page.h"
#include "profile/die_section.h"
#include "profile/drawing_scene.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

enum class OverlayStroke {
    Profile,  // the die's own lines
    Axis,     // the die's axis, dash-dotted
    Band,     // the tolerance band, thinner than the profile
    Datum,    // the faces and the start of the bearing, narrow, across the profile
    Mark,     // the crosses that align neighbouring pages
    CheckBar, // the bars of stated length and their end ticks
};

// The width each kind of line is drawn at: the profile a little heavier than the band, so the two
// are told apart under the projector's lamp.
double OverlayStrokeWidthMm(OverlayStroke stroke);

struct PaperLine {
    Point Start; // x to the right, y down
    Point End;
    OverlayStroke Stroke = OverlayStroke::Profile;
};

// From the paper's edge to the part a printer can reach on every side.
inline constexpr double kPaperMarginMm = 10;
// Neighbouring pages share this much of the sheet, so that they can be laid over each other.
inline constexpr double kPageOverlapMm = 10;
// The strip at the foot of every page that holds the words and the horizontal check bar (taller
// by the warning's lines when there is one), and the strip at its right that holds the vertical
// one; the sheet is tiled over the rest.
inline constexpr double kFooterHeightMm = 19;
inline constexpr double kSideStripMm = 12;
// Free paper around the profile, to its right the room for the datums' names and heights, and to
// its left the room for the zones' nominal values.
inline constexpr double kSheetMarginMm = 12;
inline constexpr double kDatumLabelRoomMm = 28;
inline constexpr double kZoneLabelRoomMm = 10;
// The chart's lettering, capital height.
inline constexpr double kOverlayTextMm = 2.5;
// A sheet needing more pages than this is refused rather than sent to a printer.
inline constexpr int kMaxOverlayPages = 10000;

// The lines of the chosen view in the unit in force, y up, origin on the axis at the bottom
// face: the bore's two walls and, for the whole section, the blank's outline; never the wires.
std::vector<SectionLine> OverlayViewLines(const SectionFrame& frame, const DrawingScene& scene,
                                          OverlayView view);

// A chain of points offset by distance to its left (negative: to its right), corners joined where
// the neighbouring offset lines meet (bevelled where that point would lie far out), ends on the
// horizontals through the chain's own ends. Points closer together than a hair are taken as one.
std::vector<Point> OffsetChain(const std::vector<Point>& chain, double distance);

// The part of the line from start to end inside the box (edges included); false when none is.
bool ClipToBox(Point& start, Point& end, const Bounds& box);

// The heights along the axis (die units, from the bottom face) a region draws: a zone of the wall
// with the ends of its neighbours, a quarter of each but no longer than the zone (unless the zone
// has no length); the whole die for all.
struct AxialWindow {
    double Low = 0;
    double High = 0;
};
AxialWindow RegionWindow(const BoreWall& wall, OverlayRegion region);

struct OverlayPage {
    int Row = 1;                    // from the top, 1-based, in the whole grid
    int Column = 1;                 // from the left, 1-based, in the whole grid
    Point Origin;                   // the sheet's point at the top left of the page's tile
    std::string Label;              // "row r, column c of R × C"
    std::vector<std::size_t> Lines; // indices of the sheet's lines that cross this tile
    std::vector<std::size_t> Texts; // indices of the sheet's texts that start on this tile
};

struct OverlayPages {
    double PaperWidth = 0; // every page, turned as the options ask or as prints fewer pages
    double PaperHeight = 0;
    std::vector<PaperLine> Lines; // on the sheet: profile, band, axis, datums, alignment marks
    std::vector<PageText> Texts;  // on the sheet: the datums, the nominal values, the angle lines
    double TileWidth = 0;         // the part of the sheet each page shows
    double TileHeight = 0;
    int Rows = 0; // the grid over the whole sheet
    int Columns = 0;
    // Only the pages that hold part of the profile or the band, row by row.
    std::vector<OverlayPage> Pages;

    // The foot and side of every page, from the paper's top left.
    std::vector<PaperLine> FooterLines; // both check bars and their end ticks
    std::vector<PageText> FooterTexts;  // the words, the bars' statements; not the page's label
    double CheckBarMm = 0;
    std::string Statement; // "this bar is 50 mm long"
    Point LabelAt;         // baseline end: the page's label is set flush right here
    // Why the chart may mislead though it can be printed (the band hidden by the line), printed
    // in the foot of every page as well; empty when nothing is wrong.
    std::string Warning;
};

// The drawing of the last Calculate (its frame, scene and unit divisor) as overlay pages on paper
// of the given size in millimetres, either way round, turned as the options' orientation asks
// (auto: landscape only when it prints fewer pages than portrait); or the message for the user when
// it cannot be drawn (bad options, too small a page, too many pages). The design name is what the
// foot says the drawing is.
Expected<OverlayPages> LayOutOverlay(const SectionFrame& frame, const DrawingScene& scene,
                                     double unitDivisor, const OverlayOptions& options,
                                     std::string_view designName, double paperWidthMm,
                                     double paperHeightMm);

// The printed pages as laid-out paper: each tile's lines cut at its edges, its texts, the foot
// and side with the page's own label.
std::vector<Page> OverlayPaper(const OverlayPages& pages);

// "1 page", "12 pages".
std::string PageCountText(std::size_t pages);

} // namespace dieprofile
