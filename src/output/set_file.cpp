#include "output/set_file.h"
#include "output/strict_json.h"

#include <utility>

namespace dieprofile {

namespace {

using Json = StrictJson;

constexpr FileKind kSetKind{kSetFormat, kSetVersion, "die set"};

constexpr std::string_view kEqual = "equal";
constexpr std::string_view kReduction = "reduction";
constexpr std::string_view kDiameters = "diameters";

// A text field of the file, found by its key, and where the set holds it.
struct TextKey {
    std::string_view Key;
    std::string DieSetFile::*Member;
};

constexpr std::array<TextKey, 5> kMaterialKeys{{
    {"name", &DieSetFile::MaterialName},
    {"strengthCoefficient", &DieSetFile::StrengthCoefficient},
    {"hardeningExponent", &DieSetFile::HardeningExponent},
    {"density", &DieSetFile::Density},
    {"specificHeat", &DieSetFile::SpecificHeat},
}};

template <std::size_t N> std::vector<std::string_view> KeysOf(const std::array<TextKey, N>& keys) {
    std::vector<std::string_view> names;
    names.reserve(N);
    for (const TextKey& key : keys) {
        names.push_back(key.Key);
    }
    return names;
}

// A list of texts under key, each checked as a field's text.
std::optional<std::string> ReadTexts(const Json& list, const std::string& path,
                                     std::vector<std::string>& texts) {
    if (!list.is_array()) {
        return "the value of " + InQuotes(path) + " is not a list";
    }
    texts.clear();
    texts.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string entry = path + "[" + std::to_string(i + 1) + "]";
        if (!list[i].is_string()) {
            return "the value of " + InQuotes(entry) + " is not a text";
        }
        texts.push_back(list[i].get<std::string>());
        if (auto wrong = CheckFieldText(texts.back(), entry)) {
            return wrong;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadSchedule(const Json& schedule, DieSetFile& set) {
    if (!schedule.is_object()) {
        return std::string("the value of \"schedule\" is not a group of keys");
    }
    const auto kind = schedule.find("kind");
    if (kind == schedule.end()) {
        return std::string("the key \"schedule.kind\" is missing");
    }
    if (!kind->is_string()) {
        return std::string("the value of \"schedule.kind\" is not a text");
    }
    const std::string name = kind->get<std::string>();
    if (name == kEqual) {
        set.Schedule = ScheduleKind::Equal;
        if (auto wrong = CheckKeys(schedule, "schedule", {"kind", "dies"})) {
            return wrong;
        }
        return FieldText(schedule, "schedule", "dies", set.Dies);
    }
    if (name == kReduction) {
        set.Schedule = ScheduleKind::Reduction;
        if (auto wrong = CheckKeys(schedule, "schedule", {"kind", "percent"})) {
            return wrong;
        }
        return FieldText(schedule, "schedule", "percent", set.Percent);
    }
    if (name == kDiameters) {
        set.Schedule = ScheduleKind::Diameters;
        if (auto wrong = CheckKeys(schedule, "schedule", {"kind", "outlets"})) {
            return wrong;
        }
        return ReadTexts(schedule.at("outlets"), "schedule.outlets", set.Outlets);
    }
    return "the schedule " + InQuotes(name) + R"( is none of "equal", "reduction" and "diameters")";
}

std::optional<std::string> ReadDie(const Json& die, DieSetFile& set) {
    if (!die.is_object()) {
        return std::string("the value of \"die\" is not a group of keys");
    }
    if (auto wrong = CheckKeys(die, "die", {"blank", "fields"})) {
        return wrong;
    }
    if (auto wrong = FieldText(die, "die", "blank", set.Blank)) {
        return wrong;
    }
    const Json& fields = die.at("fields");
    if (!fields.is_object()) {
        return std::string("the value of \"die.fields\" is not a group of keys");
    }
    std::vector<std::string_view> keys;
    keys.reserve(kSetDieFields.size());
    for (const DesignFieldKey& field : kSetDieFields) {
        keys.push_back(field.Key);
    }
    if (auto wrong = CheckKeys(fields, "die.fields", keys)) {
        return wrong;
    }
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        if (auto wrong =
                FieldText(fields, "die.fields", kSetDieFields[i].Key, set.DieFieldTexts[i])) {
            return wrong;
        }
    }
    return std::nullopt;
}

// {"step": "0.001"} or {"sizes": ["1.2", ...]}: one of the two.
std::optional<std::string> ReadRounding(const Json& rounding, DieSetFile& set) {
    if (!rounding.is_object()) {
        return std::string("the value of \"rounding\" is not a group of keys");
    }
    if (rounding.contains("step")) {
        set.Rounding = RoundingKind::Step;
        if (auto wrong = CheckKeys(rounding, "rounding", {"step"})) {
            return wrong;
        }
        return FieldText(rounding, "rounding", "step", set.RoundingStep);
    }
    set.Rounding = RoundingKind::Sizes;
    if (auto wrong = CheckKeys(rounding, "rounding", {"sizes"})) {
        return wrong;
    }
    return ReadTexts(rounding.at("sizes"), "rounding.sizes", set.RoundingSizes);
}

std::optional<std::string> ReadOverrides(const Json& overrides, DieSetFile& set) {
    if (!overrides.is_array()) {
        return std::string("the value of \"overrides\" is not a list");
    }
    for (std::size_t i = 0; i < overrides.size(); ++i) {
        const std::string path = "overrides[" + std::to_string(i + 1) + "]";
        const Json& entry = overrides[i];
        if (!entry.is_object()) {
            return "the value of " + InQuotes(path) + " is not a group of keys";
        }
        std::vector<std::string_view> keys{"pass", "fields"};
        if (entry.contains("blank")) {
            keys.emplace_back("blank");
        }
        if (auto wrong = CheckKeys(entry, path, keys)) {
            return wrong;
        }
        PassOverride override;
        if (auto wrong = FieldText(entry, path, "pass", override.Pass)) {
            return wrong;
        }
        if (entry.contains("blank")) {
            override.Blank.emplace();
            if (auto wrong = FieldText(entry, path, "blank", *override.Blank)) {
                return wrong;
            }
        }
        const Json& fields = entry.at("fields");
        const std::string fieldsPath = path + ".fields";
        if (!fields.is_object()) {
            return "the value of " + InQuotes(fieldsPath) + " is not a group of keys";
        }
        for (const auto& item : fields.items()) {
            const std::optional<std::size_t> found = SetDieFieldIndex(item.key());
            if (!found) {
                return "the key " + InQuotes(KeyPath(fieldsPath, item.key())) + " is unknown";
            }
            std::string text;
            if (auto wrong = FieldText(fields, fieldsPath, item.key(), text)) {
                return wrong;
            }
            override.FieldTexts.at(*found) = std::move(text);
        }
        set.Overrides.push_back(std::move(override));
    }
    return std::nullopt;
}

} // namespace

std::optional<std::size_t> SetDieFieldIndex(std::string_view key) {
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        if (kSetDieFields[i].Key == key) {
            return i;
        }
    }
    return std::nullopt;
}

bool SameAsSaved(const DieSetFile& a, const DieSetFile& b) {
    DieSetFile left = a;
    DieSetFile right = b;
    for (DieSetFile* set : {&left, &right}) {
        if (set->Schedule != ScheduleKind::Equal) {
            set->Dies.clear();
        }
        if (set->Schedule != ScheduleKind::Reduction) {
            set->Percent.clear();
        }
        if (set->Schedule != ScheduleKind::Diameters) {
            set->Outlets.clear();
        }
        if (set->Rounding != RoundingKind::Step) {
            set->RoundingStep.clear();
        }
        if (set->Rounding != RoundingKind::Sizes) {
            set->RoundingSizes.clear();
        }
    }
    return left == right;
}

std::string DieSetToText(const DieSetFile& set) {
    Json schedule = Json::object();
    switch (set.Schedule) {
    case ScheduleKind::Equal:
        schedule["kind"] = kEqual;
        schedule["dies"] = set.Dies;
        break;
    case ScheduleKind::Reduction:
        schedule["kind"] = kReduction;
        schedule["percent"] = set.Percent;
        break;
    case ScheduleKind::Diameters:
        schedule["kind"] = kDiameters;
        schedule["outlets"] = set.Outlets;
        break;
    }
    Json material = Json::object();
    for (const TextKey& key : kMaterialKeys) {
        material[std::string(key.Key)] = set.*key.Member;
    }
    Json fields = Json::object();
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        fields[std::string(kSetDieFields[i].Key)] = set.DieFieldTexts[i];
    }
    Json die = Json::object();
    die["blank"] = set.Blank;
    die["fields"] = std::move(fields);

