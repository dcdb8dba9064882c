#include "output/overlay_options.h"

#include "core/number_text.h"

#include <cmath>

namespace dieprofile {

std::string_view OverlayRegionName(OverlayRegion region) {
    switch (region) {
    case OverlayRegion::All:
        return "all";
    case OverlayRegion::Entrance:
        return "entrance";
    case OverlayRegion::Reduction:
        return "reduction";
    case OverlayRegion::Bearing:
        return "bearing";
    case OverlayRegion::Back:
        return "back";
    }
    return "all";
}

std::optional<OverlayRegion> OverlayRegionNamed(std::string_view word) {
    for (const OverlayRegion region : kOverlayRegions) {
        if (OverlayRegionName(region) == word) {
            return region;
        }
    }
    return std::nullopt;
}

std::optional<std::string> CheckOverlayOptions(const OverlayOptions& options) {
    // Written so that a NaN fails every comparison and is refused.
    if (!(options.Magnification >= kMinMagnification &&
          options.Magnification <= kMaxMagnification)) {
        return "The magnification must be from " + NumberToText(kMinMagnification) + " to " +
               NumberToText(kMaxMagnification) + ".";
    }
    if (!std::isfinite(options.Tolerance)) {
        return std::string("The tolerance must be a number.");
    }
    if (options.Tolerance < 0) {
        return std::string("The tolerance must not be negative.");
    }
    return std::nullopt;
}

std::variant<OverlayOptions, std::string>
ParseOverlayOptions(std::string_view magnification, std::string_view tolerance, OverlayView view) {
    OverlayOptions options;
    options.View = view;
    const std::optional<double> m = ParseNumber(magnification);
    if (!m) {
        return std::string("The magnification must be a number.");
    }
    options.Magnification = *m;
    if (tolerance.find_first_not_of(' ') != std::string_view::npos) {
        const std::optional<double> t = ParseNumber(tolerance);
        if (!t) {
            return std::string("The tolerance must be a number.");
        }
        options.Tolerance = *t;
    }
    if (std::optional<std::string> problem = CheckOverlayOptions(options)) {
        return *std::move(problem);
    }
    return options;
}

} // namespace dieprofile
