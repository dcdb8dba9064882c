// Writing a file so that it is either wholly the new text or left as it was: the bytes go to a
// temporary file beside it, are flushed to the disk, and the temporary file then replaces it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

// Nothing on success; otherwise why the file could not be written, in words for the user ("no
// permission", "the disk is full"), and the file at path is untouched.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace dieprofile
