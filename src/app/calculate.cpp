// Calculate: checks the wire diameters, reads every field, and redraws the die for the entered
// profile. It works on a copy of the state and the drawing and commits them only when every stage
// has succeeded, so a failure leaves the window exactly as it was.
#include "app/form_model.h"
#include "catalogue/catalogue.h"
#include "profile/calculation_stages.h"

namespace dieprofile {

void Form1Model::Command1_Click() {
    const std::optional<double> outlet = ReadField(0);
    if (!outlet) {
        return;
    }
    const std::optional<double> incoming = ReadField(1);
    if (!incoming) {
        return;
    }
    if (*outlet >= *incoming) {
        UI().ShowMessage("Outlet Diameter must be less than Incoming Diameter.");
        GiveFocus(ControlId::Text1_0);
        return;
    }

    ProfileState state = state_;
    DrawingScene scene = scene_;

    // A percentage is of its base at the moment it is read: multiplied first, divided last.
    auto read = [this](int index, double& into) {
        const std::optional<double> value = ReadField(index);
        if (value) {
            into = *value;
        }
        return value.has_value();
    };
    auto readPercent = [this](int index, double base, double& into) {
        const std::optional<double> value = ReadField(index);
        if (value) {
            into = *value * base / 100;
        }
        return value.has_value();
    };

    if (!read(10, state.DiamondDiameter) || !read(5, state.DiamondHeight)) {
        return;
    }
    if (state.DiamondDiameter == 0) {
        UI().ShowMessage("Diamond Diameter must not be zero.");
        GiveFocus(ControlId::Text1_10);
        return;
    }
    state.DrawScale = DrawScaleFor(scene, state.DiamondDiameter);
    SetBlankOutlineHeight(state, scene);

    if (!read(0, state.OutletDiameter) || !read(1, state.IncomingDiameter) ||
        !readPercent(4, state.DiamondHeight, state.EntranceLength) ||
        !readPercent(3, state.OutletDiameter, state.BearingLength) ||
        !readPercent(6, state.DiamondHeight, state.ExitLength)) {
        return;
    }
    state.ReductionLength =
        state.DiamondHeight - state.EntranceLength - state.BearingLength - state.ExitLength;
    if (!read(8, state.EntranceAngle) || !read(2, state.ReductionAngle) ||
        !read(7, state.ExitAngle)) {
        return;
    }

    PlaceExitingWire(state, scene);
    PlaceBore(state, scene);
    const EnteringWirePlacement entering = PlaceEnteringWire(state, scene);
    PlaceTopFace(state, scene);
    AnnotateDimensions(state, scene);
    const ResultTexts results = ComputeResults(state);

    if (!results.Valid || !IsFinite(state, scene)) {
        UI().ShowMessage("The profile cannot be calculated with these values.");
        return;
    }
    // The warning informs and the drawing follows; a profile that cannot be drawn at all gets
    // only the message above, not a warning about a wire that will not be shown.
    if (entering.BellContact) {
        UI().ShowMessage("Warning - the entering wire is contacting the Bell area.");
    }
    state_ = state;
    scene_ = std::move(scene);
    CalculatedDrawing drawn{FrameOf(state_),    state_.UnitDivisor,   state_, {}, {},
                            results.DeltaValue, results.AreaReduction};
    if (comboRow_ >= 1 && comboRow_ <= static_cast<int>(CatalogueRows().size())) {
        drawn.Blank = CatalogueRows()[static_cast<std::size_t>(comboRow_ - 1)];
    }
    for (std::size_t index = 0; index < drawn.FieldTexts.size(); ++index) {
        drawn.FieldTexts[index] = text1Fields_[index].Text;
    }
    lastCalculation_ = std::move(drawn);
    WriteText(text3_, results.DeltaValue);
    WriteText(text2_, results.AreaReduction);
}

} // namespace dieprofile
