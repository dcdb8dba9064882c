// The die set: a pass schedule from rod to wire in which every pass's die is designed by the same
// model code as the window (its delta, bell contact and meeting point), with the physics of the
// pass beside it (Siebel's drawing stress against the flow stress of the drawn wire, the adiabatic
// heating, the force and the power). The inputs are texts as typed; they are checked and turned
// into numbers first, with a refusal that names the field, then every pass is computed.
#pragma once

#include "output/design_file.h"
#include "output/set_file.h"
#include "profile/calculated_drawing.h"
#include "profile/profile_figures.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dieprofile {

// The inputs a refusal can name, as the Die Set window shows them.
enum class DieSetField {
    StartDiameter,
    FinishDiameter,
    Dies,
    Percent,
    Outlets,
    RoundingStep,
    RoundingSizes,
    StrengthCoefficient,
    HardeningExponent,
    Density,
    SpecificHeat,
    Friction,
    FinishSpeed,
    Blank,
    Overrides,
};

// The inputs as numbers, every one checked; diameters in the set's unit.
struct DieSetInputs {
    double UnitDivisor = 1;         // 1 for millimetres, 25.4 for inches
    double StartDiameter = 0;       // d0
    double FinishDiameter = 0;      // dN
    std::vector<double> Outlets;    // d1 .. dN, strictly falling, the last one the finish;
                                    // rounded as the set rounds them, but for the finish
    double StrengthCoefficient = 0; // K, MPa
    double HardeningExponent = 0;   // n
    double Density = 0;             // kg/m³
    double SpecificHeat = 0;        // J/(kg·K)
    double Friction = 0;            // μ
    double FinishSpeed = 0;         // m/s, of the wire leaving the last die
};

// What a number typed into a field must be, besides a number.
enum class FieldRule {
    None,             // not a single number, or checked with the schedule it belongs to
    Positive,         // "must be more than 0."
    FromZeroBelowOne, // "must be at least 0 and less than 1."
    FromZeroToHalf,   // "must be from 0 to 0.5."
};

// One input of the set: its key (the window's and the driver's, taken from the set file's keys in
// set_file.h; the rounding's two have names of their own), its caption as the window labels it and
// the messages name it ("Start Diameter"), and the text it is typed into, the file's member; none
// for the lists (the outlets, the sizes), the blank and the overrides (kept from the design or the
// file).
// A single number also has its caption on the schedule's page, its unit there (kSetLengthUnit for
// the set's), its rule and where the checked number goes.
struct DieSetFieldEntry {
    DieSetField Field;
    std::string_view Key;
    std::string_view Caption;
    std::string DieSetFile::*Text;
    std::string_view PageCaption{};
    std::string_view Unit{};
    FieldRule Rule = FieldRule::None;
    double DieSetInputs::*Number = nullptr;
};
// Every input, in the order the window lists them and the set is read.
std::span<const DieSetFieldEntry> DieSetFields();
// The entry of a key, none for a key the set does not have.
const DieSetFieldEntry* DieSetFieldOf(std::string_view key);

std::string_view DieSetCaption(DieSetField field);
// The length unit's symbol in a unit column ("L"): the set's unit.
inline constexpr std::string_view kSetLengthUnit = "L";

struct DieSetRefusal {
    DieSetField Field = DieSetField::StartDiameter;
    // With Outlets, RoundingSizes or Overrides: the entry of the list at fault, 1-based; 0 for
    // the list as a whole.
    int Outlet = 0;
    std::string Message;
    bool operator==(const DieSetRefusal&) const = default;
};

// A pass's own die fields, in the order of kSetDieFields; none where it keeps the set's.
using OwnFieldTexts = decltype(PassOverride::FieldTexts);
// The set's own die fields, in the order of kSetDieFields.
using SetDieTexts = decltype(DieSetFile::DieFieldTexts);

// The override of the pass (1-based), none when its die is the set's.
const PassOverride* FindPassOverride(const DieSetFile& set, int pass);

// What the pass's die has of its own, each under the designed window's caption with its text as
// typed ("Bearing Length", "60"), in the order of kSetDieFields; empty when its die is the set's.
struct OwnValue {
    std::string_view Caption;
    std::string Text;
};
std::vector<OwnValue> OwnValuesOf(const DieSetFile& set, int pass);

// Gives the pass its own fields in place of those it had: an override of its own is rewritten
// (its pass as typed), a new one added after the others, and one left with no field removed.
void SetPassOverride(DieSetFile& set, int pass, const OwnFieldTexts& texts,
                     const std::optional<std::string>& blank = std::nullopt);

// The diamond's diameter and height among the die's fields: a catalogue blank brings its own, so
// they are used, offered and kept only with "BLANK".
bool IsDiamondField(std::size_t index);

// Checks every input in the order the window lists them; the first fault is refused. Whether a
// die's own fields are numbers is the die's affair (its row says so), not the set's.
Expected<DieSetInputs, DieSetRefusal> ReadDieSetInputs(const DieSetFile& set);

// The die of one pass as the designed window calculates it.
struct PassDie {
    Design Typed; // what opening the die types: the set's unit, blank and profile fields
                  // with the pass's incoming and outlet diameters
    bool Calculated = false;
    std::string Refusal; // when not calculated: the window's message, e.g. "Reduction Angle must
                         // be a number."
    double Delta = 0;
    bool BellContact = false; // the window's warning: the entering wire rests on the bell
    WireContact Contact = WireContact::None;
    // Where the entering wire meets the bore, above the start of the bearing in the set's unit;
    // none when the wire meets neither bell nor cone (the window then keeps an earlier height).
    std::optional<double> MeetingPointAboveBearing;
    // What Calculate drew, kept for the pass's sheet; none when the die was refused.
    std::optional<CalculatedDrawing> Drawing;
};

