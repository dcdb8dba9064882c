// Switching between inches and millimetres: the wire diameters are converted through their
// shortest text, and the catalogue blank is read again in the new unit.
#include "app/form_model.h"
#include "app/number_text.h"

#include <cmath>

namespace dieprofile {

namespace {
constexpr double kMillimetresPerInch = 25.4;
}

void Form1Model::ChooseOption(int index) {
    // Choosing the unit already shown converts nothing, so the diameters are never multiplied
    // twice.
    if (index != 0 && index != 1) {
        return;
    }
    if (index == OptionIndex) {
        return;
    }
    const int previous = OptionIndex;
    OptionIndex = index;
    if (!SwitchUnits(static_cast<std::int16_t>(index))) {
        OptionIndex = previous;
    }
}

void Form1Model::Option1_Click(std::int16_t index) {
    SwitchUnits(index);
}

bool Form1Model::SwitchUnits(std::int16_t index) {
    const bool toInches = index == 0;
    const double divisor = toInches ? kMillimetresPerInch : 1.0;
    // Both diameters are converted before anything is written, so a field that is not a number
    // leaves the unit, the option and both fields as they were.
    std::string converted[2];
    for (int field = 0; field < 2; ++field) {
        const std::optional<double> value = ReadField(field);
        if (!value) {
            return false;
        }
        const double result = toInches ? *value / divisor : *value * kMillimetresPerInch;
        if (!std::isfinite(result)) {
            UI().ShowMessage(std::string(Text1Caption(field)) +
                             " is too large to show in millimetres.");
            GiveFocus(Text1Control(field));
            return false;
        }
        converted[field] = NumberToText(result);
    }
    State.UnitDivisor = divisor;
    WriteText(Text1(0), std::move(converted[0]));
    WriteText(Text1(1), std::move(converted[1]));
    Combo1_Click();
    return true;
}

} // namespace dieprofile
