#include "containers/mmf.h"

#include "containers/errors.h"
#include "containers/regular_file.h"
#include "containers/temp_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace kindrel {

namespace {

constexpr std::int64_t kPage = 4096;
// Smallest mapping of a new file; a zero-length mapping is not possible.
constexpr std::int64_t kMinFileCapacity = kPage;

std::int64_t RoundUpToPage(std::int64_t n) {
    return (n + kPage - 1) / kPage * kPage;
}

// A file created or opened by a store before it is mapped; closes the file again unless
// Release() is called, so a failed step leaves nothing open (an anonymous file has no name).
struct PendingFile {
    int fd = -1;
    std::string path;

    ~PendingFile() {
        if (fd >= 0) ::close(fd);
    }
    int Release() { return std::exchange(fd, -1); }
};

// Creates the backing file of a new store: an anonymous temporary file for an empty name,
// otherwise the named file (truncated when it exists).
PendingFile CreateBackingFile(const std::string& name) {
    PendingFile file;
    if (name.empty()) {
        // The name goes at once: the mapping lives on the descriptor, and nothing is left in
        // the temporary folder however the process ends. The name stays for messages.
        TempFile temp = CreateTempFile();
        RemoveTempFile(temp.path);
        file.fd = temp.fd;
        file.path = std::move(temp.path);
        return file;
    }
    file.fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file.fd < 0) throw EFileError(name);
    file.path = name;
    // A shared lock marks the file as in use for the stale-file cleanup of other viewers.
    ::flock(file.fd, LOCK_SH | LOCK_NB);
    return file;
}

}  // namespace

WMMF::WMMF(std::string fileName, bool inMemory, std::int64_t growthStep, std::int64_t initialSize)
    : m_initialSize(std::max<std::int64_t>(initialSize, 0)),
      m_growthStep(std::max<std::int64_t>(growthStep, 0)),
      m_fileName(std::move(fileName)) {
    m_anonymous = m_fileName.empty();
    if (inMemory && m_initialSize < kHeapLimit) {
        const std::int64_t capacity = std::max<std::int64_t>(m_initialSize, 16);
        m_base = static_cast<char*>(std::calloc(std::size_t(capacity), 1));
        if (m_base == nullptr) throw std::bad_alloc();
        m_inMemory = true;
        m_capacity = capacity;
        m_size = m_initialSize;
        return;
    }
    CreateFile();
}

WMMF::WMMF(std::string fileName, std::int64_t growthStep, std::uint16_t openMode)
    : m_initialSize(4096),
      m_growthStep(std::max<std::int64_t>(growthStep, 0)),
      m_fileName(std::move(fileName)) {
    if (openMode == kModeCreate) {
        if (m_fileName.empty()) m_anonymous = true;
        CreateFile();
        return;
    }
    OpenExisting(openMode);
}

WMMF::~WMMF() {
    Close();
}

