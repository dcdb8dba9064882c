// The die set's inputs checked, its schedule, each pass's die designed by the window model on a
// toolkit of no screen, and the pass's physics by the formulas of its documentation.
#include "dieset/die_set.h"

#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "core/units.h"
#include "dieset/design_die.h"
#include "dieset/wire_materials.inc"
#include "output/atomic_file.h"
#include "profile/calculation_stages.h"
#include "profile/form_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace dieprofile {

namespace {

constexpr int kMaxDies = 100;

using F = DieSetField;
using R = FieldRule;
using In = DieSetInputs;

// An input typed as one text: its key and its member are the set file's.
constexpr DieSetFieldEntry Typed(F field, const SetTextKey& text, std::string_view caption,
                                 std::string_view pageCaption = {}, std::string_view unit = {},
                                 R rule = R::None, double In::*number = nullptr) {
    return {field, text.Key, caption, text.Member, pageCaption, unit, rule, number};
}

const std::array<DieSetFieldEntry, 15> kFields{{
    Typed(F::StartDiameter, kSetStartDiameter, "Start Diameter", "Start diameter", kSetLengthUnit,
          R::Positive, &In::StartDiameter),
    Typed(F::FinishDiameter, kSetFinishDiameter, "Finish Diameter", "Finish diameter",
          kSetLengthUnit, R::Positive, &In::FinishDiameter),
    Typed(F::Dies, kSetDies, "Dies"),
    Typed(F::Percent, kSetPercent, "Maximum Reduction"),
    {F::Outlets, kSetOutlets.Key, "Outlet Diameters", nullptr},
    // The file holds the step in a group of its own ("rounding.step"); the window's field needs
    // a name of its own beside the sizes'.
    {F::RoundingStep, "roundingStep", "Rounding Step", kSetRoundingStep.Member},
    {F::RoundingSizes, "roundingSizes", "Rounding Sizes", nullptr},
    Typed(F::StrengthCoefficient, kSetStrengthCoefficient, "Strength Coefficient K",
          "Strength coefficient K", "MPa", R::Positive, &In::StrengthCoefficient),
    Typed(F::HardeningExponent, kSetHardeningExponent, "Hardening Exponent n",
          "Hardening exponent n", "", R::FromZeroBelowOne, &In::HardeningExponent),
    Typed(F::Density, kSetDensity, "Density", "Density ρ", "kg/m³", R::Positive, &In::Density),
    Typed(F::SpecificHeat, kSetSpecificHeat, "Specific Heat", "Specific heat c", "J/(kg·K)",
          R::Positive, &In::SpecificHeat),
    Typed(F::Friction, kSetFriction, "Friction Coefficient", "Friction μ", "", R::FromZeroToHalf,
          &In::Friction),
    Typed(F::FinishSpeed, kSetFinishSpeed, "Finishing Speed", "Finishing speed", "m/s", R::Positive,
          &In::FinishSpeed),
    // Kept from the design or the file, never typed into a field of the window.
    {F::Blank, kSetBlank.Key, "Blank", nullptr},
    {F::Overrides, kSetOverridesKey, "Pass Overrides", nullptr},
}};

DieSetRefusal Refuse(DieSetField field, std::string_view rule, int outlet = 0) {
    return {field, outlet, std::string(DieSetCaption(field)) + " " + std::string(rule)};
}

// A typed number, or the refusal "<caption> must be a number.".
Expected<double, DieSetRefusal> Number(DieSetField field, const std::string& text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        return Refuse(field, "must be a number.");
    }
    return *value;
}

// A single number of the set, read into the inputs and held to its field's rule.
Expected<void, DieSetRefusal> ReadField(const DieSetFieldEntry& entry, const DieSetFile& set,
                                        DieSetInputs& inputs) {
    const Expected<double, DieSetRefusal> value = Number(entry.Field, set.*entry.Text);
    if (!value) {
        return value.Error();
    }
    const double number = *value;
    inputs.*entry.Number = number;
    switch (entry.Rule) {
    case FieldRule::Positive:
        if (!(number > 0)) {
            return Refuse(entry.Field, "must be more than 0.");
        }
        break;
    case FieldRule::FromZeroBelowOne:
        if (!(number >= 0 && number < 1)) {
            return Refuse(entry.Field, "must be at least 0 and less than 1.");
        }
        break;
    case FieldRule::FromZeroToHalf:
        if (!(number >= 0 && number <= 0.5)) {
            return Refuse(entry.Field, "must be from 0 to 0.5.");
        }
        break;
    case FieldRule::None:
        break;
    }
    return Done{};
}

