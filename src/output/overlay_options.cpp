#include "output/overlay_options.h"

#include "core/file_name.h"
#include "core/number_text.h"
#include "output/design_file.h"

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

std::string_view OverlayOrientationName(OverlayOrientation orientation) {
    switch (orientation) {
    case OverlayOrientation::Auto:
        break;
    case OverlayOrientation::Portrait:
        return "portrait";
    case OverlayOrientation::Landscape:
        return "landscape";
    }
    return "auto";
}

std::optional<OverlayOrientation> OverlayOrientationNamed(std::string_view word) {
    for (const OverlayOrientation orientation : kOverlayOrientations) {
        if (OverlayOrientationName(orientation) == word) {
            return orientation;
        }
    }
    return std::nullopt;
}

Expected<void> CheckOverlayOptions(const OverlayOptions& options) {
    // Written so that a NaN fails every comparison and is refused.
    if (!(options.Magnification >= kMinMagnification &&
          options.Magnification <= kMaxMagnification)) {
        return Refusal{"The magnification must be from " + NumberToText(kMinMagnification) +
                       " to " + NumberToText(kMaxMagnification) + "."};
    }
    if (!std::isfinite(options.Tolerance)) {
        return Refusal{"The tolerance must be a number."};
    }
    if (options.Tolerance < 0) {
        return Refusal{"The tolerance must not be negative."};
    }
    if (!(options.AngleTolerance >= 0 && options.AngleTolerance <= kMaxAngleTolerance)) {
        return Refusal{"The angle tolerance must be from 0 to " + NumberToText(kMaxAngleTolerance) +
                       " degrees."};
    }
    return Done{};
}

Expected<OverlayOptions> ParseOverlayOptions(std::string_view magnification,
                                             std::string_view tolerance, OverlayView view,
                                             std::string_view angleTolerance) {
    OverlayOptions options;
    options.View = view;
    const std::optional<double> m = ParseNumber(magnification);
    if (!m) {
        return Refusal{"The magnification must be a number."};
    }
    options.Magnification = *m;
    if (tolerance.find_first_not_of(' ') != std::string_view::npos) {
        const std::optional<double> t = ParseNumber(tolerance);
        if (!t) {
            return Refusal{"The tolerance must be a number."};
        }
        options.Tolerance = *t;
    }
    if (angleTolerance.find_first_not_of(' ') != std::string_view::npos) {
        const std::optional<double> a = ParseNumber(angleTolerance);
        if (!a) {
            return Refusal{"The angle tolerance must be a number."};
        }
        options.AngleTolerance = *a;
    }
    if (Expected<void> drawable = CheckOverlayOptions(options); !drawable) {
        return drawable.Error();
    }
    return options;
}

std::string ChartPdfName(std::string_view designName, double magnification) {
    std::string name(designName);
    if (HasExtension(name, kDesignExtension.substr(1)) && name.size() > kDesignExtension.size()) {
        name.resize(name.size() - kDesignExtension.size());
    }
    if (name.empty()) {
        name = "die-profile";
    }
    return name + "-chart-" + NumberToText(magnification) + "x.pdf";
}

} // namespace dieprofile
