// Calculate: the one Calculate of a die run over the window's own drawing, its result committed
// only when it went through, so a refusal leaves the window exactly as it was.
#include "app/form_model.h"
#include "catalogue/catalogue.h"
#include "profile/die_calculation.h"

namespace dieprofile {

void Form1Model::Command1_Click() {
    TypedDie die;
    die.UnitDivisor = state_.UnitDivisor;
    if (comboRow_ >= 1 && comboRow_ <= static_cast<int>(CatalogueRows().size())) {
        die.Blank = CatalogueRows()[static_cast<std::size_t>(comboRow_ - 1)];
    }
    for (std::size_t index = 0; index < die.FieldTexts.size(); ++index) {
        die.FieldTexts[index] = text1Fields_[index].Text;
    }
    Expected<Calculation, CalculateRefusal> done = Calculate(die, {state_, scene_});
    if (!done) {
        UI().ShowMessage(done.Error().Message);
        if (done.Error().Field) {
            GiveFocus(Text1Control(*done.Error().Field));
        }
        return;
    }
    // The warning informs and the drawing follows; a profile that cannot be drawn at all gets
    // only its refusal, not a warning about a wire that will not be shown.
    if (done->BellContact) {
        UI().ShowMessage(std::string(kBellContactWarning));
    }
    state_ = done->Drawing.Profile;
    scene_ = done->Drawing.Scene;
    lastCalculation_ = std::move(done->Drawing);
    WriteText(text3_, lastCalculation_->DeltaValue);
    WriteText(text2_, lastCalculation_->AreaReduction);
}

} // namespace dieprofile