// Reads the single numbers of the fields from first to last, in the table's order.
Expected<void, DieSetRefusal> ReadFields(DieSetField first, DieSetField last, const DieSetFile& set,
                                         DieSetInputs& inputs) {
    for (const DieSetFieldEntry& entry : kFields) {
        if (entry.Number != nullptr && entry.Field >= first && entry.Field <= last) {
            if (Expected<void, DieSetRefusal> read = ReadField(entry, set, inputs); !read) {
                return read;
            }
        }
    }
    return Done{};
}

// The fewest dies whose equal area reduction 1 − (dN/d0)^(2/N) does not exceed the fraction by
// more than 1e-9 of it, so that a count meeting the limit exactly is not lost to rounding; none
// when even the largest set does not reach it.
std::optional<int> FewestDies(double start, double finish, double fraction) {
    const double limit = fraction * (1 + 1e-9);
    for (int dies = 1; dies <= kMaxDies; ++dies) {
        if (1 - std::pow(finish / start, 2.0 / dies) <= limit) {
            return dies;
        }
    }
    return std::nullopt;
}

std::vector<double> EqualOutlets(double start, double finish, int dies) {
    std::vector<double> outlets;
    outlets.reserve(static_cast<std::size_t>(dies));
    for (int i = 1; i < dies; ++i) {
        outlets.push_back(start * std::pow(finish / start, static_cast<double>(i) / dies));
    }
    // The last die draws to the finish itself, not to its rounded power.
    outlets.push_back(finish);
    return outlets;
}

Expected<std::vector<double>, DieSetRefusal> TypedOutlets(const DieSetFile& set, double start,
                                                          double finish) {
    if (set.Outlets.empty()) {
        return Refuse(DieSetField::Outlets, "must list at least one outlet.");
    }
    if (set.Outlets.size() > static_cast<std::size_t>(kMaxDies)) {
        return Refuse(DieSetField::Outlets, "must list at most 100 outlets.");
    }
    std::vector<double> outlets;
    double previous = start;
    for (std::size_t i = 0; i < set.Outlets.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const std::string name = "Outlet " + std::to_string(index);
        const std::optional<double> value = ParseNumber(set.Outlets[i]);
        if (!value) {
            // A decimal comma is the usual slip: say so rather than only that it is no number.
            const bool comma = set.Outlets[i].find(',') != std::string::npos;
            return DieSetRefusal{DieSetField::Outlets, index,
                                 name + " must be a number" +
                                     (comma ? ": use a point for decimals; separate outlets "
                                              "with spaces."
                                            : ".")};
        }
        if (!(*value < previous)) {
            return DieSetRefusal{DieSetField::Outlets, index,
                                 name + " must be less than " +
                                     (i == 0 ? std::string("Start Diameter")
                                             : "outlet " + std::to_string(index - 1)) +
                                     "."};
        }
        outlets.push_back(*value);
        previous = *value;
    }
    if (outlets.back() != finish) {
        return DieSetRefusal{DieSetField::Outlets, static_cast<int>(outlets.size()),
                             "The last outlet must be the Finish Diameter."};
    }
    return outlets;
}

// The nearest multiple of the step, as the decimal a shop writes: to the step's own decimals, so
// that 1782 thousandths is the double nearest 1.782 and 5939 of 0.0003 that nearest 1.7817.
double RoundToStep(double value, double step) {
    const double multiples = std::round(value / step);
    // The step's decimals: those of its shortest text, "0.0003" or "3e-04" alike.
    const std::string text = ShortestText(step);
    const std::size_t e = std::min(text.find('e'), text.size());
    const std::size_t point = text.find('.');
    const int mantissa = point < e ? static_cast<int>(e - point - 1) : 0;
    const int exponent = e < text.size() ? std::stoi(text.substr(e + 1)) : 0;
    const int decimals = mantissa - exponent;
    if (decimals < 0 || decimals > 17 || !(multiples * step < 1e15)) {
        return multiples * step;
    }
    return ParseNumber(FixedDecimals(multiples * step, decimals)).value_or(multiples * step);
}

