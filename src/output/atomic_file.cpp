#include "output/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile {

namespace {

std::string Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return "no permission to write there";
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case ENOENT:
    case ENOTDIR:
        return "the folder does not exist";
    case EISDIR:
        return "it is a folder";
    default:
        return std::strerror(error);
    }
}

} // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return Reason(EISDIR);
    }
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return Reason(errno);
    }
    // An existing file keeps its permissions; a new one gets the usual ones for a document.
    struct stat existing {};
    const mode_t mode = stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    int failure = fchmod(fd, mode) == 0 ? 0 : errno;
    for (std::size_t written = 0; failure == 0 && written < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno != EINTR) {
            failure = errno;
        } else if (n > 0) {
            written += static_cast<std::size_t>(n);
        }
    }
    if (failure == 0 && fsync(fd) != 0) {
        failure = errno;
    }
    if (close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        unlink(temporary.c_str());
        return Reason(failure);
    }
    return std::nullopt;
}

} // namespace dieprofile
