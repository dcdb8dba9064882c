#include "output/design_file.h"
#include "core/units.h"
#include "output/sheet_layout.h"
#include "output/strict_json.h"

#include <filesystem>
#include <vector>

namespace dieprofile {

namespace {

using Json = StrictJson;

constexpr FileKind kDesignKind{kDesignFormat, kDesignVersion, "design"};
static_assert(kMaxDesignFileBytes == kMaxFileBytes &&
              kMaxDesignFieldCharacters == kMaxFieldCharacters);

} // namespace

std::string DesignToText(const Design& design) {
    Json fields = Json::object();
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        fields[std::string(kDesignFields[i].Key)] = design.FieldTexts[i];
    }
    Json root = Json::object();
    root["format"] = kDesignFormat;
    root["version"] = design.Identity.Empty() ? 1 : kDesignIdentityVersion;
    root["unit"] = design.Unit;
    root["blank"] = design.Blank;
    for (const auto& [key, member] : kDrawingIdentityKeys) {
        if (!(design.Identity.*member).empty()) {
            root[std::string(key)] = design.Identity.*member;
        }
    }
    root["fields"] = std::move(fields);
    return JsonFileText(root);
}

Expected<Design> DesignFromText(std::string_view bytes) {
    const Expected<Json> parsed = ParseStrictJson(bytes, kDesignKind);
    if (!parsed) {
        return parsed.Error();
    }
    const Json& root = *parsed;
    const long long version = root.at("version").get<long long>();
    std::vector<std::string_view> rootKeys{"format", "version", "unit", "blank", "fields"};
    for (const auto& identityKey : kDrawingIdentityKeys) {
        if (version >= kDesignIdentityVersion && root.contains(identityKey.first)) {
            rootKeys.push_back(identityKey.first);
        }
    }
    if (Expected<void> known = CheckKeys(root, "", rootKeys); !known) {
        return known.Error();
    }

    Design design;
    if (Expected<void> read = TextOf(root, "", "unit", design.Unit); !read) {
        return read.Error();
    }
    if (design.Unit != "in" && design.Unit != "mm") {
        return Refusal{"the unit " + InQuotes(design.Unit) + R"( is neither "in" nor "mm")"};
    }
    if (Expected<void> read = FieldText(root, "", "blank", design.Blank); !read) {
        return read.Error();
    }
    for (const auto& [key, member] : kDrawingIdentityKeys) {
        if (!root.contains(key)) {
            continue;
        }
        if (Expected<void> read = FieldText(root, "", key, design.Identity.*member); !read) {
            return read.Error();
        }
    }
    if (const std::string& tolerance = design.Identity.BearingTolerance;
        !tolerance.empty() && !ParseBearingTolerance(tolerance, UnitDivisorOf(design.Unit))) {
        return Refusal{"the bearing tolerance " + InQuotes(tolerance) +
                       " is not an upper and a lower deviation"};
    }
    const Json& fields = root.at("fields");
    if (!fields.is_object()) {
        return Refusal{"the value of \"fields\" is not a group of keys"};
    }
    std::vector<std::string_view> fieldKeys;
    fieldKeys.reserve(kDesignFields.size());
    for (const DesignFieldKey& field : kDesignFields) {
        fieldKeys.push_back(field.Key);
    }
    if (Expected<void> known = CheckKeys(fields, "fields", fieldKeys); !known) {
        return known.Error();
    }
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        const std::string_view key = kDesignFields[i].Key;
        std::string& text = design.FieldTexts[i];
        if (Expected<void> read = FieldText(fields, "fields", key, text); !read) {
            return read.Error();
        }
    }
    return design;
}

Expected<Design> ReadDesignFile(const std::string& path) {
    const Expected<std::string> bytes = ReadBoundedFile(path);
    if (!bytes) {
        return bytes.Error();
    }
    return DesignFromText(*bytes);
}

std::string DesignFileName(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name.empty() ? path : name;
}

std::string DesignLine(std::string_view designName, const DrawingIdentity& identity) {
    std::string line;
    const auto add = [&line](std::string_view separator, std::string_view part) {
        if (!part.empty()) {
            line += line.empty() ? std::string_view() : separator;
            line += part;
        }
    };
    add(" ", identity.Number);
    add(" ", identity.Title);
    if (!identity.Revision.empty()) {
        add(", ", "rev. " + identity.Revision);
    }
    if (!designName.empty()) {
        add(" ", line.empty() ? std::string(designName) : "(" + std::string(designName) + ")");
    }
    return line;
}

} // namespace dieprofile
