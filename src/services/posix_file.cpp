#include "services/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kindrel {

WUniqueFd& WUniqueFd::operator=(WUniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

int WUniqueFd::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void WUniqueFd::Reset(int fd) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
}

WUniqueFd OpenForReading(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return WUniqueFd(fd);
}

ssize_t ReadAt(int fd, void* buffer, size_t size, off_t offset) {
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, out + done, size - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteAll(int fd, const void* buffer, size_t size) {
    const auto* in = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t put = ::write(fd, in, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        in += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

mode_t CurrentUmask() {
    // /proc/self/status names the mask without the set-and-restore race of umask().
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                found = true;
                break;
            }
        }
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

std::string ErrorText(int err) {
    return std::strerror(err);
}

int WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const WUniqueFd fd(::mkstemp(pattern.data()));
    if (!fd.IsOpen()) return errno;
    struct stat old {};
    const mode_t mode =
        ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    int error = 0;
    if (!WriteAll(fd.Get(), bytes.data(), bytes.size()) || ::fchmod(fd.Get(), mode) != 0 ||
        ::fsync(fd.Get()) != 0 || ::rename(pattern.c_str(), target.c_str()) != 0)
        error = errno != 0 ? errno : EIO;
    if (error != 0) ::unlink(pattern.c_str());
    return error;
}

}  // namespace kindrel