// The nearest of the sizes; halfway between two, the larger, which draws less in this pass.
double NearestSize(double value, const std::vector<double>& sizes) {
    double best = sizes.front();
    for (const double size : sizes) {
        const double gap = std::abs(size - value);
        const double bestGap = std::abs(best - value);
        if (gap < bestGap || (gap == bestGap && size > best)) {
            best = size;
        }
    }
    return best;
}

// Rounds every outlet but the finish, which stays exact. Rounding that leaves an outlet no smaller
// than the one before it would merge two dies or turn a pass back: it is refused, never done.
Expected<void, DieSetRefusal> RoundOutlets(const DieSetFile& set, DieSetInputs& inputs) {
    if (set.Rounding == RoundingKind::None) {
        return Done{};
    }
    const bool toStep = set.Rounding == RoundingKind::Step;
    const DieSetField field = toStep ? DieSetField::RoundingStep : DieSetField::RoundingSizes;
    double step = 0;
    std::vector<double> sizes;
    if (toStep) {
        const Expected<double, DieSetRefusal> value = Number(field, set.RoundingStep);
        if (!value) {
            return value.Error();
        }
        step = *value;
        if (!(step > 0) || !std::isfinite(step)) {
            return Refuse(field, "must be more than 0.");
        }
    } else {
        if (set.RoundingSizes.empty()) {
            return Refuse(field, "must list at least one size.");
        }
        for (std::size_t i = 0; i < set.RoundingSizes.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            const std::optional<double> size = ParseNumber(set.RoundingSizes[i]);
            if (!size || !(*size > 0) || !std::isfinite(*size)) {
                return DieSetRefusal{
                    field, index, "Size " + std::to_string(index) + " must be a number above 0."};
            }
            sizes.push_back(*size);
        }
    }
    for (std::size_t i = 0; i + 1 < inputs.Outlets.size(); ++i) {
        double& outlet = inputs.Outlets[i];
        outlet = toStep ? RoundToStep(outlet, step) : NearestSize(outlet, sizes);
    }
    double previous = inputs.StartDiameter;
    for (std::size_t i = 0; i < inputs.Outlets.size(); ++i) {
        const double outlet = inputs.Outlets[i];
        if (!(outlet < previous)) {
            const std::string before =
                i == 0 ? std::string("the Start Diameter") : "outlet " + std::to_string(i);
            return Refuse(field, "cannot be used: rounded" +
                                     std::string(toStep ? " to the step" : " to the nearest size") +
                                     ", outlet " + std::to_string(i + 1) + " (" +
                                     NumberToText(outlet) + ") is not less than " + before + " (" +
                                     NumberToText(previous) + "). " +
                                     (toStep ? "Use a finer step or fewer dies."
                                             : "Add sizes between them or use fewer dies."));
        }
        previous = outlet;
    }
    return Done{};
}

// The pass's incoming and outlet as the die's fields take them: the texts the user typed where
// there are some, else the window's own text of the computed diameter.
std::string DiameterText(const DieSetFile& set, const DieSetInputs& inputs, int pass) {
    const int last = static_cast<int>(inputs.Outlets.size());
    if (pass == 0) {
        return set.StartDiameter;
    }
    // A rounded outlet is the die's, whatever was typed.
    if (set.Schedule == ScheduleKind::Diameters && set.Rounding == RoundingKind::None) {
        return set.Outlets[static_cast<std::size_t>(pass - 1)];
    }
    if (pass == last) {
        return set.FinishDiameter;
    }
    return NumberToText(inputs.Outlets[static_cast<std::size_t>(pass - 1)]);
}

// The die's fields for a pass: the set's, with the pass's overrides in their place.
std::array<std::string, 8> PassFieldTexts(const DieSetFile& set, int pass) {
    std::array<std::string, 8> texts = set.DieFieldTexts;
    if (const PassOverride* override = FindPassOverride(set, pass)) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (override->FieldTexts[i]) {
                texts[i] = *override->FieldTexts[i];
            }
        }
    }
    return texts;
}