    Json root = Json::object();
    root["format"] = kSetFormat;
    root["version"] = kSetVersion;
    root["unit"] = set.Unit;
    root["startDiameter"] = set.StartDiameter;
    root["finishDiameter"] = set.FinishDiameter;
    root["schedule"] = std::move(schedule);
    if (set.Rounding != RoundingKind::None) {
        Json rounding = Json::object();
        if (set.Rounding == RoundingKind::Step) {
            rounding["step"] = set.RoundingStep;
        } else {
            rounding["sizes"] = set.RoundingSizes;
        }
        root["rounding"] = std::move(rounding);
    }
    root["material"] = std::move(material);
    root["friction"] = set.Friction;
    root["finishSpeed"] = set.FinishSpeed;
    root["die"] = std::move(die);
    if (!set.Overrides.empty()) {
        Json overrides = Json::array();
        for (const PassOverride& override : set.Overrides) {
            Json changed = Json::object();
            for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
                if (override.FieldTexts[i]) {
                    changed[std::string(kSetDieFields[i].Key)] = *override.FieldTexts[i];
                }
            }
            Json entry = Json::object();
            entry["pass"] = override.Pass;
            if (override.Blank) {
                entry["blank"] = *override.Blank;
            }
            entry["fields"] = std::move(changed);
            overrides.push_back(std::move(entry));
        }
        root["overrides"] = std::move(overrides);
    }
    return JsonFileText(root);
}

