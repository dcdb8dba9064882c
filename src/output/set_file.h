// The die set file: what the user typed and chose in the Die Set window (the wire's start and
// finish, the schedule, the material, friction and speed, and the die's blank and profile), never
// a computed figure, as a small JSON text read as strictly as a design file.
#pragma once

#include "core/expected.h"
#include "output/design_file.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

inline constexpr std::string_view kSetFormat = "dieprofile-set";
inline constexpr int kSetVersion = 1;
inline constexpr std::string_view kSetExtension = ".dieset";
inline constexpr std::string_view kSetMimeType = "application/x-dieprofile-set";

// How the outlets of the passes are chosen.
enum class ScheduleKind {
    Equal,     // equal reductions over a number of dies
    Reduction, // the fewest dies with equal reductions not above a percentage
    Diameters, // every outlet typed
};

// Whether the outlets between the start and the finish are sizes a shop can make: as computed,
// to the nearest multiple of a step, or to the nearest of a list of sizes the shop keeps. Optional
// in the file (the key "rounding", written only when the outlets are rounded).
enum class RoundingKind {
    None,
    Step,
    Sizes,
};

// The die's fields in a set: a design's fields but the two wire diameters, which each pass sets.
// Same keys and window fields as the design file's, in its order.
inline constexpr std::array<DesignFieldKey, 8> kSetDieFields{{
    kDesignFields[2],
    kDesignFields[3],
    kDesignFields[4],
    kDesignFields[5],
    kDesignFields[6],
    kDesignFields[7],
    kDesignFields[8],
    kDesignFields[9],
}};

// The index in kSetDieFields of a die field's key ("bearingLength"); none for any other key.
std::optional<std::size_t> SetDieFieldIndex(std::string_view key);

// Early and late dies of a set often differ from the rest (a longer bearing on the finishing die,
// a wider angle on the breakdown dies): a pass may replace some of the die's fields. Optional in
// the file (the key "overrides", written only when there are some).
struct PassOverride {
    std::string Pass; // the pass number, as typed
    // In the order of kSetDieFields; none where the pass keeps the set's field.
    std::array<std::optional<std::string>, 8> FieldTexts;
    // Its own blank (a catalogue row's text, or "BLANK"); none where it keeps the set's. Optional
    // in the file (the key "blank" of the override).
    std::optional<std::string> Blank{};
    bool operator==(const PassOverride&) const = default;
};

// Every value as typed. Texts of the schedules not chosen are kept while the window is open but
// are not saved: the file holds the chosen schedule only.
struct DieSetFile {
    std::string Unit = "mm"; // "in" or "mm"
    std::string StartDiameter;
    std::string FinishDiameter;
    ScheduleKind Schedule = ScheduleKind::Equal;
    std::string Dies;                 // Equal
    std::string Percent;              // Reduction
    std::vector<std::string> Outlets; // Diameters
    std::string MaterialName;
    std::string StrengthCoefficient; // K, MPa
    std::string HardeningExponent;   // n
    std::string Density;             // kg/m³
    std::string SpecificHeat;        // J/(kg·K)
    std::string Friction;
    std::string FinishSpeed;                  // m/s
    std::string Blank;                        // a catalogue row's text, or "BLANK"
    std::array<std::string, 8> DieFieldTexts; // in the order of kSetDieFields
    std::vector<PassOverride> Overrides;
    RoundingKind Rounding = RoundingKind::None;
    std::string RoundingStep;               // Step, in the set's unit
    std::vector<std::string> RoundingSizes; // Sizes, in the set's unit
    bool operator==(const DieSetFile&) const = default;
};

// Where the file holds a text of the set: the group of keys it sits in (empty at the top of the
// file), its key there, and the set's member. Each text's key and member are named here only: the
// file's reader and writer and the set's table of fields all take them from these.
struct SetTextKey {
    std::string_view Group;
    std::string_view Key;
    std::string DieSetFile::*Member;
};
// The same for a list of texts.
struct SetListKey {
    std::string_view Group;
    std::string_view Key;
    std::vector<std::string> DieSetFile::*Member;
};

