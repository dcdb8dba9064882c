// Strict reading of the program's own JSON files (designs and die sets): bounded size, UTF-8, no
// key named twice, the file's kind and version checked first, every key known and present, every
// value a text of bounded length without control characters. Only the file readers of this folder
// include it; the JSON library stays out of every public header.
#pragma once

#include "core/expected.h"
#include "output/atomic_file.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

using StrictJson = nlohmann::ordered_json;

inline constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;
inline constexpr std::size_t kMaxFieldCharacters = 1000;

// What kind of file a reader expects, as its messages name it.
struct FileKind {
    std::string_view Format; // the "format" key's value
    int Version;             // the newest version this program reads
    std::string_view Noun;   // "design", "die set": "it is not a Die Profile design"
};

// The bytes parsed, with the file's format and version checked, or what is wrong with them.
Expected<StrictJson> ParseStrictJson(std::string_view bytes, const FileKind& kind);

// "the key "fields.exitAngle" is unknown" or "... is missing": the object holds exactly the known
// keys; the first difference as the message.
Expected<void> CheckKeys(const StrictJson& object, std::string_view parent,
                         const std::vector<std::string_view>& known);

// Reads object[key] (which must be there) into `into`, or says that it is not a text.
Expected<void> TextOf(const StrictJson& object, std::string_view parent, std::string_view key,
                      std::string& into);

// As TextOf, for a text as typed into a field: at most kMaxFieldCharacters characters and no
// control character, or the message saying which rule it breaks.
Expected<void> FieldText(const StrictJson& object, std::string_view parent, std::string_view key,
                         std::string& into);

// A key path as the messages write it: "fields.exitAngle".
std::string KeyPath(std::string_view parent, std::string_view key);

// "\"text\"".
std::string InQuotes(std::string_view text);

// At most kMaxFileBytes + 1 bytes of the file, as every file reader reads it.
inline Expected<std::string> ReadBoundedFile(const std::string& path) {
    return ReadBoundedFile(path, kMaxFileBytes);
}

// The same check of one value already held: a text as typed, or what is wrong with it.
Expected<void> CheckFieldText(std::string_view text, std::string_view path);

// The serialised text of a root object, as the writers save it.
std::string JsonFileText(const StrictJson& root);

} // namespace dieprofile
