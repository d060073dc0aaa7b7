#include "payload/buffered_file_stream.h"

#include "containers/regular_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kindrel {

TBufferedFileStream::TBufferedFileStream(const std::string& fileName, int bufferSize,
                                         FileOpenMode mode)
    : m_bufferSize(std::max(bufferSize, 16)),
      m_fileName(fileName),
      m_forWriting(mode == FileOpenMode::Create),
      m_ownsFd(true) {
    if (m_forWriting) {
        m_fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } else {
        m_fd = OpenRegularFile(fileName, O_RDONLY);
        // Others may read the file while we do, but whoever holds it exclusively keeps it.
        if (m_fd >= 0 && ::flock(m_fd, LOCK_SH | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    if (m_fd < 0) throw EFileError(fileName);
    m_buffer = std::make_unique_for_overwrite<uint8_t[]>(m_bufferSize);
}

TBufferedFileStream::TBufferedFileStream(int fd, const std::string& fileName, int bufferSize,
                                         FileOpenMode mode)
    : m_bufferSize(std::max(bufferSize, 16)),
      m_fileName(fileName),
      m_forWriting(mode == FileOpenMode::Create),
      m_ownsFd(false),
      m_fd(fd) {
    if (m_fd < 0) throw EFileError(fileName);
    const off_t here = ::lseek(m_fd, 0, SEEK_CUR);
    m_filePosition = here < 0 ? 0 : here;
    m_buffer = std::make_unique_for_overwrite<uint8_t[]>(m_bufferSize);
}

TBufferedFileStream::~TBufferedFileStream() {
    try {
        if (m_fd >= 0) FlushBuffer();
    } catch (const KindrelError&) {
        // A destructor cannot report; Close is the place that does.
    }
    if (m_ownsFd && m_fd >= 0) ::close(m_fd);
}

void TBufferedFileStream::Close() {
    if (m_fd < 0) return;
    try {
        FlushBuffer();
    } catch (...) {
        if (m_ownsFd) ::close(m_fd);
        m_fd = -1;
        throw;
    }
    const int rc = m_ownsFd ? ::close(m_fd) : 0;
    m_fd = -1;
    if (rc != 0) throw EFileError(m_fileName);
}

int64_t TBufferedFileStream::Position() const {
    if (m_forWriting) return m_filePosition + m_indexInBuffer;
    if (!m_bufferInvalid) return m_bufferFilePosition + m_indexInBuffer;
    return m_filePosition;
}

int64_t TBufferedFileStream::Size() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) throw EFileError(m_fileName);
    int64_t size = st.st_size;
    if (m_forWriting) size = std::max<int64_t>(size, Position());
    return size;
}

void TBufferedFileStream::WriteAll(const uint8_t* data, int64_t n) {
    while (n > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<size_t>(n));
        if (written < 0) {
            if (errno == EINTR) continue;
            throw EFileError(m_fileName);
        }
        data += written;
        n -= written;
        m_filePosition += written;
    }
}

void TBufferedFileStream::FlushBuffer() {
    if (m_dirty) {
        m_dirty = false;
        const int n = m_indexInBuffer;
        m_indexInBuffer = 0;
        WriteAll(m_buffer.get(), n);
    }
    m_indexInBuffer = 0;
    m_bytesInBuffer = 0;
    m_bufferInvalid = true;
}

void TBufferedFileStream::FillBuffer() {
    if (m_fd < 0) throw EFileError(m_fileName);
    m_bufferFilePosition = m_filePosition;
    int got = 0;
    while (got < m_bufferSize) {
        const ssize_t n =
            ::read(m_fd, m_buffer.get() + got, static_cast<size_t>(m_bufferSize - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EFileError(m_fileName);
        }
        if (n == 0) break;
        got += static_cast<int>(n);
    }
    m_filePosition += got;
    m_bytesInBuffer = got;
    m_indexInBuffer = 0;
    m_bufferInvalid = false;
    m_lastFillShort = got < m_bufferSize;
}

int TBufferedFileStream::ReadByteSlow(uint8_t& b) {
    for (;;) {
        if (!m_bufferInvalid && m_indexInBuffer < m_bytesInBuffer) {
            b = m_buffer[m_indexInBuffer++];
            return 1;
        }
        if (!m_bufferInvalid && m_lastFillShort) {
            b = 0;
            return 0;
        }
        FillBuffer();
    }
}

int TBufferedFileStream::ReadBytes(void* buffer, int n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int done = 0;
    while (done < n) {
        if (!m_bufferInvalid && m_indexInBuffer < m_bytesInBuffer) {
            const int take = std::min(n - done, m_bytesInBuffer - m_indexInBuffer);
            std::memcpy(out + done, m_buffer.get() + m_indexInBuffer, static_cast<size_t>(take));
            m_indexInBuffer += take;
            done += take;
            continue;
        }
        if (!m_bufferInvalid && m_lastFillShort) break;
        FillBuffer();
    }
    if (done < n) std::memset(out + done, 0, static_cast<size_t>(n - done));
    return done;
}

int TBufferedFileStream::WriteBytes(const void* buffer, int n) {
    if (n <= 0) return 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    if (m_indexInBuffer + n > m_bufferSize) FlushBuffer();
    if (n >= m_bufferSize) {
        WriteAll(in, n);
        return n;
    }
    std::memcpy(m_buffer.get() + m_indexInBuffer, in, static_cast<size_t>(n));
    m_indexInBuffer += n;
    m_dirty = true;
    return n;
}

void TBufferedFileStream::SmartSeek(int64_t offset, SeekOrigin origin) {
    int64_t target = offset;
    if (origin == SeekOrigin::Current) target = Position() + offset;
    if (origin == SeekOrigin::End) target = Size() + offset;
    if (target < 0) throw ESeekError();
    if (m_forWriting) {
        FlushBuffer();
    } else if (!m_bufferInvalid && target >= m_bufferFilePosition &&
               target - m_bufferFilePosition <= m_bytesInBuffer) {
        // Inside what the buffer holds: only the index moves.
        m_indexInBuffer = static_cast<int>(target - m_bufferFilePosition);
        return;
    }
    if (::lseek(m_fd, static_cast<off_t>(target), SEEK_SET) < 0) throw ESeekError();
    m_filePosition = target;
    m_indexInBuffer = 0;
    m_bytesInBuffer = 0;
    m_bufferInvalid = true;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace kindrel