inline constexpr SetTextKey kSetStartDiameter{"", "startDiameter", &DieSetFile::StartDiameter};
inline constexpr SetTextKey kSetFinishDiameter{"", "finishDiameter", &DieSetFile::FinishDiameter};
inline constexpr SetTextKey kSetDies{"schedule", "dies", &DieSetFile::Dies};
inline constexpr SetTextKey kSetPercent{"schedule", "percent", &DieSetFile::Percent};
inline constexpr SetListKey kSetOutlets{"schedule", "outlets", &DieSetFile::Outlets};
inline constexpr SetTextKey kSetRoundingStep{"rounding", "step", &DieSetFile::RoundingStep};
inline constexpr SetListKey kSetRoundingSizes{"rounding", "sizes", &DieSetFile::RoundingSizes};
inline constexpr SetTextKey kSetMaterialName{"material", "name", &DieSetFile::MaterialName};
inline constexpr SetTextKey kSetStrengthCoefficient{"material", "strengthCoefficient",
                                                    &DieSetFile::StrengthCoefficient};
inline constexpr SetTextKey kSetHardeningExponent{"material", "hardeningExponent",
                                                  &DieSetFile::HardeningExponent};
inline constexpr SetTextKey kSetDensity{"material", "density", &DieSetFile::Density};
inline constexpr SetTextKey kSetSpecificHeat{"material", "specificHeat", &DieSetFile::SpecificHeat};
inline constexpr SetTextKey kSetFriction{"", "friction", &DieSetFile::Friction};
inline constexpr SetTextKey kSetFinishSpeed{"", "finishSpeed", &DieSetFile::FinishSpeed};
inline constexpr SetTextKey kSetBlank{"die", "blank", &DieSetFile::Blank};
inline constexpr std::string_view kSetOverridesKey = "overrides";

// The texts of the top and of the material's group, each in the order the file writes them.
inline constexpr std::array<SetTextKey, 2> kSetDiameterTexts{kSetStartDiameter, kSetFinishDiameter};
inline constexpr std::array<SetTextKey, 5> kSetMaterialTexts{
    kSetMaterialName, kSetStrengthCoefficient, kSetHardeningExponent, kSetDensity,
    kSetSpecificHeat};
inline constexpr std::array<SetTextKey, 2> kSetDrawingTexts{kSetFriction, kSetFinishSpeed};
// Every text, in the order the file writes them.
inline constexpr std::array<SetTextKey, 13> kSetTexts{kSetStartDiameter,
                                                      kSetFinishDiameter,
                                                      kSetDies,
                                                      kSetPercent,
                                                      kSetRoundingStep,
                                                      kSetMaterialName,
                                                      kSetStrengthCoefficient,
                                                      kSetHardeningExponent,
                                                      kSetDensity,
                                                      kSetSpecificHeat,
                                                      kSetFriction,
                                                      kSetFinishSpeed,
                                                      kSetBlank};

// True when the two hold the same inputs as a file would save them (the chosen schedule's and
// rounding's texts only).
bool SameAsSaved(const DieSetFile& a, const DieSetFile& b);

// The file's text: UTF-8 JSON, keys in a fixed order, ending with a newline.
std::string DieSetToText(const DieSetFile& set);

// The set in bytes, or what is wrong with them (a phrase such as `the key "friction" is
// missing`). Checks the form only: whether the texts are numbers in range and the blank is a
// catalogue row is for the set's own validation.
Expected<DieSetFile> DieSetFromText(std::string_view bytes);

// Reads the file at path (at most 1 MiB, a regular file) and then as DieSetFromText.
Expected<DieSetFile> ReadDieSetFile(const std::string& path);

} // namespace dieprofile
