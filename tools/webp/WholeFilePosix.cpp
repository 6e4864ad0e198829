#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tools/webp/WholeFile.h"

namespace webp_animation {

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

std::string MakeTemporaryFile(const std::string& path, std::string& reason) {
    const std::filesystem::path target(path);
    // Hidden while it is being written.
    std::string hidden(1, '.');
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    const std::string pattern = (target.parent_path() / hidden).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        reason = std::strerror(errno);
        return "";
    }
    // mkstemp makes the file private; the finished picture gets the
    // permissions any new file of this user gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    return name.data();
}

bool WriteAll(const std::string& path, const std::uint8_t* bytes, std::size_t size,
              std::string* error) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, SystemError(path));
        return false;
    }
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            SetError(error, SystemError(path));
            close(fd);
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        SetError(error, SystemError(path));
        return false;
    }
    return true;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        SetError(error, SystemError(to));
        return false;
    }
    return true;
}

}  // namespace webp_animation