// The pass's own blank, else the set's.
std::string PassBlank(const DieSetFile& set, int pass) {
    const PassOverride* override = FindPassOverride(set, pass);
    return override && override->Blank ? *override->Blank : set.Blank;
}

Design DieDesign(const DieSetFile& set, std::string blank, const std::array<std::string, 8>& fields,
                 std::string incoming, std::string outlet) {
    Design design;
    design.Unit = set.Unit;
    design.Blank = std::move(blank);
    design.FieldTexts[0] = std::move(outlet);
    design.FieldTexts[1] = std::move(incoming);
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        design.FieldTexts[i + 2] = fields[i];
    }
    return design;
}

// Each override names a pass a set can have, and no pass twice. One beyond this schedule's count
// rests: it is kept for when the count grows again, and blocks nothing.
Expected<void, DieSetRefusal> CheckOverrides(const DieSetFile& set) {
    constexpr auto passes = static_cast<std::size_t>(kMaxDies);
    std::vector<bool> taken(passes + 1, false);
    for (std::size_t i = 0; i < set.Overrides.size(); ++i) {
        const int entry = static_cast<int>(i) + 1;
        const std::string name = "Override " + std::to_string(entry);
        const std::optional<double> pass = ParseNumber(set.Overrides[i].Pass);
        if (!pass || *pass != std::floor(*pass) || *pass < 1 ||
            *pass > static_cast<double>(passes)) {
            return DieSetRefusal{DieSetField::Overrides, entry,
                                 name + ": the pass must be a whole number from 1 to " +
                                     std::to_string(passes) + "."};
        }
        const auto index = static_cast<std::size_t>(*pass);
        if (taken[index]) {
            return DieSetRefusal{DieSetField::Overrides, entry,
                                 name + ": pass " + std::to_string(index) +
                                     " already has an override."};
        }
        taken[index] = true;
    }
    return Done{};
}

// Designs the die by the one Calculate, exactly as opening it in the window would, and checks it
// as every export does: a die drawn but not makeable is not calculated, with the export's reason.
// The drawing is kept for the pass's sheet.
PassDie DesignDie(Design typed) {
    PassDie die;
    Expected<Calculation, CalculateRefusal> done = CalculateDesign(typed);
    if (!done) {
        die.Refusal = done.Error().Message;
    } else if (const Expected<void> made = CheckProfile(done->Drawing); !made) {
        die.Refusal = made.Error().Message;
    } else {
        const CalculatedDrawing& drawn = done->Drawing;
        const MeetingPoint meeting = MeetingPointOf(drawn.Frame, drawn.Scene);
        die.Calculated = true;
        die.Delta = DeltaValueOf(drawn.Profile);
        die.Contact = meeting.Contact;
        die.BellContact = meeting.Contact == WireContact::Bell;
        if (meeting.Contact == WireContact::Bell || meeting.Contact == WireContact::ReductionCone) {
            // The drawing's unit is the set's: the die was typed in it.
            die.MeetingPointAboveBearing = meeting.AboveBearing;
        }
        die.Drawing = std::move(done->Drawing);
    }
    die.Typed = std::move(typed);
    return die;
}

