// Writing a file so that it is either wholly the new text or left as it was: the bytes go to a
// temporary file beside it, are flushed to the disk, and the temporary file then replaces it.
// Every file the program writes goes this way, whatever its format.
#pragma once

#include "core/expected.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dieprofile {

// Done, or why the file could not be written, in words for the user ("no permission to write
// there", "the disk is full"), the same words for the same failure whatever is written, and the
// file at path is untouched.
//
// Through a symbolic link the link's target is written and the link stays. A new file gets the
// permissions the umask leaves of rw-rw-rw-; a replaced file keeps its permissions (never
// set-user-ID or set-group-ID) and, where the user may give them, its owner and group. Anything
// at path that is not a regular file (a folder, a device, a pipe) is refused.
Expected<void> WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whether the two paths name one and the same file, through symbolic and hard links alike. False
// when either does not exist.
bool IsSameFile(const std::string& first, const std::string& second);

// At most limit + 1 bytes of the file (enough to tell a file that is too large without reading
// all of it), or why it cannot be read. Anything but a regular file (a named pipe, a device) is
// refused at once, never waited on.
Expected<std::string> ReadBoundedFile(const std::string& path, std::size_t limit);

} // namespace dieprofile
