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

template <std::size_t N>
std::vector<std::string_view> KeysOf(const std::array<SetTextKey, N>& texts) {
    std::vector<std::string_view> keys;
    keys.reserve(N);
    for (const SetTextKey& text : texts) {
        keys.push_back(text.Key);
    }
    return keys;
}

// The text under its key in the object of its group, checked as a field's text.
Expected<void> ReadText(const Json& object, const SetTextKey& text, DieSetFile& set) {
    return FieldText(object, text.Group, text.Key, set.*text.Member);
}

template <std::size_t N>
Expected<void> ReadTexts(const Json& object, const std::array<SetTextKey, N>& texts,
                         DieSetFile& set) {
    for (const SetTextKey& text : texts) {
        if (Expected<void> read = ReadText(object, text, set); !read) {
            return read;
        }
    }
    return Done{};
}

void WriteText(Json& object, const SetTextKey& text, const DieSetFile& set) {
    object[std::string(text.Key)] = set.*text.Member;
}

template <std::size_t N>
void WriteTexts(Json& object, const std::array<SetTextKey, N>& texts, const DieSetFile& set) {
    for (const SetTextKey& text : texts) {
        WriteText(object, text, set);
    }
}

void WriteList(Json& object, const SetListKey& list, const DieSetFile& set) {
    object[std::string(list.Key)] = set.*list.Member;
}

// The list under its key in the object of its group, each entry checked as a field's text.
Expected<void> ReadList(const Json& object, const SetListKey& key, DieSetFile& set) {
    const Json& list = object.at(std::string(key.Key));
    const std::string path = KeyPath(key.Group, key.Key);
    std::vector<std::string>& texts = set.*key.Member;
    if (!list.is_array()) {
        return Refusal{"the value of " + InQuotes(path) + " is not a list"};
    }
    texts.clear();
    texts.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string entry = path + "[" + std::to_string(i + 1) + "]";
        if (!list[i].is_string()) {
            return Refusal{"the value of " + InQuotes(entry) + " is not a text"};
        }
        texts.push_back(list[i].get<std::string>());
        if (Expected<void> read = CheckFieldText(texts.back(), entry); !read) {
            return read;
        }
    }
    return Done{};
}

Expected<void> ReadSchedule(const Json& schedule, DieSetFile& set) {
    if (!schedule.is_object()) {
        return Refusal{"the value of \"schedule\" is not a group of keys"};
    }
    const auto kind = schedule.find("kind");
    if (kind == schedule.end()) {
        return Refusal{"the key \"schedule.kind\" is missing"};
    }
    if (!kind->is_string()) {
        return Refusal{"the value of \"schedule.kind\" is not a text"};
    }
    const std::string name = kind->get<std::string>();
    if (name == kEqual) {
        set.Schedule = ScheduleKind::Equal;
        if (Expected<void> read = CheckKeys(schedule, "schedule", {"kind", kSetDies.Key}); !read) {
            return read;
        }
        return ReadText(schedule, kSetDies, set);
    }
    if (name == kReduction) {
        set.Schedule = ScheduleKind::Reduction;
        if (Expected<void> read = CheckKeys(schedule, "schedule", {"kind", kSetPercent.Key});
            !read) {
            return read;
        }
        return ReadText(schedule, kSetPercent, set);
    }
    if (name == kDiameters) {
        set.Schedule = ScheduleKind::Diameters;
        if (Expected<void> read = CheckKeys(schedule, "schedule", {"kind", kSetOutlets.Key});
            !read) {
            return read;
        }
        return ReadList(schedule, kSetOutlets, set);
    }
    return Refusal{"the schedule " + InQuotes(name) +
                   R"( is none of "equal", "reduction" and "diameters")"};
}

