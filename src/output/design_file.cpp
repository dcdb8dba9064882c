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

std::variant<Design, std::string> DesignFromText(std::string_view bytes) {
    std::variant<Json, std::string> parsed = ParseStrictJson(bytes, kDesignKind);
    if (std::string* wrong = std::get_if<std::string>(&parsed)) {
        return std::move(*wrong);
    }
    const Json& root = std::get<Json>(parsed);
    const long long version = root.at("version").get<long long>();
    std::vector<std::string_view> rootKeys{"format", "version", "unit", "blank", "fields"};
    for (const auto& identityKey : kDrawingIdentityKeys) {
        if (version >= kDesignIdentityVersion && root.contains(identityKey.first)) {
            rootKeys.push_back(identityKey.first);
        }
    }
    if (auto wrong = CheckKeys(root, "", rootKeys)) {
        return *wrong;
    }

    Design design;
    if (auto wrong = TextOf(root, "", "unit", design.Unit)) {
        return *wrong;
    }
    if (design.Unit != "in" && design.Unit != "mm") {
        return "the unit " + InQuotes(design.Unit) + R"( is neither "in" nor "mm")";
    }
    if (auto wrong = FieldText(root, "", "blank", design.Blank)) {
        return *wrong;
    }
    for (const auto& [key, member] : kDrawingIdentityKeys) {
        if (!root.contains(key)) {
            continue;
        }
        if (auto wrong = FieldText(root, "", key, design.Identity.*member)) {
            return *wrong;
        }
    }
    if (const std::string& tolerance = design.Identity.BearingTolerance;
        !tolerance.empty() && !ParseBearingTolerance(tolerance, UnitDivisorOf(design.Unit))) {
        return "the bearing tolerance " + InQuotes(tolerance) +
               " is not an upper and a lower deviation";
    }
    const Json& fields = root.at("fields");
    if (!fields.is_object()) {
        return std::string("the value of \"fields\" is not a group of keys");
    }
    std::vector<std::string_view> fieldKeys;
    fieldKeys.reserve(kDesignFields.size());
    for (const DesignFieldKey& field : kDesignFields) {
        fieldKeys.push_back(field.Key);
    }
    if (auto wrong = CheckKeys(fields, "fields", fieldKeys)) {
        return *wrong;
    }
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        const std::string_view key = kDesignFields[i].Key;
        std::string& text = design.FieldTexts[i];
        if (auto wrong = FieldText(fields, "fields", key, text)) {
            return *wrong;
        }
    }
    return design;
}

std::variant<Design, std::string> ReadDesignFile(const std::string& path) {
    std::string bytes;
    if (auto wrong = ReadBoundedFile(path, bytes)) {
        return *wrong;
    }
    return DesignFromText(bytes);
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
