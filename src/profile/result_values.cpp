// The two figures of the drawing pass: the delta value and the area reduction. Both depend only
// on the ratio of the diameters and the angle, so they are the same in either unit.
#include "core/number_text.h"
#include "profile/calculation_stages.h"

#include <cmath>
#include <optional>

namespace dieprofile {

namespace {

// A result goes through its field's text: the shortest text first, then that text read back and
// written with three decimals. A result that is not finite has no text to read back.
std::optional<std::string> ThroughFieldText(double value) {
    const std::optional<double> shown = ParseNumber(NumberToText(value));
    if (!shown) {
        return std::nullopt;
    }
    return FormatNumber(*shown, kMaskThreePlaces);
}

} // namespace

double DeltaValueOf(const ProfileState& state) {
    const double incoming = state.IncomingDiameter;
    const double outlet = state.OutletDiameter;

    // This stage's own pi, more precise than the one the bore geometry uses.
    const double halfAngle = state.ReductionAngle / 2;
    const double s = std::sin(halfAngle * (3.1415926 / 180));
    const double q = (incoming + outlet) / (incoming - outlet);
    return s * q;
}

ResultTexts ComputeResults(const ProfileState& state) {
    const double incoming = state.IncomingDiameter;
    const double outlet = state.OutletDiameter;
    const double delta = DeltaValueOf(state);

    const double r = outlet / incoming;
    const double p = std::pow(r, 2.0);
    const double area = (p - 1) * (-100);

    ResultTexts texts;
    const std::optional<std::string> deltaText = ThroughFieldText(delta);
    const std::optional<std::string> areaText = ThroughFieldText(area);
    if (deltaText && areaText) {
        texts.DeltaValue = *deltaText;
        texts.AreaReduction = *areaText;
        texts.Valid = true;
    }
    return texts;
}

} // namespace dieprofile
