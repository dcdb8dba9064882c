// The blank selection: a catalogue row fills the diamond fields in the unit in force and hides
// them; the custom row shows them for typing.
#include "app/form_model.h"
#include "catalogue/catalogue.h"

namespace dieprofile {

void Form1Model::Combo1_Click() {
    if (comboRow_ < 1 || comboRow_ > static_cast<int>(CatalogueRows().size())) {
        return; // no current row yet: nothing to read
    }
    const std::optional<BlankInUnit> blank =
        ReadBlank(CatalogueRows()[static_cast<std::size_t>(comboRow_ - 1)], state_.UnitDivisor);
    if (!blank) {
        SetDiamondFieldsVisible(true);
        return;
    }
    WriteText(EditableText1(10), blank->DiameterText);
    state_.DiamondDiameter = blank->Diameter;
    WriteText(EditableText1(5), blank->HeightText);
    state_.DiamondHeight = blank->Height;
    state_.DrawScale = DrawScaleFor(scene_, state_.DiamondDiameter);
    SetDiamondFieldsVisible(false);
}

} // namespace dieprofile
