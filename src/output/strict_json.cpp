#include "output/strict_json.h"

#include "core/message_text.h"
#include "core/utf8.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace dieprofile {

namespace {

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

// Builds the document as the library's own reader does, in linear time whatever its shape: a key
// is appended to its object without a search (the library's ordered objects search every key
// already there), and an object's keys are sorted once when it closes to find a key named twice
// (a reader would keep one of the two, and which one the file's writer meant cannot be known).
class StrictReader {
public:
    explicit StrictReader(StrictJson& root) : root_(root) {}

    bool null() { return Add(StrictJson(nullptr)); }
    bool boolean(bool value) { return Add(StrictJson(value)); }
    bool number_integer(StrictJson::number_integer_t value) { return Add(StrictJson(value)); }
    bool number_unsigned(StrictJson::number_unsigned_t value) { return Add(StrictJson(value)); }
    bool number_float(StrictJson::number_float_t value, const StrictJson::string_t&) {
        return Add(StrictJson(value));
    }
    bool string(StrictJson::string_t& value) { return Add(StrictJson(std::move(value))); }
    bool binary(StrictJson::binary_t&) { return Add(StrictJson::binary({})); }
    bool start_object(std::size_t) {
        if (open_.size() == kMaxDepth) {
            TooDeep = true;
            return false;
        }
        Add(StrictJson::object());
        open_.push_back({added_, keys_.size()});
        return true;
    }
    bool key(StrictJson::string_t& key) {
        keys_.push_back({key, keysSeen_++});
        key_ = std::move(key);
        return true;
    }
    bool end_object() {
        const auto first = keys_.begin() + static_cast<std::ptrdiff_t>(open_.back().FirstKey);
        std::sort(first, keys_.end());
        for (auto key = first; key != keys_.end() && key + 1 != keys_.end(); ++key) {
            if (key->Name == (key + 1)->Name && (key + 1)->Seen < duplicateSeen_) {
                duplicateSeen_ = (key + 1)->Seen;
                Duplicate = key->Name;
            }
        }
        keys_.erase(first, keys_.end());
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t) {
        if (open_.size() == kMaxDepth) {
            TooDeep = true;
            return false;
        }
        Add(StrictJson::array());
        open_.push_back({added_, 0});
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

    // The key named twice whose second naming comes first in the file.
    std::optional<std::string> Duplicate;
    // Nested deeper than any file of ours; the reading stopped there.
    bool TooDeep = false;

private:
    // Our files nest three or four deep; a file nested far deeper is none of ours, and is not
    // worth building (a megabyte of "[" would be a million lists).
    static constexpr std::size_t kMaxDepth = 64;

    struct Open {
        StrictJson* Value;    // stays put: nothing is added to its parent while it is open
        std::size_t FirstKey; // where its keys start in keys_
    };
    struct Key {
        std::string Name;
        std::size_t Seen = 0; // how many keys came before it in the file
        bool operator<(const Key& other) const {
            return std::tie(Name, Seen) < std::tie(other.Name, other.Seen);
        }
    };

    bool Add(StrictJson value) {
        if (open_.empty()) {
            root_ = std::move(value);
            added_ = &root_;
        } else if (StrictJson& parent = *open_.back().Value; parent.is_array()) {
            auto& list = parent.get_ref<StrictJson::array_t&>();
            list.push_back(std::move(value));
            added_ = &list.back();
        } else {
            // Appended as it comes; a repeated key is refused before anyone looks it up.
            auto& object = parent.get_ref<StrictJson::object_t&>();
            object.StrictJson::object_t::Container::emplace_back(std::move(key_), std::move(value));
            added_ = &object.back().second;
        }
        return true;
    }

    StrictJson& root_;
    StrictJson* added_ = nullptr;
    std::vector<Open> open_;
    std::vector<Key> keys_; // the keys of the open objects, innermost last
    std::size_t keysSeen_ = 0;
    std::size_t duplicateSeen_ = SIZE_MAX;
    std::string key_;
};

} // namespace

std::string InQuotes(std::string_view text) {
    return QuotedForMessage(text);
}

std::string KeyPath(std::string_view parent, std::string_view key) {
    return parent.empty() ? std::string(key) : std::string(parent) + "." + std::string(key);
}

Expected<StrictJson> ParseStrictJson(std::string_view bytes, const FileKind& kind) {
    const std::string notOurs = "it is not a Die Profile " + std::string(kind.Noun);
    if (bytes.size() > kMaxFileBytes) {
        return Refusal{"it is larger than 1 MiB"};
    }
    if (!IsUtf8(bytes)) {
        return Refusal{"it is not UTF-8 text"};
    }

    // The parser would take a NUL for the end of the text and ignore whatever follows it.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        return Refusal{"it is not JSON (error at byte " + std::to_string(nul + 1) + ")"};
    }
    StrictJson root;
    StrictReader reader(root);
    try {
        StrictJson::sax_parse(bytes.begin(), bytes.end(), &reader);
    } catch (const StrictJson::parse_error& error) {
        return Refusal{"it is not JSON (error at byte " + std::to_string(error.byte) + ")"};
    } catch (const StrictJson::out_of_range&) {
        // A number such as 1E400 is valid JSON that no double holds; the parser refuses it so.
        return Refusal{"it holds a number too large to read"};
    }
    if (reader.TooDeep) {
        return Refusal{notOurs};
    }
    if (reader.Duplicate) {
        return Refusal{"the key " + InQuotes(*reader.Duplicate) + " appears twice"};
    }
    if (!root.is_object()) {
        return Refusal{notOurs};
    }
    // The format and the version first: a file of another kind or of a newer version is named as
    // such, not as a list of the keys it lacks.
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || *format != kind.Format) {
        return Refusal{notOurs};
    }
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer()) {
        return Refusal{"its version is missing or not a whole number"};
    }
    // A version past the largest signed 64-bit number is still a version, and a newer one.
    const bool newer = version->is_number_unsigned() ? version->get<std::uint64_t>() >
                                                           static_cast<std::uint64_t>(kind.Version)
                                                     : version->get<std::int64_t>() > kind.Version;
    if (newer) {
        return Refusal{"it was written by a newer version of the program (" +
                       std::string(kind.Noun) + " version " + version->dump() +
                       ", this program reads version " + std::to_string(kind.Version) + ")"};
    }
    if (version->get<long long>() < 1) {
        return Refusal{"its version is not valid"};
    }
    return root;
}

