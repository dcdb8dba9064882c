#include "output/strict_json.h"

#include "core/utf8.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
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

} // namespace

std::string InQuotes(std::string_view text) {
    // Appended piece by piece: GCC's optimiser warns of a false overlap in the one-line sum.
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

std::string KeyPath(std::string_view parent, std::string_view key) {
    return parent.empty() ? std::string(key) : std::string(parent) + "." + std::string(key);
}

std::variant<StrictJson, std::string> ParseStrictJson(std::string_view bytes,
                                                      const FileKind& kind) {
    const std::string notOurs = "it is not a Die Profile " + std::string(kind.Noun);
    if (bytes.size() > kMaxFileBytes) {
        return std::string("it is larger than 1 MiB");
    }
    if (!IsUtf8(bytes)) {
        return std::string("it is not UTF-8 text");
    }

    // The parser keeps the last of two equal keys; a file that names a key twice is refused
    // instead, since which of the two its writer meant cannot be known.
    std::vector<std::set<std::string>> openObjects;
    std::optional<std::string> duplicate;
    const StrictJson::parser_callback_t noteDuplicates = [&](int, StrictJson::parse_event_t event,
                                                             StrictJson& parsed) {
        switch (event) {
        case StrictJson::parse_event_t::object_start:
            openObjects.emplace_back();
            break;
        case StrictJson::parse_event_t::object_end:
            if (!openObjects.empty()) {
                openObjects.pop_back();
            }
            break;
        case StrictJson::parse_event_t::key:
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
    StrictJson root;
    try {
        root = StrictJson::parse(bytes.begin(), bytes.end(), noteDuplicates);
    } catch (const StrictJson::parse_error& error) {
        return "it is not JSON (error at byte " + std::to_string(error.byte) + ")";
    } catch (const StrictJson::out_of_range&) {
        // A number such as 1E400 is valid JSON that no double holds; the parser refuses it so.
        return std::string("it holds a number too large to read");
    }
    if (duplicate) {
        return "the key " + InQuotes(*duplicate) + " appears twice";
    }
    if (!root.is_object()) {
        return notOurs;
    }
    // The format and the version first: a file of another kind or of a newer version is named as
    // such, not as a list of the keys it lacks.
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || *format != kind.Format) {
        return notOurs;
    }
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer()) {
        return std::string("its version is missing or not a whole number");
    }
    if (version->get<long long>() > kind.Version) {
        return "it was written by a newer version of the program (" + std::string(kind.Noun) +
               " version " + std::to_string(version->get<long long>()) +
               ", this program reads version " + std::to_string(kind.Version) + ")";
    }
    if (version->get<long long>() < 1) {
        return std::string("its version is not valid");
    }
    return root;
}

std::optional<std::string> CheckKeys(const StrictJson& object, std::string_view parent,
                                     const std::vector<std::string_view>& known) {
    for (const auto& item : object.items()) {
        bool found = false;
        for (std::string_view key : known) {
            found = found || item.key() == key;
        }
        if (!found) {
            return "the key " + InQuotes(KeyPath(parent, item.key())) + " is unknown";
        }
    }
    for (std::string_view key : known) {
        if (!object.contains(key)) {
            return "the key " + InQuotes(KeyPath(parent, key)) + " is missing";
        }
    }
    return std::nullopt;
}

std::optional<std::string> TextOf(const StrictJson& object, std::string_view parent,
                                  std::string_view key, std::string& into) {
    const StrictJson& value = object.at(std::string(key));
    if (!value.is_string()) {
        return "the value of " + InQuotes(KeyPath(parent, key)) + " is not a text";
    }
    into = value.get<std::string>();
    return std::nullopt;
}

std::optional<std::string> CheckFieldText(std::string_view text, std::string_view path) {
    if (CodePointCount(text) > kMaxFieldCharacters) {
        return "the text of " + InQuotes(path) + " is longer than " +
               std::to_string(kMaxFieldCharacters) + " characters";
    }
    if (HoldsControlCharacter(text)) {
        return "the text of " + InQuotes(path) + " holds a control character";
    }
    return std::nullopt;
}

std::optional<std::string> FieldText(const StrictJson& object, std::string_view parent,
                                     std::string_view key, std::string& into) {
    if (auto wrong = TextOf(object, parent, key, into)) {
        return wrong;
    }
    return CheckFieldText(into, KeyPath(parent, key));
}

std::optional<std::string> ReadBoundedFile(const std::string& path, std::string& bytes) {
    // Opened without waiting, so that a named pipe or a device is refused at once instead of
    // blocking the window until something writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    struct Closer {
        int Fd;
        ~Closer() { ::close(Fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
    }
    if (S_ISDIR(status.st_mode)) {
        return "it cannot be read (" + std::string(std::strerror(EISDIR)) + ")";
    }
    if (!S_ISREG(status.st_mode)) {
        return std::string("it is not a regular file");
    }
    // Read in pieces, and no further than one byte past the limit: that tells a file that is too
    // large without reading all of it, and a small file costs no large buffer.
    bytes.clear();
    std::array<char, 16384> piece{};
    while (bytes.size() <= kMaxFileBytes) {
        const ssize_t read = ::read(fd, piece.data(), piece.size());
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            return "it cannot be read (" + std::string(std::strerror(errno)) + ")";
        }
        if (read == 0) {
            break;
        }
        bytes.append(piece.data(), static_cast<std::size_t>(read));
    }
    return std::nullopt;
}

std::string JsonFileText(const StrictJson& root) {
    // Invalid UTF-8 in a field cannot reach here from a window; replace rather than throw.
    return root.dump(2, ' ', false, StrictJson::error_handler_t::replace) + "\n";
}

} // namespace dieprofile
