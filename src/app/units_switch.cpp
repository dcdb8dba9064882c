// Switching between inches and millimetres: the wire diameters are converted through their
// shortest text, and the catalogue blank is read again in the new unit.
#include "app/form_model.h"
#include "core/number_text.h"
#include "core/units.h"
#include "profile/form_design.h"

#include <cmath>

namespace dieprofile {

void Form1Model::ChooseOption(int index) {
    if (index == 0 || index == 1) {
        Option1_Click(static_cast<std::int16_t>(index));
    }
}

void Form1Model::Option1_Click(std::int16_t index) {
    // Choosing the unit already shown converts nothing, so the diameters are never multiplied
    // twice; a switch that cannot convert leaves the option where it was.
    if (index == optionIndex_) {
        return;
    }
    const bool toInches = index == 0;
    // Both diameters are converted before anything is written, so a field that is not a number
    // leaves the unit, the option and both fields as they were.
    std::string converted[2];
    for (int field = 0; field < 2; ++field) {
        const std::optional<double> value = ReadField(field);
        if (!value) {
            return;
        }
        const double result = toInches ? *value / kInchUnitDivisor : *value * kMillimetresPerInch;
        if (!std::isfinite(result)) {
            UI().ShowMessage(std::string(Text1Caption(field)) +
                             " is too large to show in millimetres.");
            GiveFocus(Text1Control(field));
            return;
        }
        converted[field] = NumberToText(result);
    }
    WriteText(EditableText1(0), std::move(converted[0]));
    WriteText(EditableText1(1), std::move(converted[1]));
    SetUnit(index);
}

void Form1Model::SetUnit(std::int16_t index) {
    optionIndex_ = index;
    state_.UnitDivisor = index == 0 ? kInchUnitDivisor : kMillimetreUnitDivisor;
    Combo1_Click();
}

} // namespace dieprofile