Expected<void> ReadDie(const Json& die, DieSetFile& set) {
    if (!die.is_object()) {
        return Refusal{"the value of \"die\" is not a group of keys"};
    }
    if (Expected<void> read = CheckKeys(die, "die", {kSetBlank.Key, "fields"}); !read) {
        return read;
    }
    if (Expected<void> read = ReadText(die, kSetBlank, set); !read) {
        return read;
    }
    const Json& fields = die.at("fields");
    if (!fields.is_object()) {
        return Refusal{"the value of \"die.fields\" is not a group of keys"};
    }
    std::vector<std::string_view> keys;
    keys.reserve(kSetDieFields.size());
    for (const DesignFieldKey& field : kSetDieFields) {
        keys.push_back(field.Key);
    }
    if (Expected<void> read = CheckKeys(fields, "die.fields", keys); !read) {
        return read;
    }
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        if (Expected<void> read =
                FieldText(fields, "die.fields", kSetDieFields[i].Key, set.DieFieldTexts[i]);
            !read) {
            return read;
        }
    }
    return Done{};
}

// {"step": "0.001"} or {"sizes": ["1.2", ...]}: one of the two.
Expected<void> ReadRounding(const Json& rounding, DieSetFile& set) {
    if (!rounding.is_object()) {
        return Refusal{"the value of \"rounding\" is not a group of keys"};
    }
    if (rounding.contains(kSetRoundingStep.Key)) {
        set.Rounding = RoundingKind::Step;
        if (Expected<void> read = CheckKeys(rounding, "rounding", {kSetRoundingStep.Key}); !read) {
            return read;
        }
        return ReadText(rounding, kSetRoundingStep, set);
    }
    set.Rounding = RoundingKind::Sizes;
    if (Expected<void> read = CheckKeys(rounding, "rounding", {kSetRoundingSizes.Key}); !read) {
        return read;
    }
    return ReadList(rounding, kSetRoundingSizes, set);
}

Expected<void> ReadOverrides(const Json& overrides, DieSetFile& set) {
    if (!overrides.is_array()) {
        return Refusal{"the value of " + InQuotes(kSetOverridesKey) + " is not a list"};
    }
    for (std::size_t i = 0; i < overrides.size(); ++i) {
        const std::string path = std::string(kSetOverridesKey) + "[" + std::to_string(i + 1) + "]";
        const Json& entry = overrides[i];
        if (!entry.is_object()) {
            return Refusal{"the value of " + InQuotes(path) + " is not a group of keys"};
        }
        std::vector<std::string_view> keys{"pass", "fields"};
        if (entry.contains("blank")) {
            keys.emplace_back("blank");
        }
        if (Expected<void> read = CheckKeys(entry, path, keys); !read) {
            return read;
        }
        PassOverride override;
        if (Expected<void> read = FieldText(entry, path, "pass", override.Pass); !read) {
            return read;
        }
        if (entry.contains("blank")) {
            override.Blank.emplace();
            if (Expected<void> read = FieldText(entry, path, "blank", *override.Blank); !read) {
                return read;
            }
        }
        const Json& fields = entry.at("fields");
        const std::string fieldsPath = path + ".fields";
        if (!fields.is_object()) {
            return Refusal{"the value of " + InQuotes(fieldsPath) + " is not a group of keys"};
        }
        for (const auto& item : fields.items()) {
            const std::optional<std::size_t> found = SetDieFieldIndex(item.key());
            if (!found) {
                return Refusal{"the key " + InQuotes(KeyPath(fieldsPath, item.key())) +
                               " is unknown"};
            }
            std::string text;
            if (Expected<void> read = FieldText(fields, fieldsPath, item.key(), text); !read) {
                return read;
            }
            override.FieldTexts.at(*found) = std::move(text);
        }
        set.Overrides.push_back(std::move(override));
    }
    return Done{};
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
        WriteText(schedule, kSetDies, set);
        break;
    case ScheduleKind::Reduction:
        schedule["kind"] = kReduction;
        WriteText(schedule, kSetPercent, set);
        break;
    case ScheduleKind::Diameters:
        schedule["kind"] = kDiameters;
        WriteList(schedule, kSetOutlets, set);
        break;
    }
    Json material = Json::object();
    WriteTexts(material, kSetMaterialTexts, set);
    Json fields = Json::object();
    for (std::size_t i = 0; i < kSetDieFields.size(); ++i) {
        fields[std::string(kSetDieFields[i].Key)] = set.DieFieldTexts[i];
    }
    Json die = Json::object();
    WriteText(die, kSetBlank, set);
    die["fields"] = std::move(fields);

    Json root = Json::object();
    root["format"] = kSetFormat;
    root["version"] = kSetVersion;
    root["unit"] = set.Unit;
    WriteTexts(root, kSetDiameterTexts, set);
    root["schedule"] = std::move(schedule);
    if (set.Rounding != RoundingKind::None) {
        Json rounding = Json::object();
        if (set.Rounding == RoundingKind::Step) {
            WriteText(rounding, kSetRoundingStep, set);
        } else {
            WriteList(rounding, kSetRoundingSizes, set);
        }
        root["rounding"] = std::move(rounding);
    }
    root["material"] = std::move(material);
    WriteTexts(root, kSetDrawingTexts, set);
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
        root[std::string(kSetOverridesKey)] = std::move(overrides);
    }
    return JsonFileText(root);
}

