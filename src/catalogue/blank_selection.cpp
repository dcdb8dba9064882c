// The blank selection: a catalogue row fills the diamond fields in the unit in force and hides
// them; the custom row shows them for typing.
#include "app/form_model.h"
#include "app/number_text.h"
#include "catalogue/catalogue.h"

namespace dieprofile {

void Form1Model::Combo1_Click() {
    if (ComboRow < 1 || ComboRow > static_cast<int>(CatalogueRows().size())) {
        return; // no current row yet: nothing to read
    }
    const std::string_view row = CatalogueRows()[static_cast<std::size_t>(ComboRow - 1)];
    if (row == kCustomBlankRow) {
        SetDiamondFieldsVisible(true);
        return;
    }
    const BlankSlices slices = SliceBlankRow(row);
    // Every slice of the built-in rows is a number; value() states that.
    const double diameter = ParseNumber(slices.Diameter).value();
    const double height = ParseNumber(slices.Height).value();

    WriteText(Text1(10), FormatNumber(diameter / State.UnitDivisor, kMaskFourPlaces));
    State.DiamondDiameter = diameter / State.UnitDivisor;
    WriteText(Text1(5), FormatNumber(height / State.UnitDivisor, kMaskFourPlaces));
    State.DiamondHeight = height / State.UnitDivisor;
    const double span =
        static_cast<double>(Scene.LineDieBottomRight.X2) - Scene.LineDieBottomLeft.X1;
    State.DrawScale = span / State.DiamondDiameter;
    SetDiamondFieldsVisible(false);
}

} // namespace dieprofile
