// The one Calculate: checks the wire diameters, reads every field, and draws the die for the
// entered profile on a copy of where it starts, so that a refusal changes nothing anywhere.
#include "profile/die_calculation.h"

#include "core/number_text.h"
#include "profile/calculation_stages.h"
#include "profile/form_design.h"

#include <utility>

namespace dieprofile {

namespace {

// A field's number, or the window's refusal naming it.
Expected<double, CalculateRefusal> Number(const TypedDie& die, int index) {
    const std::optional<double> value =
        ParseNumber(die.FieldTexts.at(static_cast<std::size_t>(index)));
    if (!value) {
        return CalculateRefusal{std::string(Text1Caption(index)) + " must be a number.", index};
    }
    return *value;
}

} // namespace

void SetLoadedReferences(ProfileState& state, const DrawingScene& scene) {
    state.UnitDivisor = kInchUnitDivisor;
    // The axis is the middle of the blank's bottom edge, the base line that edge's height. The
    // design values always round, so value() cannot throw here.
    const double bottomLeft = scene.LineDieBottomLeft.X1;
    const double bottomRight = scene.LineDieBottomRight.X2;
    state.CentreX = RoundToLong((bottomLeft + bottomRight) / 2).value();
    state.DieBaseY = RoundToLong(scene.LineDieBottomLeft.Y1).value();
    state.PiValue = 3.14159;
}

CalculationStart LoadedStart() {
    CalculationStart start;
    SetLoadedReferences(start.State, start.Scene);
    return start;
}

Expected<Calculation, CalculateRefusal> Calculate(const TypedDie& die,
                                                  const CalculationStart& start) {
    const auto outlet = Number(die, 0);
    if (!outlet) {
        return outlet.Error();
    }
    const auto incoming = Number(die, 1);
    if (!incoming) {
        return incoming.Error();
    }
    if (*outlet >= *incoming) {
        return CalculateRefusal{"Outlet Diameter must be less than Incoming Diameter.", 0};
    }

    ProfileState state = start.State;
    state.UnitDivisor = die.UnitDivisor;
    DrawingScene scene = start.Scene;
    std::optional<CalculateRefusal> refused;

    // A percentage is of its base at the moment it is read: multiplied first, divided last.
    auto read = [&](int index, double& into) {
        auto value = Number(die, index);
        if (!value) {
            refused = value.Error();
            return false;
        }
        into = *value;
        return true;
    };
    auto readPercent = [&](int index, double base, double& into) {
        double percent = 0;
        if (!read(index, percent)) {
            return false;
        }
        into = percent * base / 100;
        return true;
    };

    if (!read(10, state.DiamondDiameter) || !read(5, state.DiamondHeight)) {
        return *refused;
    }
    if (state.DiamondDiameter == 0) {
        return CalculateRefusal{"Diamond Diameter must not be zero.", 10};
    }
    state.DrawScale = DrawScaleFor(scene, state.DiamondDiameter);
    SetBlankOutlineHeight(state, scene);

    if (!read(0, state.OutletDiameter) || !read(1, state.IncomingDiameter) ||
        !readPercent(4, state.DiamondHeight, state.EntranceLength) ||
        !readPercent(3, state.OutletDiameter, state.BearingLength) ||
        !readPercent(6, state.DiamondHeight, state.ExitLength)) {
        return *refused;
    }
    state.ReductionLength =
        state.DiamondHeight - state.EntranceLength - state.BearingLength - state.ExitLength;
    if (!read(8, state.EntranceAngle) || !read(2, state.ReductionAngle) ||
        !read(7, state.ExitAngle)) {
        return *refused;
    }

    PlaceExitingWire(state, scene);
    PlaceBore(state, scene);
    const EnteringWirePlacement entering = PlaceEnteringWire(state, scene);
    PlaceTopFace(state, scene);
    AnnotateDimensions(state, scene);
    ResultTexts results = ComputeResults(state);

    if (!results.Valid || !IsFinite(state, scene)) {
        return CalculateRefusal{"The profile cannot be calculated with these values.", {}};
    }
    Calculation done;
    done.Drawing = CalculatedDrawing{FrameOf(state),
                                     state.UnitDivisor,
                                     state,
                                     die.Blank,
                                     die.FieldTexts,
                                     std::move(results.DeltaValue),
                                     std::move(results.AreaReduction),
                                     std::move(scene)};
    done.BellContact = entering.BellContact;
    return done;
}

} // namespace dieprofile