Expected<DieSetFile> DieSetFromText(std::string_view bytes) {
    const Expected<Json> parsed = ParseStrictJson(bytes, kSetKind);
    if (!parsed) {
        return parsed.Error();
    }
    const Json& root = *parsed;
    std::vector<std::string_view> rootKeys{
        "format",   "version",  "unit",           kSetStartDiameter.Key, kSetFinishDiameter.Key,
        "schedule", "material", kSetFriction.Key, kSetFinishSpeed.Key,   "die"};
    for (const std::string_view optional : {std::string_view("rounding"), kSetOverridesKey}) {
        if (root.contains(optional)) {
            rootKeys.emplace_back(optional);
        }
    }
    if (Expected<void> read = CheckKeys(root, "", rootKeys); !read) {
        return read.Error();
    }

    DieSetFile set;
    if (Expected<void> read = TextOf(root, "", "unit", set.Unit); !read) {
        return read.Error();
    }
    if (set.Unit != "in" && set.Unit != "mm") {
        return Refusal{"the unit " + InQuotes(set.Unit) + R"( is neither "in" nor "mm")"};
    }
    if (Expected<void> read = ReadTexts(root, kSetDiameterTexts, set); !read) {
        return read.Error();
    }
    if (Expected<void> read = ReadSchedule(root.at("schedule"), set); !read) {
        return read.Error();
    }
    if (root.contains("rounding")) {
        if (Expected<void> read = ReadRounding(root.at("rounding"), set); !read) {
            return read.Error();
        }
    }
    const Json& material = root.at("material");
    if (!material.is_object()) {
        return Refusal{"the value of \"material\" is not a group of keys"};
    }
    if (Expected<void> read = CheckKeys(material, "material", KeysOf(kSetMaterialTexts)); !read) {
        return read.Error();
    }
    if (Expected<void> read = ReadTexts(material, kSetMaterialTexts, set); !read) {
        return read.Error();
    }
    if (Expected<void> read = ReadTexts(root, kSetDrawingTexts, set); !read) {
        return read.Error();
    }
    if (Expected<void> read = ReadDie(root.at("die"), set); !read) {
        return read.Error();
    }
    if (root.contains(kSetOverridesKey)) {
        if (Expected<void> read = ReadOverrides(root.at(std::string(kSetOverridesKey)), set);
            !read) {
            return read.Error();
        }
    }
    return set;
}

Expected<DieSetFile> ReadDieSetFile(const std::string& path) {
    const Expected<std::string> bytes = ReadBoundedFile(path);
    if (!bytes) {
        return bytes.Error();
    }
    return DieSetFromText(*bytes);
}

} // namespace dieprofile
