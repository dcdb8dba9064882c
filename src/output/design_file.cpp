#include "output/design_file.h"

#include "core/utf8.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

namespace dieprofile {

namespace {

using Json = nlohmann::ordered_json;

// C0 controls, DEL and the C1 controls (U+0080 to U+009F, two bytes C2 80 to C2 9F in UTF-8).
bool HoldsControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
        if (c == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                return true;
            }
        }
    }
    return false;
}

std::string Quote(std::string_view text) {
    // Appended piece by piece: GCC's optimiser warns of a false overlap in the one-line sum.
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

// A key path as the messages write it: "fields.exitAngle".
std::string KeyPath(std::string_view parent, std::string_view key) {
    return parent.empty() ? std::string(key) : std::string(parent) + "." + std::string(key);
}

// Every key of the object is one of the known ones and every known one is there; the first
// difference as the message.
std::optional<std::string> CheckKeys(const Json& object, std::string_view parent,
                                     const std::vector<std::string_view>& known) {
    for (const auto& item : object.items()) {
        bool found = false;
        for (std::string_view key : known) {
            found = found || item.key() == key;
        }
        if (!found) {
            return "the key " + Quote(KeyPath(parent, item.key())) + " is unknown";
        }
    }
    for (std::string_view key : known) {
        if (!object.contains(key)) {
            return "the key " + Quote(KeyPath(parent, key)) + " is missing";
        }
    }
    return std::nullopt;
}

std::optional<std::string> TextOf(const Json& object, std::string_view parent, std::string_view key,
                                  std::string& into) {
    const Json& value = object.at(std::string(key));
    if (!value.is_string()) {
        return "the value of " + Quote(KeyPath(parent, key)) + " is not a text";
    }
    into = value.get<std::string>();
    return std::nullopt;
}

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
    // Invalid UTF-8 in a field cannot reach here from the window; replace rather than throw.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::variant<Design, std::string> DesignFromText(std::string_view bytes) {
    if (bytes.size() > kMaxDesignFileBytes) {
        return std::string("it is larger than 1 MiB");
    }
    if (!IsUtf8(bytes)) {
        return std::string("it is not UTF-8 text");
    }

    // The parser keeps the last of two equal keys; a file that names a key twice is refused
    // instead, since which of the two its writer meant cannot be known.
    std::vector<std::set<std::string>> openObjects;
    std::optional<std::string> duplicate;
    const Json::parser_callback_t noteDuplicates = [&](int, Json::parse_event_t event,
                                                       Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
            openObjects.emplace_back();
            break;
        case Json::parse_event_t::object_end:
            if (!openObjects.empty()) {
                openObjects.pop_back();
            }
            break;
        case Json::parse_event_t::key:
            if (!openObjects.empty() && parsed.is_string() &&
                !openObjects.back().insert(parsed.get<std::string>()).second && !duplicate) {
                duplicate = parsed.get<std::string>();
            }
            break;
        default:
            break;
        }
        return true;
    };
    Json root;
    try {
        root = Json::parse(bytes.begin(), bytes.end(), noteDuplicates);
    } catch (const Json::parse_error& error) {
        return "it is not JSON (error at byte " + std::to_string(error.byte) + ")";
    } catch (const Json::out_of_range&) {
        // A number such as 1E400 is valid JSON that no double holds; the parser refuses it so.
        return std::string("it holds a number too large to read");
    }
    if (duplicate) {
        return "the key " + Quote(*duplicate) + " appears twice";
    }
    if (!root.is_object()) {
        return std::string("it is not a Die Profile design");
    }
    // The format and the version first: a file of another kind or of a newer version is named as
    // such, not as a list of the keys it lacks.
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || *format != kDesignFormat) {
        return std::string("it is not a Die Profile design");
    }
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer()) {
        return std::string("its version is missing or not a whole number");
    }
    if (version->get<long long>() > kDesignVersion) {
        return "it was written by a newer version of the program (design version " +
               std::to_string(version->get<long long>()) + ", this program reads version " +
               std::to_string(kDesignVersion) + ")";
    }
    if (version->get<long long>() < 1) {
        return std::string("its version is not valid");
    }
    std::vector<std::string_view> rootKeys{"format", "version", "unit", "blank", "fields"};
    for (const auto& identityKey : kDrawingIdentityKeys) {
        if (version->get<long long>() >= kDesignIdentityVersion &&
            root.contains(identityKey.first)) {
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
        return "the unit " + Quote(design.Unit) + R"( is neither "in" nor "mm")";
    }
    if (auto wrong = TextOf(root, "", "blank", design.Blank)) {
        return *wrong;
    }
    for (const auto& [key, member] : kDrawingIdentityKeys) {
        if (!root.contains(key)) {
            continue;
        }
        std::string& text = design.Identity.*member;
        if (auto wrong = TextOf(root, "", key, text)) {
            return *wrong;
        }
        if (CodePointCount(text) > kMaxDesignFieldCharacters) {
            return "the text of " + Quote(key) + " is longer than " +
                   std::to_string(kMaxDesignFieldCharacters) + " characters";
        }
        if (HoldsControlCharacter(text)) {
            return "the text of " + Quote(key) + " holds a control character";
        }
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
        if (auto wrong = TextOf(fields, "fields", key, text)) {
            return *wrong;
        }
        if (CodePointCount(text) > kMaxDesignFieldCharacters) {
            return "the text of " + Quote(KeyPath("fields", key)) + " is longer than " +
                   std::to_string(kMaxDesignFieldCharacters) + " characters";
        }
        if (HoldsControlCharacter(text)) {
            return "the text of " + Quote(KeyPath("fields", key)) + " holds a control character";
        }
    }
    return design;
}

std::variant<Design, std::string> ReadDesignFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    // Read in pieces, and no further than one byte past the limit: that tells a file that is too
    // large without reading all of it, and a small file costs no large buffer.
    std::string bytes;
    std::array<char, 16384> piece{};
    while (bytes.size() <= kMaxDesignFileBytes) {
        const std::size_t read = std::fread(piece.data(), 1, piece.size(), file.get());
        bytes.append(piece.data(), read);
        if (read < piece.size()) {
            break;
        }
    }
    if (std::ferror(file.get()) != 0) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    return DesignFromText(bytes);
}

std::string DesignFileName(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name.empty() ? path : name;
}

} // namespace dieprofile