bool AllFinite(const DieSetPass& pass) {
    for (double value :
         {pass.Incoming, pass.Outlet, pass.AreaReduction, pass.Elongation, pass.TrueStrain,
          pass.PassStrain, pass.OptimumHalfAngle, pass.Speed, pass.HalfAngle, pass.MeanFlowStress,
          pass.DrawingStress, pass.StressRatio, pass.Force, pass.Power, pass.TemperatureRise}) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::span<const DieSetFieldEntry> DieSetFields() {
    return kFields;
}

const DieSetFieldEntry* DieSetFieldOf(std::string_view key) {
    const auto* found =
        std::find_if(kFields.begin(), kFields.end(),
                     [key](const DieSetFieldEntry& entry) { return entry.Key == key; });
    return found == kFields.end() ? nullptr : found;
}

std::string_view DieSetCaption(DieSetField field) {
    for (const DieSetFieldEntry& entry : kFields) {
        if (entry.Field == field) {
            return entry.Caption;
        }
    }
    return {};
}

Expected<DieSetInputs, DieSetRefusal> ReadDieSetInputs(const DieSetFile& set) {
    DieSetInputs inputs;
    inputs.UnitDivisor = UnitDivisorOf(set.Unit);

    // The numbers the set needs, read in the order the window lists them.
    if (Expected<void, DieSetRefusal> read =
            ReadFields(DieSetField::StartDiameter, DieSetField::FinishDiameter, set, inputs);
        !read) {
        return read.Error();
    }
    if (!(inputs.FinishDiameter < inputs.StartDiameter)) {
        return Refuse(DieSetField::FinishDiameter, "must be less than Start Diameter.");
    }
    // The finish is refused as the window refuses the die that draws the start down to it at
    // once: no pass of the set draws more, so a finish that die can be made at makes every pass.
    // A die whose fields are not numbers says so on its rows instead.
    if (Expected<Calculation, CalculateRefusal> whole = CalculateDesign(
            DieDesign(set, set.Blank, set.DieFieldTexts, set.StartDiameter, set.FinishDiameter))) {
        if (const Expected<void> outlet = CheckOutlet(whole->Drawing); !outlet) {
            return Refuse(DieSetField::FinishDiameter,
                          "cannot be drawn: " + outlet.Error().Message + ".");
        }
    }

    switch (set.Schedule) {
    case ScheduleKind::Equal: {
        const Expected<double, DieSetRefusal> value = Number(DieSetField::Dies, set.Dies);
        if (!value) {
            return value.Error();
        }
        const double dies = *value;
        if (!(dies >= 1 && dies <= kMaxDies) || dies != std::floor(dies)) {
            return Refuse(DieSetField::Dies, "must be a whole number from 1 to 100.");
        }
        inputs.Outlets =
            EqualOutlets(inputs.StartDiameter, inputs.FinishDiameter, static_cast<int>(dies));
        break;
    }
    case ScheduleKind::Reduction: {
        const Expected<double, DieSetRefusal> value = Number(DieSetField::Percent, set.Percent);
        if (!value) {
            return value.Error();
        }
        const double percent = *value;
        if (!(percent > 0 && percent < 100)) {
            return Refuse(DieSetField::Percent, "must be more than 0 and less than 100 per cent.");
        }
        const std::optional<int> dies =
            FewestDies(inputs.StartDiameter, inputs.FinishDiameter, percent / 100);
        if (!dies) {
            return Refuse(DieSetField::Percent,
                          "is too small: the set would need more than 100 dies.");
        }
        inputs.Outlets = EqualOutlets(inputs.StartDiameter, inputs.FinishDiameter, *dies);
        break;
    }
    case ScheduleKind::Diameters: {
        Expected<std::vector<double>, DieSetRefusal> outlets =
            TypedOutlets(set, inputs.StartDiameter, inputs.FinishDiameter);
        if (!outlets) {
            return outlets.Error();
        }
        inputs.Outlets = *std::move(outlets);
        break;
    }
    }

    if (Expected<void, DieSetRefusal> rounded = RoundOutlets(set, inputs); !rounded) {
        return rounded.Error();
    }

    if (Expected<void, DieSetRefusal> read =
            ReadFields(DieSetField::StrengthCoefficient, DieSetField::FinishSpeed, set, inputs);
        !read) {
        return read.Error();
    }
    if (!FindCatalogueRow(set.Blank)) {
        return DieSetRefusal{DieSetField::Blank, 0,
                             "The blank \"" + set.Blank + "\" is not in the catalogue."};
    }
    if (Expected<void, DieSetRefusal> overrides = CheckOverrides(set); !overrides) {
        return overrides.Error();
    }
    return inputs;
}

namespace {

auto OverridesPass(int pass) {
    return [pass](const PassOverride& override) {
        return ParseNumber(override.Pass) == static_cast<double>(pass);
    };
}

} // namespace

const PassOverride* FindPassOverride(const DieSetFile& set, int pass) {
    const auto found = std::ranges::find_if(set.Overrides, OverridesPass(pass));
    return found == set.Overrides.end() ? nullptr : &*found;
}

std::vector<OwnValue> OwnValuesOf(const DieSetFile& set, int pass) {
    std::vector<OwnValue> values;
    if (const PassOverride* own = FindPassOverride(set, pass)) {
        if (own->Blank) {
            values.push_back({DieSetCaption(DieSetField::Blank), *own->Blank});
        }
        for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
            if (own->FieldTexts[i]) {
                values.push_back({Text1Caption(kSetDieFields[i].Text1Index), *own->FieldTexts[i]});
            }
        }
    }
    return values;
}

