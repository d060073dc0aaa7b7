#include "services/embedded_gedcom.h"

#include "containers/temp_file.h"
#include "containers/ui_hooks.h"

#include <sys/file.h>
#include <unistd.h>
#include <algorithm>
#include <utility>
#include <vector>

namespace kindrel {

namespace {

constexpr const char* kSelfExe = "/proc/self/exe";
constexpr size_t kCopyChunk = 64 * 1024;

// A temporary file that is closed and deleted when the guard goes.
class TempFileGuard {
  public:
    explicit TempFileGuard(TempFile file) : m_fd(file.fd), m_path(std::move(file.path)) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (!m_path.empty()) RemoveTempFile(m_path);
    }
    int Fd() const { return m_fd.Get(); }
    const std::string& Path() const { return m_path; }
    // Hands the name over with the descriptor lock that holds the file's lock; the guard no
    // longer deletes the file.
    WGedcomTempFile Keep(WUniqueFd lock) {
        return WGedcomTempFile(std::move(lock), std::exchange(m_path, {}));
    }

  private:
    WUniqueFd m_fd;
    std::string m_path;
};

// Copies the payload of the self-viewing file open at source into target. A read that
// returns nothing or fails ends the copy early; the expansion then reports the damage.
void CopyPayload(int source, const SelfViewFileInfo& info, const TempFileGuard& target) {
    std::vector<char> buffer(kCopyChunk);
    long long done = 0;
    while (done < info.payloadBytes) {
        const size_t want =
            static_cast<size_t>(std::min<long long>(kCopyChunk, info.payloadBytes - done));
        const ssize_t got = ReadAt(source, buffer.data(), want,
                                   static_cast<off_t>(info.trailer.payloadOffset + done));
        if (got <= 0) break;
        if (!WriteAll(target.Fd(), buffer.data(), static_cast<size_t>(got)))
            throw EFileError(target.Path());
        done += got;
        ReportProgress("Copying", done, info.payloadBytes);
        PumpEvents();
        if (got < static_cast<ssize_t>(want)) break;
    }
}

ExpandResult ExpandArchive(const TempFileGuard& archive, const std::string& outputFile,
                           int blockCount) {
    ReportProgress("Expanding", 0, blockCount);
    WBlokarCompress expander;
    const ExpandResult result = expander.Expand(archive.Path(), outputFile, blockCount);
    ReportProgress("Expanding", result.blocks, blockCount);
    PumpEvents();
    return result;
}

}  // namespace

WGedcomTempFile::WGedcomTempFile(WUniqueFd fd, std::string path)
    : m_fd(std::move(fd)), m_path(std::move(path)) {}

WGedcomTempFile::WGedcomTempFile(WGedcomTempFile&& other) noexcept
    : m_fd(std::move(other.m_fd)), m_path(std::exchange(other.m_path, {})) {}

WGedcomTempFile& WGedcomTempFile::operator=(WGedcomTempFile&& other) noexcept {
    if (this != &other) {
        Remove();
        m_fd = std::move(other.m_fd);
        m_path = std::exchange(other.m_path, {});
    }
    return *this;
}

void WGedcomTempFile::Remove() {
    // Unlink before closing, so no other viewer can find the file unlocked.
    if (!m_path.empty()) RemoveTempFile(m_path);
    m_path.clear();
    m_fd.Reset();
}

std::string WGedcomTempFile::Release() {
    m_fd.Reset();
    ForgetTempFile(m_path);
    return std::exchange(m_path, {});
}

EmbeddedGedcom LoadEmbeddedGedcom() {
    return LoadEmbeddedGedcom(kSelfExe);
}

EmbeddedGedcom LoadEmbeddedGedcom(const std::string& selfViewFile) {
    const WUniqueFd source = OpenForReading(selfViewFile);
    if (!source.IsOpen()) throw EFileError(selfViewFile);
    const SelfViewFileInfo info = ReadSelfViewTrailer(source.Get(), selfViewFile);

    const TempFileGuard archive(CreateTempFile());
    CopyPayload(source.Get(), info, archive);
    TempFileGuard gedcom(CreateTempFile());
    EmbeddedGedcom result;
    result.expand = ExpandArchive(archive, gedcom.Path(), info.trailer.blockCount);

    // The expander may have replaced the file rather than rewritten it; the lock must be on
    // the file that now carries the name.
    WUniqueFd lockFd = OpenForReading(gedcom.Path());
    if (!lockFd.IsOpen()) throw EFileError(gedcom.Path());
    ::flock(lockFd.Get(), LOCK_SH | LOCK_NB);
    result.gedcom = gedcom.Keep(std::move(lockFd));

    result.trailer = info.trailer;
    result.payloadBytes = info.payloadBytes;
    return result;
}

SelfViewExpansion ExpandSelfViewFile(const std::string& selfViewFile,
                                     const std::string& outputFile) {
    const WUniqueFd source = OpenForReading(selfViewFile);
    if (!source.IsOpen()) throw EFileError(selfViewFile);
    SelfViewExpansion result;
    result.info = ReadSelfViewTrailer(source.Get(), selfViewFile);
    const TempFileGuard archive(CreateTempFile());
    CopyPayload(source.Get(), result.info, archive);
    result.expand = ExpandArchive(archive, outputFile, result.info.trailer.blockCount);
    return result;
}

}  // namespace kindrel
