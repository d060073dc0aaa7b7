#include "services/posix_file.h"

#include "containers/regular_file.h"

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
    return WUniqueFd(OpenRegularFile(path, O_RDONLY));
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

}  // namespace kindrel
