// What the user asks of an overlay chart for the profile projector: the magnification, the
// tolerance band either side of the bore's walls, whether the whole section or only the bore is
// drawn, which zone of the bore, and whether the projector's optics reverse the image. The dialog
// and the command line both check their values here.
#pragma once

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

inline constexpr double kMinMagnification = 1;
inline constexpr double kMaxMagnification = 1000;

struct OverlayOptions {
    double Magnification = 50;
    double Tolerance = 0; // in the unit in force; 0 draws no band
    OverlayView View = OverlayView::Bore;
    OverlayRegion Region = OverlayRegion::All;
    // For projectors whose optics reverse the image: the chart drawn mirrored along the axis, the
    // entry face at the bottom of the paper, its words still reading the right way.
    bool Mirror = false;
    bool operator==(const OverlayOptions&) const = default;
};

// Nothing when the options can be drawn; otherwise one line for the user saying what is wrong.
std::optional<std::string> CheckOverlayOptions(const OverlayOptions& options);

// The options from the texts a user typed (the dialog's fields, the command line's values): the
// options, or the message for the first value that is wrong. An empty tolerance text means none.
std::variant<OverlayOptions, std::string>
ParseOverlayOptions(std::string_view magnification, std::string_view tolerance, OverlayView view);

} // namespace dieprofile