// One row of the schedule. The fractions are fractions (0.2, not 20 %); angles in radians.
struct DieSetPass {
    int Pass = 0; // 1-based
    double Incoming = 0;
    double Outlet = 0;
    double AreaReduction = 0;    // 1 − (dᵢ/dᵢ₋₁)²
    double Elongation = 0;       // (dᵢ₋₁/dᵢ)² − 1
    double TrueStrain = 0;       // εᵢ, cumulative from the annealed rod
    double PassStrain = 0;       // φᵢ = εᵢ − εᵢ₋₁
    double OptimumHalfAngle = 0; // √(1.5·μ·φᵢ)
    double Speed = 0;            // m/s
    // These need the die's half angle α: the reduction angle typed for the die must be a number
    // between 0 and 180 degrees, else they are not finite and Problem says why.
    double HalfAngle = 0;       // α
    double MeanFlowStress = 0;  // k̄, MPa
    double DrawingStress = 0;   // σ, MPa
    double StressRatio = 0;     // σ over the flow stress of the wire leaving the die
    double Force = 0;           // N
    double Power = 0;           // kW
    double TemperatureRise = 0; // K
    PassDie Die;
    // Why this row cannot be trusted: the die's refusal, or the half angle's; empty when sound.
    std::string Problem;
    bool Breaks() const { return StressRatio >= 1; } // the wire would break leaving the die
};

struct DieSetSchedule {
    DieSetInputs Inputs;
    std::vector<DieSetPass> Passes;
    // The passes of the overrides beyond the count, in the set's order: kept in the set, used by
    // no die, in use again when the count reaches them.
    std::vector<int> RestingOverrides;
    // The first row with a problem, as a sentence for an export's refusal; empty when none has.
    std::string FirstProblem() const;
};

// Checks the inputs and computes every pass with its die. A refusal names the field; a die that
// Calculate refuses only marks its row.
Expected<DieSetSchedule, DieSetRefusal> ComputeDieSet(const DieSetFile& set);

// One column of the schedule, as the CSV, the window's table and the PDF's table show it: the
// CSV's name, the heading and its unit, the decimals a reader is shown, and the figure of a pass
// (not finite where it cannot be had: the die refused, no half angle, no meeting point).
enum class PassColumnKind {
    Figure, // a number
    Whole,  // the pass number
    YesNo,  // the bell contact: 1 yes, 0 no, not finite when the die was refused
};
struct PassColumn {
    std::string_view CsvName;
    std::string_view Heading;
    std::string_view Unit; // empty: none; kSetLengthUnit: the set's length unit
    int Decimals;          // 0: as many as a drawing gives a length (4 in inches, 3 in mm)
    PassColumnKind Kind;
    double (*Value)(const DieSetPass&);
};
// Every column, in the CSV's order.
std::span<const PassColumn> PassColumns();
// The heading with its unit ("Outlet (mm)", "Delta").
std::string PassColumnHeading(const PassColumn& column, double unitDivisor);
// The figure as a reader is shown it, to the column's decimals; "—" where it cannot be had.
std::string PassColumnCell(const PassColumn& column, const DieSetPass& pass, double unitDivisor);

// The schedule as CSV: the header line (the columns' names), then a row per pass, numbers in the
// C locale as the shortest text that reads back to the same double, an empty cell where a figure
// cannot be had.
std::string DieSetCsvHeader();
std::string DieSetCsv(const DieSetSchedule& schedule);

// A stress ratio above this is marked as a caution. 0.6 is a rule of thumb, not a figure from a
// source that could be checked: a margin below the ratio of 1 at which the wire breaks, for a
// weak spot, a poorly lubricated length or a worn die. The user sets the level in the window.
inline constexpr double kDefaultCautionRatio = 0.6;

// A set that starts from the window's design: its unit, blank and profile, the incoming diameter
// as the start and the outlet as the finish, six equal passes, the first material preset, a
// friction of 0.08 (lubricated drawing in diamond dies), a finishing speed of 10 m/s, and the
// outlets rounded to the unit's usual step (0.001 mm, 0.0001 in).
DieSetFile DieSetFromDesign(const Design& design);

// A material preset: its name and values as the data file writes them, and the source of each.
struct WireMaterial {
    std::string_view Name;
    std::string_view StrengthCoefficient; // K, MPa
    std::string_view HardeningExponent;   // n
    std::string_view Density;             // kg/m³
    std::string_view SpecificHeat;        // J/(kg·K)
    std::string_view Source;
};
std::span<const WireMaterial> WireMaterials();

// Types a preset's values into the set (name, K, n, ρ, c).
void ApplyMaterial(const WireMaterial& material, DieSetFile& set);

// Files. Every message names the file and what is wrong, as the design's do: "Cannot open the die
// set "x.dieset": it is not JSON (error at byte 3)."
Expected<DieSetFile> OpenDieSet(const std::string& path);
// Writes atomically; done, or the message, and an existing file is kept.
Expected<void> SaveDieSet(const DieSetFile& set, const std::string& path);
// The CSV export lives on the road of every export: ExportDieSet in app/export.h.

} // namespace dieprofile