std::variant<DieSetFile, std::string> DieSetFromText(std::string_view bytes) {
    std::variant<Json, std::string> parsed = ParseStrictJson(bytes, kSetKind);
    if (std::string* wrong = std::get_if<std::string>(&parsed)) {
        return std::move(*wrong);
    }
    const Json& root = std::get<Json>(parsed);
    std::vector<std::string_view> rootKeys{
        "format",   "version",  "unit",     "startDiameter", "finishDiameter",
        "schedule", "material", "friction", "finishSpeed",   "die"};
    for (const std::string_view optional : {"rounding", "overrides"}) {
        if (root.contains(optional)) {
            rootKeys.emplace_back(optional);
        }
    }
    if (auto wrong = CheckKeys(root, "", rootKeys)) {
        return *wrong;
    }

    DieSetFile set;
    if (auto wrong = TextOf(root, "", "unit", set.Unit)) {
        return *wrong;
    }
    if (set.Unit != "in" && set.Unit != "mm") {
        return "the unit " + InQuotes(set.Unit) + R"( is neither "in" nor "mm")";
    }
    for (auto [key, member] : {std::pair{"startDiameter", &DieSetFile::StartDiameter},
                               std::pair{"finishDiameter", &DieSetFile::FinishDiameter}}) {
        if (auto wrong = FieldText(root, "", key, set.*member)) {
            return *wrong;
        }
    }
    if (auto wrong = ReadSchedule(root.at("schedule"), set)) {
        return *wrong;
    }
    if (root.contains("rounding")) {
        if (auto wrong = ReadRounding(root.at("rounding"), set)) {
            return *wrong;
        }
    }
    const Json& material = root.at("material");
    if (!material.is_object()) {
        return std::string("the value of \"material\" is not a group of keys");
    }
    if (auto wrong = CheckKeys(material, "material", KeysOf(kMaterialKeys))) {
        return *wrong;
    }
    for (const TextKey& key : kMaterialKeys) {
        if (auto wrong = FieldText(material, "material", key.Key, set.*key.Member)) {
            return *wrong;
        }
    }
    for (auto [key, member] : {std::pair{"friction", &DieSetFile::Friction},
                               std::pair{"finishSpeed", &DieSetFile::FinishSpeed}}) {
        if (auto wrong = FieldText(root, "", key, set.*member)) {
            return *wrong;
        }
    }
    if (auto wrong = ReadDie(root.at("die"), set)) {
        return *wrong;
    }
    if (root.contains("overrides")) {
        if (auto wrong = ReadOverrides(root.at("overrides"), set)) {
            return *wrong;
        }
    }
    return set;
}

std::variant<DieSetFile, std::string> ReadDieSetFile(const std::string& path) {
    std::string bytes;
    if (auto wrong = ReadBoundedFile(path, bytes)) {
        return *wrong;
    }
    return DieSetFromText(bytes);
}

} // namespace dieprofile
