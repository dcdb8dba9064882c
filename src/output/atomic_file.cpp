#include "output/atomic_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile {

namespace {

// Links followed before a loop of them is assumed, as the kernel counts.
constexpr int kMaxLinks = 40;

std::string Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return "no permission to write there";
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EFBIG:
        return "the file is larger than this system allows";
    case ENOENT:
    case ENOTDIR:
        return "the folder does not exist";
    case EISDIR:
        return "it is a folder";
    case ENAMETOOLONG:
        return "the name is too long";
    case ELOOP:
        return "its symbolic links lead round in a circle";
    case EIO:
        return "the disk reported an error";
    default:
        return std::strerror(error);
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write to path lands in: symbolic links followed to their end, which need not exist
// yet. Fails with ELOOP on a circle of links.
std::optional<std::string> FinalTarget(std::string path, int& error) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat link {};
        if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            return path;
        }
        std::array<char, 4096> target{};
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return std::nullopt;
        }
        const std::string_view next(target.data(), static_cast<std::size_t>(length));
        if (next.front() == '/') {
            path = next;
        } else {
            path = FolderOf(path).append(1, '/').append(next);
        }
    }
    error = ELOOP;
    return std::nullopt;
}

mode_t NewFileMode() {
    // The umask can only be read by setting it; it is put back at once.
    const mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

// Gives the temporary file what the replaced file had: owner and group where the user may (a
// plain user can often keep the group but not the owner), and its permissions without
// set-user-ID and set-group-ID, which a copy must never gain.
int TakeOver(int fd, const struct stat* existing) {
    if (existing == nullptr) {
        return fchmod(fd, NewFileMode()) == 0 ? 0 : errno;
    }
    if (fchown(fd, existing->st_uid, existing->st_gid) != 0) {
        [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
    }
    return fchmod(fd, existing->st_mode & 0777) == 0 ? 0 : errno;
}

int WriteAll(int fd, std::string_view bytes) {
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno != EINTR) {
                return errno;
            }
        } else {
            written += static_cast<std::size_t>(n);
        }
    }
    return 0;
}

Refusal CannotRead(int error) {
    return {"it cannot be read (" + std::string(std::strerror(error)) + ")"};
}

} // namespace

Expected<void> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    int failure = 0;
    const std::optional<std::string> target = FinalTarget(path, failure);
    if (!target) {
        return Refusal{Reason(failure)};
    }
    struct stat existing {};
    const bool replacing = stat(target->c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        return Refusal{Reason(EISDIR)};
    }
    if (replacing && !S_ISREG(existing.st_mode)) {
        return Refusal{"it is not a plain file"};
    }
    // A short name, so that a target whose name is as long as the folder allows still has room
    // beside it.
    std::string temporary = FolderOf(*target) + "/.dp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return Refusal{Reason(errno)};
    }
    failure = TakeOver(fd, replacing ? &existing : nullptr);
    if (failure == 0) {
        failure = WriteAll(fd, bytes);
    }
    // The bytes are on the disk before the name points at them; a full disk may only show here.
    if (failure == 0 && fsync(fd) != 0) {
        failure = errno;
    }
    if (close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.c_str(), target->c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        unlink(temporary.c_str());
        return Refusal{Reason(failure)};
    }
    return Done{};
}

bool IsSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

Expected<std::string> ReadBoundedFile(const std::string& path, std::size_t limit) {
    // Opened without waiting, so that a named pipe or a device is refused at once instead of
    // blocking the window until something writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return CannotRead(errno);
    }
    struct Closer {
        int Fd;
        ~Closer() { ::close(Fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return CannotRead(errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return CannotRead(EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        return Refusal{"it is not a regular file"};
    }
    // Read in pieces, and no further than one byte past the limit: that tells a file that is too
    // large without reading all of it, and a small file costs no large buffer.
    std::string bytes;
    bytes.reserve(std::min(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)), limit) +
                  1);
    std::array<char, 16384> piece{};
    while (bytes.size() <= limit) {
        const ssize_t read = ::read(fd, piece.data(), piece.size());
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            return CannotRead(errno);
        }
        if (read == 0) {
            break;
        }
        bytes.append(piece.data(), static_cast<std::size_t>(read));
    }
    return bytes;
}

} // namespace dieprofile
