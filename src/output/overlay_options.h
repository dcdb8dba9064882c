// What the user asks of an overlay chart for the profile projector: the magnification, the
// tolerance band either side of the bore's walls, whether the whole section or only the bore is
// drawn, which zone of the bore, and whether the projector's optics reverse the image. The dialog
// and the command line both check their values here.
#pragma once

#include "core/expected.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dieprofile {

enum class OverlayView {
    Bore,   // both walls of the bore, from the bell's mouth to the exit opening
    Section // the bore's walls and the blank's outline; the die is what is checked, not the wires
};

// The part of the bore drawn: all of it, or one zone with the ends of its neighbours, so a zone
// can be checked at a high magnification on a few pages.
enum class OverlayRegion { All, Entrance, Reduction, Bearing, Back };

// "all", "entrance", "reduction", "bearing", "back": the command line's words and the dialog's.
std::string_view OverlayRegionName(OverlayRegion region);
std::optional<OverlayRegion> OverlayRegionNamed(std::string_view word);
inline constexpr OverlayRegion kOverlayRegions[] = {OverlayRegion::All, OverlayRegion::Entrance,
                                                    OverlayRegion::Reduction,
                                                    OverlayRegion::Bearing, OverlayRegion::Back};

// Which way the paper is turned: as asked, or (auto) landscape when that prints fewer pages.
enum class OverlayOrientation { Auto, Portrait, Landscape };
// "auto", "portrait", "landscape": the command line's words and the dialog's.
std::string_view OverlayOrientationName(OverlayOrientation orientation);
std::optional<OverlayOrientation> OverlayOrientationNamed(std::string_view word);
inline constexpr OverlayOrientation kOverlayOrientations[] = {
    OverlayOrientation::Auto, OverlayOrientation::Portrait, OverlayOrientation::Landscape};

inline constexpr double kMinMagnification = 1;
// A cone's angle tolerance, on its included angle, in degrees.
inline constexpr double kMaxAngleTolerance = 45;
inline constexpr double kMaxMagnification = 1000;

struct OverlayOptions {
    double Magnification = 50;
    double Tolerance = 0; // in the unit in force; 0 draws no band
    OverlayView View = OverlayView::Bore;
    OverlayRegion Region = OverlayRegion::All;
    // For projectors whose optics reverse the image: the chart drawn mirrored along the axis, the
    // entry face at the bottom of the paper, its words still reading the right way.
    bool Mirror = false;
    // For each cone, the two lines at its included angle plus and minus this many degrees through
    // the middle of its zone; 0 draws none.
    double AngleTolerance = 0;
    OverlayOrientation Orientation = OverlayOrientation::Auto;
    bool operator==(const OverlayOptions&) const = default;
};

// Nothing when the options can be drawn; otherwise one line for the user saying what is wrong.
Expected<void> CheckOverlayOptions(const OverlayOptions& options);

// The options from the texts a user typed (the dialog's fields, the command line's values): the
// options, or the message for the first value that is wrong. An empty tolerance text means none,
// and so does an empty angle tolerance.
Expected<OverlayOptions> ParseOverlayOptions(std::string_view magnification,
                                             std::string_view tolerance, OverlayView view,
                                             std::string_view angleTolerance = {});

// The name a chart's PDF is offered under: "NAME-chart-50x.pdf", NAME the design's file name
// without its extension ("die-profile" for a design never saved).
std::string ChartPdfName(std::string_view designName, double magnification);

} // namespace dieprofile
