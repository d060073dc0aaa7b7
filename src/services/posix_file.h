// Small POSIX file helpers shared by the services: an owning descriptor, whole reads and
// writes that survive EINTR and short transfers, and the process umask.
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <string>
#include <string_view>

namespace kindrel {

// Owns one file descriptor and closes it on destruction; move-only.
class WUniqueFd {
  public:
    WUniqueFd() = default;
    // Takes ownership of fd (-1 for none).
    explicit WUniqueFd(int fd) : m_fd(fd) {}
    WUniqueFd(WUniqueFd&& other) noexcept : m_fd(other.Release()) {}
    WUniqueFd& operator=(WUniqueFd&& other) noexcept;
    WUniqueFd(const WUniqueFd&) = delete;
    WUniqueFd& operator=(const WUniqueFd&) = delete;
    ~WUniqueFd() { Reset(); }

    // The descriptor, or -1.
    int Get() const { return m_fd; }
    // True when a descriptor is held.
    bool IsOpen() const { return m_fd >= 0; }
    // Gives up ownership without closing and returns the descriptor.
    int Release();
    // Closes the held descriptor (if any) and takes fd instead.
    void Reset(int fd = -1);

  private:
    int m_fd = -1;
};

// Opens the regular file path read-only (close-on-exec) without ever blocking. Returns a
// closed WUniqueFd when the open fails (errno is set); throws ENotRegularFile when path is a
// folder, named pipe, device or socket.
WUniqueFd OpenForReading(const std::string& path);

// Reads up to size bytes at offset; retries on EINTR and short reads. Returns the bytes read
// (less than size only at end of file), or -1 on error with errno set.
ssize_t ReadAt(int fd, void* buffer, size_t size, off_t offset);

// Writes all size bytes at the current position; retries on EINTR and short writes.
// Returns false on error with errno set.
bool WriteAll(int fd, const void* buffer, size_t size);

// The process file-creation mask, read without changing it where the system allows.
mode_t CurrentUmask();


// Text of errno value err ("No such file or directory").
std::string ErrorText(int err);

}  // namespace kindrel