WMMF::WMMF(WMMF&& other) noexcept
    : m_inMemory(std::exchange(other.m_inMemory, false)),
      m_readOnly(std::exchange(other.m_readOnly, false)),
      m_anonymous(std::exchange(other.m_anonymous, false)),
      m_base(std::exchange(other.m_base, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_written(std::exchange(other.m_written, 0)),
      m_initialSize(std::exchange(other.m_initialSize, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_position(std::exchange(other.m_position, 0)),
      m_growthStep(std::exchange(other.m_growthStep, 0)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_fileName(std::exchange(other.m_fileName, {})) {}

WMMF& WMMF::operator=(WMMF&& other) noexcept {
    if (this == &other) return *this;
    Close();
    m_inMemory = std::exchange(other.m_inMemory, false);
    m_readOnly = std::exchange(other.m_readOnly, false);
    m_anonymous = std::exchange(other.m_anonymous, false);
    m_base = std::exchange(other.m_base, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_written = std::exchange(other.m_written, 0);
    m_initialSize = std::exchange(other.m_initialSize, 0);
    m_capacity = std::exchange(other.m_capacity, 0);
    m_position = std::exchange(other.m_position, 0);
    m_growthStep = std::exchange(other.m_growthStep, 0);
    m_fd = std::exchange(other.m_fd, -1);
    m_fileName = std::exchange(other.m_fileName, {});
    return *this;
}

void WMMF::CreateFile() {
    PendingFile file = CreateBackingFile(m_fileName);
    m_fileName = file.path;
    const std::int64_t capacity = RoundUpToPage(std::max(m_initialSize, kMinFileCapacity));
    if (::ftruncate(file.fd, capacity) != 0) throw EFileError(m_fileName);
    void* view =
        ::mmap(nullptr, std::size_t(capacity), PROT_READ | PROT_WRITE, MAP_SHARED, file.fd, 0);
    if (view == MAP_FAILED) throw EFileError(m_fileName);
    m_fd = file.Release();
    m_base = static_cast<char*>(view);
    m_capacity = capacity;
    m_size = m_initialSize;
    m_inMemory = false;
}

void WMMF::OpenExisting(std::uint16_t openMode) {
    m_readOnly = (openMode & (kModeReadWriteAll | kModeReadWrite)) == 0;
    m_anonymous = false;
    PendingFile file;
    // Only regular files are mapped; a named pipe neither blocks the open nor is read.
    file.fd = OpenRegularFile(m_fileName, m_readOnly ? O_RDONLY : O_RDWR);
    if (file.fd < 0) throw EFileError(m_fileName);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) throw EFileError(m_fileName);
    // Mapping an empty file is not possible; it is reported like any other failure.
    if (info.st_size <= 0) throw EFileError(m_fileName);
    if (openMode & kShareExclusive) {
        if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0) throw EFileError(m_fileName);
    } else {
        ::flock(file.fd, LOCK_SH | LOCK_NB);
    }
    const std::int64_t length = info.st_size;
    void* view =
        ::mmap(nullptr, std::size_t(length), m_readOnly ? PROT_READ : PROT_READ | PROT_WRITE,
               m_readOnly ? MAP_PRIVATE : MAP_SHARED, file.fd, 0);
    if (view == MAP_FAILED) throw EFileError(m_fileName);
    m_fd = file.Release();
    m_base = static_cast<char*>(view);
    m_size = length;
    m_written = length;
    m_capacity = length;
    m_inMemory = false;
}

void WMMF::MoveToFile(std::int64_t newCapacity) {
    PendingFile file = CreateBackingFile(m_fileName);
    const std::int64_t capacity = RoundUpToPage(newCapacity);
    if (::ftruncate(file.fd, capacity) != 0) throw EFileError(file.path);
    void* view =
        ::mmap(nullptr, std::size_t(capacity), PROT_READ | PROT_WRITE, MAP_SHARED, file.fd, 0);
    if (view == MAP_FAILED) throw EFileError(file.path);
    std::memcpy(view, m_base, std::size_t(m_capacity));
    std::free(m_base);
    m_base = static_cast<char*>(view);
    m_fd = file.Release();
    m_fileName = file.path;
    m_capacity = capacity;
    m_inMemory = false;
}

void WMMF::Remap(std::int64_t capacity) {
    if (::ftruncate(m_fd, capacity) != 0) throw EFileError(m_fileName);
    void* view = ::mremap(m_base, std::size_t(m_capacity), std::size_t(capacity), MREMAP_MAYMOVE);
    if (view == MAP_FAILED) throw EFileError(m_fileName);
    m_base = static_cast<char*>(view);
    m_capacity = capacity;
}

void WMMF::Grow(std::int64_t n) {
    if (n <= m_capacity) return;
    if (m_readOnly || m_base == nullptr) throw EFileError(m_fileName);
    if (m_inMemory) {
        if (n + m_growthStep < kHeapLimit) {
            const std::int64_t capacity = n + m_growthStep;
            char* block = static_cast<char*>(std::realloc(m_base, std::size_t(capacity)));
            if (block == nullptr) throw std::bad_alloc();
            std::memset(block + m_capacity, 0, std::size_t(capacity - m_capacity));
            m_base = block;
            m_capacity = capacity;
            return;
        }
        MoveToFile(std::max(n + m_growthStep, kHeapLimit));
        return;
    }
    // Grow by at least half the current capacity, so that filling a store of N bytes costs
    // O(log N) remaps rather than N / growth step.
    Remap(RoundUpToPage(std::max(n + m_growthStep, m_capacity + m_capacity / 2)));
}

void WMMF::Close() noexcept {
    if (m_base != nullptr) {
        if (m_inMemory) {
            std::free(m_base);
        } else {
            // A kept file gets its pages scheduled for writing; an anonymous one (its name
            // already gone) needs no flush.
            if (!m_readOnly && !m_anonymous) ::msync(m_base, std::size_t(m_capacity), MS_ASYNC);
            ::munmap(m_base, std::size_t(m_capacity));
        }
        m_base = nullptr;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_capacity = 0;
    m_size = 0;
    m_written = 0;
}

void WMMF::Flush() {
    if (m_base == nullptr || m_inMemory || m_readOnly) return;
    if (::msync(m_base, std::size_t(m_capacity), MS_SYNC) != 0) throw EFileError(m_fileName);
}

std::int64_t WMMF::Read(void* buffer, std::int64_t n) {
    if (m_position < 0 || n <= 0 || m_position >= m_size) return 0;
    const std::int64_t count = std::min(n, m_size - m_position);
    std::memcpy(buffer, m_base + m_position, std::size_t(count));
    m_position += count;
    return count;
}

std::int64_t WMMF::Write(const void* buffer, std::int64_t n) {
    const std::int64_t at = m_position;
    if (at < 0 || n <= 0) return at;
    if (m_readOnly) throw EFileError(m_fileName);
    const std::int64_t end = at + n;
    if (end > m_capacity) Grow(end);
    std::memcpy(m_base + at, buffer, std::size_t(n));
    m_position = end;
    ExtendSize(end);
    return at;
}

std::int64_t WMMF::Seek(std::int64_t offset, int origin) {
    switch (origin) {
        case 0:
            m_position = offset;
            break;
        case 1:
            m_position += offset;
            break;
        case 2:
            m_position = m_size + offset;
            break;
        default:
            break;
    }
    return m_position;
}

// ---------------------------------------------------------------------------------------

WVersionMMF::WVersionMMF(std::string fileName, std::int64_t growthStep, std::int64_t initialSize)
    : WMMF(std::move(fileName), true, growthStep, std::max(initialSize, kHeaderSize)) {
    ResetHeader();
}

void WVersionMMF::ResetHeader() {
    const std::int32_t header[2] = {1, std::int32_t(kHeaderSize)};
    Seek(0, 0);
    WMMF::Write(header, sizeof header);
    m_dataEnd = kHeaderSize;
}

void WVersionMMF::StoreDataEnd(std::int64_t n) {
    if (n > INT32_MAX) throw EFileError(FileName());
    m_dataEnd = n;
    const std::int32_t word = std::int32_t(n);
    std::memcpy(PointerAt(4), &word, sizeof word);
}

void WVersionMMF::SetDataEnd(std::int64_t n) {
    const std::int64_t end = std::clamp(n, kHeaderSize, std::max(Size(), kHeaderSize));
    // Records up to the data end may be written in place.
    MarkWritten(end);
    StoreDataEnd(end);
}

std::int64_t WVersionMMF::WriteBlock(const void* buffer, std::int64_t n) {
    const std::int64_t at = Write(buffer, n);
    if (at >= 0 && n > 0 && at + n > m_dataEnd) StoreDataEnd(at + n);
    return at;
}

std::int64_t WVersionMMF::Append(const void* buffer, std::int64_t n) {
    const std::int64_t at = m_dataEnd;
    if (n <= 0) return at;
    const std::int64_t end = at + n;
    if (end > INT32_MAX) throw EFileError(FileName());
    if (end > Capacity()) Grow(end);
    std::memcpy(PointerAt(at), buffer, std::size_t(n));
    ExtendSize(end);
    SetPosition(end);
    StoreDataEnd(end);
    return at;
}

std::int64_t WVersionMMF::AppendZeros(std::int64_t n) {
    const std::int64_t at = m_dataEnd;
    if (n <= 0) return at;
    const std::int64_t end = at + n;
    if (end > INT32_MAX) throw EFileError(FileName());
    if (end > Capacity()) Grow(end);
    // Only bytes that may have been written need zeroing.
    const std::int64_t dirtyEnd = std::min(end, WrittenEnd());
    if (dirtyEnd > at) std::memset(PointerAt(at), 0, std::size_t(dirtyEnd - at));
    ExtendSize(end);
    SetPosition(end);
    StoreDataEnd(end);
    return at;
}

std::string_view WVersionMMF::DataText() const noexcept {
    if (Base() == nullptr) return {};
    return std::string_view(PointerAt(kHeaderSize), std::size_t(m_dataEnd - kHeaderSize));
}

}  // namespace kindrel
