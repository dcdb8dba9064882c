// What the user asks of an overlay chart for the profile projector: the magnification, the
// tolerance band either side of the bore's walls, and whether the whole section or only the bore
// is drawn. The dialog and the command line both check their values here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dieprofile {

enum class OverlayView {
    Bore,   // both walls of the bore, from the bell's mouth to the exit opening; no wires
    Section // the bore's walls, the blank's outline and the wires
};

inline constexpr double kMinMagnification = 1;
inline constexpr double kMaxMagnification = 1000;

struct OverlayOptions {
    double Magnification = 50;
    double Tolerance = 0; // in the unit in force; 0 draws no band
    OverlayView View = OverlayView::Bore;
    bool operator==(const OverlayOptions&) const = default;
};

// Nothing when the options can be drawn; otherwise one line for the user saying what is wrong.
std::optional<std::string> CheckOverlayOptions(const OverlayOptions& options);

// The options from the texts a user typed (the dialog's fields, the command line's values): the
// options, or the message for the first value that is wrong. An empty tolerance text means none.
std::variant<OverlayOptions, std::string>
ParseOverlayOptions(std::string_view magnification, std::string_view tolerance, OverlayView view);

} // namespace dieprofile