void SetPassOverride(DieSetFile& set, int pass, const OwnFieldTexts& texts,
                     const std::optional<std::string>& blank) {
    const auto found = std::ranges::find_if(set.Overrides, OverridesPass(pass));
    const bool none =
        !blank && std::ranges::none_of(texts, [](const auto& text) { return text.has_value(); });
    if (found == set.Overrides.end()) {
        if (!none) {
            set.Overrides.push_back({std::to_string(pass), texts, blank});
        }
    } else if (none) {
        set.Overrides.erase(found);
    } else {
        found->FieldTexts = texts;
        found->Blank = blank;
    }
}

bool IsDiamondField(std::size_t index) {
    const int text1 = kSetDieFields.at(index).Text1Index;
    return text1 == 10 || text1 == 5;
}

std::string DieSetSchedule::FirstProblem() const {
    for (const DieSetPass& pass : Passes) {
        if (!pass.Problem.empty()) {
            return "pass " + std::to_string(pass.Pass) + ": " + pass.Problem;
        }
    }
    return {};
}

Expected<DieSetSchedule, DieSetRefusal> ComputeDieSet(const DieSetFile& set) {
    Expected<DieSetInputs, DieSetRefusal> read = ReadDieSetInputs(set);
    if (!read) {
        return read.Error();
    }
    DieSetSchedule schedule;
    schedule.Inputs = *std::move(read);
    const DieSetInputs& in = schedule.Inputs;
    const double K = in.StrengthCoefficient;
    const double n = in.HardeningExponent;
    const double mu = in.Friction;
    const double d0 = in.StartDiameter;
    const double dN = in.FinishDiameter;

    schedule.Passes.reserve(in.Outlets.size());
    double previousStrain = 0; // the rod starts annealed
    for (std::size_t i = 0; i < in.Outlets.size(); ++i) {
        DieSetPass pass;
        pass.Pass = static_cast<int>(i) + 1;
        pass.Incoming = i == 0 ? d0 : in.Outlets[i - 1];
        pass.Outlet = in.Outlets[i];
        const double ratio = pass.Outlet / pass.Incoming;
        const double stretch = pass.Incoming / pass.Outlet;
        pass.AreaReduction = 1 - ratio * ratio;
        pass.Elongation = stretch * stretch - 1;
        pass.TrueStrain = 2 * std::log(d0 / pass.Outlet);
        pass.PassStrain = pass.TrueStrain - previousStrain;
        pass.OptimumHalfAngle = std::sqrt(1.5 * mu * pass.PassStrain);
        const double speedRatio = dN / pass.Outlet;
        pass.Speed = in.FinishSpeed * speedRatio * speedRatio;

        const std::array<std::string, 8> fields = PassFieldTexts(set, pass.Pass);
        const std::optional<double> reductionAngle = ParseNumber(fields[0]);
        const double e = pass.TrueStrain;
        const double phi = pass.PassStrain;
        pass.MeanFlowStress =
            K * (std::pow(e, n + 1) - std::pow(previousStrain, n + 1)) / ((n + 1) * phi);
        if (reductionAngle && *reductionAngle > 0 && *reductionAngle < 180) {
            const double alpha = *reductionAngle / 2 * std::numbers::pi / 180;
            pass.HalfAngle = alpha;
            pass.DrawingStress = pass.MeanFlowStress * (phi * (1 + mu / alpha) + 2.0 / 3.0 * alpha);
            pass.StressRatio = pass.DrawingStress / (K * std::pow(e, n));
            const double outletMm = pass.Outlet * in.UnitDivisor;
            const double area = std::numbers::pi / 4 * outletMm * outletMm;
            pass.Force = pass.DrawingStress * area;
            pass.Power = pass.Force * pass.Speed / 1000;
            pass.TemperatureRise = pass.DrawingStress * 1e6 / (in.Density * in.SpecificHeat);
        } else {
            const double none = std::numeric_limits<double>::quiet_NaN();
            pass.HalfAngle = pass.DrawingStress = pass.StressRatio = none;
            pass.Force = pass.Power = pass.TemperatureRise = none;
            pass.Problem = std::string(Text1Caption(kSetDieFields[0].Text1Index)) +
                           " must be more than 0 and less than 180 for the drawing stress.";
        }

        pass.Die = DesignDie(DieDesign(set, PassBlank(set, pass.Pass), fields,
                                       DiameterText(set, in, pass.Pass - 1),
                                       DiameterText(set, in, pass.Pass)));
        if (!pass.Die.Calculated) {
            pass.Problem = pass.Die.Refusal;
        } else if (pass.Problem.empty() && !AllFinite(pass)) {
            pass.Problem = "The pass cannot be calculated with these values.";
        }
        previousStrain = pass.TrueStrain;
        schedule.Passes.push_back(std::move(pass));
    }
    for (const PassOverride& override : set.Overrides) {
        // Checked above: a whole number from 1 to the most dies a set may have.
        const auto pass = static_cast<int>(*ParseNumber(override.Pass));
        if (pass > static_cast<int>(schedule.Passes.size())) {
            schedule.RestingOverrides.push_back(pass);
        }
    }
    return schedule;
}

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

