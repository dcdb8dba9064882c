#include "output/design_file.h"

#include "core/message_text.h"
#include "core/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace dieprofile {

namespace {

// Written with the keys in a fixed order; read into plain objects, whose keys are found in
// logarithmic time whatever their number.
using OrderedJson = nlohmann::ordered_json;
using Json = nlohmann::json;

// Reads the document as far as a design's checks look into it: the values of the top level and
// of "fields", with nested groups and lists kept as empty placeholders. Besides, it notes the first
// key that an object names twice (a reader would keep one of the two, and which one the file's
// writer meant cannot be known), and the order of the keys at the top level and in "fields", so
// that a message names the first wrong key in the order the file lists them. An object's keys are
// sorted once when it closes, so no file of any shape takes more than n log n time.
class DesignReader {
public:
    explicit DesignReader(Json& root) : root_(root) {}

    bool null() { return Keep(Json(nullptr)); }
    bool boolean(bool value) { return Keep(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return Keep(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return Keep(Json(value)); }
    bool number_float(Json::number_float_t value, const Json::string_t&) {
        return Keep(Json(value));
    }
    bool string(Json::string_t& value) { return Keep(Json(std::move(value))); }
    bool binary(Json::binary_t&) { return Keep(Json::binary({})); }
    bool start_object(std::size_t) {
        fieldsOpen_ = fieldsOpen_ || (open_.size() == 1 && key_ == "fields");
        Keep(Json::object());
        open_.push_back(keys_.size());
        return true;
    }
    bool key(Json::string_t& key) {
        keys_.push_back({key, keysSeen_++});
        if (open_.size() == 1) {
            RootOrder.push_back(key);
        } else if (InFields()) {
            FieldsOrder.push_back(key);
        }
        key_ = std::move(key);
        return true;
    }
    bool end_object() {
        const auto first = keys_.begin() + static_cast<std::ptrdiff_t>(open_.back());
        std::sort(first, keys_.end());
        for (auto key = first; key != keys_.end() && key + 1 != keys_.end(); ++key) {
            if (key->Name == (key + 1)->Name && (key + 1)->Seen < duplicateSeen_) {
                duplicateSeen_ = (key + 1)->Seen;
                Duplicate = key->Name;
            }
        }
        keys_.erase(first, keys_.end());
        fieldsOpen_ = fieldsOpen_ && !InFields();
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t) {
        Keep(Json::array());
        open_.push_back(kList);
        return true;
    }
    bool end_array() {
        open_.pop_back();
        return true;
    }
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception& error) {
        throw error;
    }

    std::optional<std::string> Duplicate; // the key named twice whose second naming comes first
    std::vector<std::string> RootOrder;
    std::vector<std::string> FieldsOrder;

private:
    static constexpr std::size_t kList = SIZE_MAX;

    struct Key {
        std::string Name;
        std::size_t Seen = 0; // how many keys came before it in the file
        bool operator<(const Key& other) const {
            return std::tie(Name, Seen) < std::tie(other.Name, other.Seen);
        }
    };

    bool InFields() const { return fieldsOpen_ && open_.size() == 2; }

    // Keeps a value where a design's checks look: the top level itself, a key of the top level, a
    // key of "fields".
    bool Keep(Json value) {
        if (open_.empty()) {
            root_ = std::move(value);
        } else if (open_.size() == 1 && open_.back() != kList) {
            root_[key_] = std::move(value);
        } else if (InFields()) {
            root_["fields"][key_] = std::move(value);
        }
        return true;
    }

    Json& root_;
    std::vector<std::size_t> open_; // for each open object where its keys start; kList for a list
    std::vector<Key> keys_;         // the keys of the open objects, innermost last
    std::size_t keysSeen_ = 0;
    std::size_t duplicateSeen_ = SIZE_MAX;
    bool fieldsOpen_ = false;
    std::string key_;
};

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
    return QuotedForMessage(text);
}

// A key path as the messages write it: "fields.exitAngle".
std::string KeyPath(std::string_view parent, std::string_view key) {
    return parent.empty() ? std::string(key) : std::string(parent) + "." + std::string(key);
}

// Every key of the object is one of the known ones and every known one is there; the first
// difference as the message.
std::optional<std::string> CheckKeys(const Json& object, const std::vector<std::string>& order,
                                     std::string_view parent,
                                     const std::vector<std::string_view>& known) {
    for (const std::string& item : order) {
        bool found = false;
        for (std::string_view key : known) {
            found = found || item == key;
        }
        if (!found) {
            return "the key " + Quote(KeyPath(parent, item)) + " is unknown";
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

// What a user could have typed or chosen: no longer than a field holds, no control character.
std::optional<std::string> CheckTyped(std::string_view keyPath, std::string_view text) {
    if (CodePointCount(text) > kMaxDesignFieldCharacters) {
        return "the text of " + Quote(keyPath) + " is longer than " +
               std::to_string(kMaxDesignFieldCharacters) + " characters";
    }
    if (HoldsControlCharacter(text)) {
        return "the text of " + Quote(keyPath) + " holds a control character";
    }
    return std::nullopt;
}

// A descriptor closed however the reading ends.
struct OpenFile {
    explicit OpenFile(int descriptor) : Descriptor(descriptor) {}
    int Descriptor = -1;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    OpenFile(OpenFile&&) = delete;
    OpenFile& operator=(OpenFile&&) = delete;
    ~OpenFile() {
        if (Descriptor >= 0) {
            ::close(Descriptor);
        }
    }
};

} // namespace

std::string DesignToText(const Design& design) {
    OrderedJson fields = OrderedJson::object();
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        fields[std::string(kDesignFields[i].Key)] = design.FieldTexts[i];
    }
    OrderedJson root = OrderedJson::object();
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
    return root.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

std::variant<Design, std::string> DesignFromText(std::string_view bytes) {
    if (bytes.size() > kMaxDesignFileBytes) {
        return std::string("it is larger than 1 MiB");
    }
    if (!IsUtf8(bytes)) {
        return std::string("it is not UTF-8 text");
    }

    // The parser would take a NUL for the end of the text and ignore whatever follows it.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        return "it is not JSON (error at byte " + std::to_string(nul + 1) + ")";
    }
    Json root;
    DesignReader reader(root);
    try {
        Json::sax_parse(bytes.begin(), bytes.end(), &reader);
    } catch (const Json::parse_error& error) {
        return "it is not JSON (error at byte " + std::to_string(error.byte) + ")";
    } catch (const Json::out_of_range&) {
        // A number such as 1E400 is valid JSON that no double holds; the parser refuses it so.
        return std::string("it holds a number too large to read");
    }
    if (reader.Duplicate) {
        return "the key " + Quote(*reader.Duplicate) + " appears twice";
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
    // A version past the largest signed 64-bit number is still a version, and a newer one.
    const bool newer = version->is_number_unsigned()
                           ? version->get<std::uint64_t>() > std::uint64_t{kDesignVersion}
                           : version->get<std::int64_t>() > kDesignVersion;
    if (newer) {
        return "it was written by a newer version of the program (design version " +
               version->dump() + ", this program reads version " + std::to_string(kDesignVersion) +
               ")";
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
    if (auto wrong = CheckKeys(root, reader.RootOrder, "", rootKeys)) {
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
    if (auto wrong = CheckTyped("blank", design.Blank)) {
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
        if (auto wrong = CheckTyped(key, text)) {
            return *wrong;
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
    if (auto wrong = CheckKeys(fields, reader.FieldsOrder, "fields", fieldKeys)) {
        return *wrong;
    }
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        const std::string_view key = kDesignFields[i].Key;
        std::string& text = design.FieldTexts[i];
        if (auto wrong = TextOf(fields, "fields", key, text)) {
            return *wrong;
        }
        if (auto wrong = CheckTyped(KeyPath("fields", key), text)) {
            return *wrong;
        }
    }
    return design;
}

std::variant<Design, std::string> ReadDesignFile(const std::string& path) {
    // Opened without waiting: a pipe would otherwise block until something writes into it, and a
    // design is only ever a regular file.
    const OpenFile file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    const int descriptor = file.Descriptor;
    if (descriptor < 0) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    if (S_ISDIR(status.st_mode)) {
        return "it cannot be read (" + std::string(std::strerror(EISDIR)) + ")";
    }
    if (!S_ISREG(status.st_mode)) {
        return std::string("it is a pipe or a device, not a file");
    }
    // Read in pieces, and no further than one byte past the limit: that tells a file that is too
    // large without reading all of it, and a small file costs no large buffer.
    std::string bytes;
    std::array<char, 16384> piece{};
    while (bytes.size() <= kMaxDesignFileBytes) {
        const ssize_t read = ::read(descriptor, piece.data(), piece.size());
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read < 0) {
            return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
        }
        if (read == 0) {
            break;
        }
        bytes.append(piece.data(), static_cast<std::size_t>(read));
    }
    return DesignFromText(bytes);
}

std::string DesignFileName(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name.empty() ? path : name;
}

} // namespace dieprofile
