// The blank selection: a catalogue row fills the diamond fields in the unit in force and hides
// them; the custom row shows them for typing.
#include "app/form_model.h"
#include "catalogue/catalogue.h"

namespace dieprofile {

void Form1Model::Combo1_Click() {
    if (ComboRow < 1 || ComboRow > static_cast<int>(CatalogueRows().size())) {
        return; // no current row yet: nothing to read
    }
    const std::optional<BlankInUnit> blank =
        ReadBlank(CatalogueRows()[static_cast<std::size_t>(ComboRow - 1)], State.UnitDivisor);
    if (!blank) {
        SetDiamondFieldsVisible(true);
        return;
    }
    WriteText(Text1(10), blank->DiameterText);
    State.DiamondDiameter = blank->Diameter;
    WriteText(Text1(5), blank->HeightText);
    State.DiamondHeight = blank->Height;
    State.DrawScale = DrawScaleFor(Scene, State.DiamondDiameter);
    SetDiamondFieldsVisible(false);
}

} // namespace dieprofile