const std::array<PassColumn, 18> kPassColumns{{
    {"pass", "Pass", "", -1, PassColumnKind::Whole,
     [](const DieSetPass& p) { return static_cast<double>(p.Pass); }},
    {"incoming", "Incoming", kSetLengthUnit, 0, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Incoming; }},
    {"outlet", "Outlet", kSetLengthUnit, 0, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Outlet; }},
    {"area_reduction_percent", "Area reduction", "%", 2, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.AreaReduction * 100; }},
    {"elongation_percent", "Elongation", "%", 2, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Elongation * 100; }},
    {"true_strain", "True strain", "", 4, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.TrueStrain; }},
    {"delta", "Delta", "", 3, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Die.Calculated ? p.Die.Delta : std::nan(""); }},
    {"half_angle_deg", "Half angle", "°", 2, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.HalfAngle * kDegreesPerRadian; }},
    {"optimum_half_angle_deg", "Optimum half angle", "°", 2, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.OptimumHalfAngle * kDegreesPerRadian; }},
    {"mean_flow_stress_MPa", "Mean flow stress", "MPa", 1, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.MeanFlowStress; }},
    {"drawing_stress_MPa", "Drawing stress", "MPa", 1, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.DrawingStress; }},
    {"stress_ratio", "Stress ratio", "", 3, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.StressRatio; }},
    {"force_N", "Force", "N", 1, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Force; }},
    {"speed_m_per_s", "Speed", "m/s", 3, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Speed; }},
    {"power_kW", "Power", "kW", 3, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Power; }},
    {"temperature_rise_K", "Temperature rise", "K", 1, PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.TemperatureRise; }},
    {"meeting_point_above_bearing", "Meeting point above bearing", kSetLengthUnit, 0,
     PassColumnKind::Figure,
     [](const DieSetPass& p) { return p.Die.MeetingPointAboveBearing.value_or(std::nan("")); }},
    {"bell_contact", "Bell contact", "", -1, PassColumnKind::YesNo,
     [](const DieSetPass& p) {
         return !p.Die.Calculated ? std::nan("") : p.Die.BellContact ? 1.0 : 0.0;
     }},
}};

} // namespace

std::span<const PassColumn> PassColumns() {
    return kPassColumns;
}

std::string PassColumnHeading(const PassColumn& column, double unitDivisor) {
    const std::string_view unit =
        column.Unit == kSetLengthUnit ? UnitSymbol(unitDivisor) : column.Unit;
    return unit.empty() ? std::string(column.Heading)
                        : std::string(column.Heading) + " (" + std::string(unit) + ")";
}

std::string PassColumnCell(const PassColumn& column, const DieSetPass& pass, double unitDivisor) {
    const double value = column.Value(pass);
    if (!std::isfinite(value)) {
        return "—";
    }
    switch (column.Kind) {
    case PassColumnKind::Whole:
        return std::to_string(std::lround(value));
    case PassColumnKind::YesNo:
        return value != 0 ? "yes" : "no";
    case PassColumnKind::Figure:
        break;
    }
    const int decimals =
        column.Decimals != 0 ? column.Decimals : (UnitSymbol(unitDivisor) == "in" ? 4 : 3);
    return FixedDecimals(value, decimals);
}