Expected<void> CheckKeys(const StrictJson& object, std::string_view parent,
                         const std::vector<std::string_view>& known) {
    for (const auto& item : object.items()) {
        bool found = false;
        for (std::string_view key : known) {
            found = found || item.key() == key;
        }
        if (!found) {
            return Refusal{"the key " + InQuotes(KeyPath(parent, item.key())) + " is unknown"};
        }
    }
    for (std::string_view key : known) {
        if (!object.contains(key)) {
            return Refusal{"the key " + InQuotes(KeyPath(parent, key)) + " is missing"};
        }
    }
    return Done{};
}

Expected<void> TextOf(const StrictJson& object, std::string_view parent, std::string_view key,
                      std::string& into) {
    const StrictJson& value = object.at(std::string(key));
    if (!value.is_string()) {
        return Refusal{"the value of " + InQuotes(KeyPath(parent, key)) + " is not a text"};
    }
    into = value.get<std::string>();
    return Done{};
}

Expected<void> CheckFieldText(std::string_view text, std::string_view path) {
    if (CodePointCount(text) > kMaxFieldCharacters) {
        return Refusal{"the text of " + InQuotes(path) + " is longer than " +
                       std::to_string(kMaxFieldCharacters) + " characters"};
    }
    if (HoldsControlCharacter(text)) {
        return Refusal{"the text of " + InQuotes(path) + " holds a control character"};
    }
    return Done{};
}

Expected<void> FieldText(const StrictJson& object, std::string_view parent, std::string_view key,
                         std::string& into) {
    if (Expected<void> read = TextOf(object, parent, key, into); !read) {
        return read;
    }
    return CheckFieldText(into, KeyPath(parent, key));
}

std::string JsonFileText(const StrictJson& root) {
    // Invalid UTF-8 in a field cannot reach here from a window; replace rather than throw.
    return root.dump(2, ' ', false, StrictJson::error_handler_t::replace) + "\n";
}

} // namespace dieprofile