std::string DieSetCsvHeader() {
    std::string header;
    for (const PassColumn& column : kPassColumns) {
        header += header.empty() ? "" : ",";
        header += column.CsvName;
    }
    return header;
}

std::string DieSetCsv(const DieSetSchedule& schedule) {
    std::string csv = DieSetCsvHeader();
    csv += '\n';
    for (const DieSetPass& pass : schedule.Passes) {
        bool first = true;
        for (const PassColumn& column : kPassColumns) {
            csv += first ? "" : ",";
            first = false;
            const double value = column.Value(pass);
            if (!std::isfinite(value)) {
                continue;
            }
            switch (column.Kind) {
            case PassColumnKind::Whole:
                csv += std::to_string(std::lround(value));
                break;
            case PassColumnKind::YesNo:
                csv += value != 0 ? "yes" : "no";
                break;
            case PassColumnKind::Figure:
                csv += ShortestText(value);
                break;
            }
        }
        csv += '\n';
    }
    return csv;
}

std::span<const WireMaterial> WireMaterials() {
    // The data file's rows: '#' starts a comment line, fields are separated by tabs.
    static const std::vector<WireMaterial> kMaterials = [] {
        std::vector<WireMaterial> rows;
        std::string_view text = kWireMaterialsTable;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            if (line.empty() || line.front() == '#') {
                continue;
            }
            std::array<std::string_view, 6> cells{};
            for (std::string_view& cell : cells) {
                const std::size_t tab = line.find('\t');
                cell = line.substr(0, tab);
                line = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
            }
            rows.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
        }
        return rows;
    }();
    return kMaterials;
}

void ApplyMaterial(const WireMaterial& material, DieSetFile& set) {
    set.MaterialName = material.Name;
    set.StrengthCoefficient = material.StrengthCoefficient;
    set.HardeningExponent = material.HardeningExponent;
    set.Density = material.Density;
    set.SpecificHeat = material.SpecificHeat;
}

DieSetFile DieSetFromDesign(const Design& design) {
    DieSetFile set;
    set.Unit = design.Unit;
    set.StartDiameter = design.FieldTexts[1];
    set.FinishDiameter = design.FieldTexts[0];
    set.Schedule = ScheduleKind::Equal;
    // Built as a string: GCC 12 warns of a false overlap when this one-letter literal is assigned.
    set.Dies = std::string("6");
    set.Percent = "20";
    if (!WireMaterials().empty()) {
        ApplyMaterial(WireMaterials().front(), set);
    }
    set.Friction = "0.08";
    set.FinishSpeed = "10";
    set.Rounding = RoundingKind::Step;
    set.RoundingStep = design.Unit == "in" ? "0.0001" : "0.001";
    set.Blank = design.Blank;
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        set.DieFieldTexts[i] = design.FieldTexts[i + 2];
    }
    return set;
}

namespace {

Refusal FileRefusal(std::string_view action, const std::string& path, std::string_view reason) {
    return {"Cannot " + std::string(action) + " the die set \"" + DesignFileName(path) +
            "\": " + std::string(reason) + "."};
}

} // namespace

Expected<DieSetFile> OpenDieSet(const std::string& path) {
    Expected<DieSetFile> read = ReadDieSetFile(path);
    if (!read) {
        return FileRefusal("open", path, read.Error().Message);
    }
    return read;
}

Expected<void> SaveDieSet(const DieSetFile& set, const std::string& path) {
    const std::string text = DieSetToText(set);
    // A text the reader would refuse is refused here, so that no file is written that cannot be
    // opened again, nor one that opens differently (bytes that are not UTF-8 are replaced).
    const Expected<DieSetFile> check = DieSetFromText(text);
    if (!check) {
        return FileRefusal("save", path, check.Error().Message);
    }
    if (!SameAsSaved(*check, set)) {
        return FileRefusal("save", path, "a field's text is not UTF-8 text");
    }
    if (Expected<void> written = WriteFileAtomically(path, text); !written) {
        return FileRefusal("save", path, written.Error().Message);
    }
    return Done{};
}

} // namespace dieprofile
