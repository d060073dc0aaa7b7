#include "services/gedcom_extract.h"

#include "containers/ui_hooks.h"
#include "services/atomic_output.h"
#include "services/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace kindrel {

namespace {

constexpr size_t kChunk = 1 << 20;
// Bytes written back to the disk as one piece, and how many pieces may be on their way at
// once (enough to keep a fast disk busy, few enough that the end waits little).
constexpr long long kFlushWindow = 8 << 20;
constexpr long long kWindowsInFlight = 8;
constexpr const char* kProgressLabel = "Extracting";

// Characters no file name should carry (folder separators of both systems, controls and the
// characters other systems refuse).
bool IsUnsafe(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
           c == '"' || c == '<' || c == '>' || c == '|';
}

// text made a plain file name: with cutFolders only the part after the last folder separator
// of either kind, every unsafe character as "_", no leading dots or blanks.
std::string CleanName(const std::string& text, bool cutFolders) {
    const size_t cut = cutFolders ? text.find_last_of("/\\") : std::string::npos;
    std::string base = cut == std::string::npos ? text : text.substr(cut + 1);
    for (char& c : base)
        if (IsUnsafe(static_cast<unsigned char>(c))) c = '_';
    // No hidden or relative names ("..", ".profile").
    while (!base.empty() && (base.front() == '.' || base.front() == ' ')) base.erase(0, 1);
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
    return base;
}

bool EndsWithGed(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return end == ".ged";
}

}  // namespace

std::string ProposedGedcomName(const std::string& fileNameField, const std::string& title) {
    std::string base = CleanName(fileNameField, true);
    if (base.empty()) base = CleanName(title, false);
    if (base.empty()) return "family.ged";
    return EndsWithGed(base) ? base : base + ".ged";
}

long long ExtractGedcomFile(const std::string& source, const std::string& target) {
    const WUniqueFd in = OpenForReading(source);
    struct stat sourceStat {};
    if (!in.IsOpen() || ::fstat(in.Get(), &sourceStat) != 0) throw EFileError(source);
    struct stat targetStat {};
    if (::stat(target.c_str(), &targetStat) == 0 && targetStat.st_dev == sourceStat.st_dev &&
        targetStat.st_ino == sourceStat.st_ino)
        throw EOutputError(target, "it is the file being viewed");
    WAtomicOutput output(target);
    std::vector<char> buffer(kChunk);
    long long done = 0;
    // Write-back runs behind the copy in windows: each full window is started at once, and
    // the copy waits (between event pumps) for the windows before the last few to reach the
    // disk. So the disk works while the file is read, the page cache never holds more than a
    // few windows of dirty pages, and the closing fsync has next to nothing left, so the
    // window never stops for long.
    long long started = 0;  // write-back started up to here
    long long settled = 0;  // on the disk up to here
    const int fd = output.Fd();
    const auto settle = [&](long long until) {
        while (settled < until) {
            const long long length = std::min(kFlushWindow, until - settled);
            ::sync_file_range(fd, settled, length,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                  SYNC_FILE_RANGE_WAIT_AFTER);
            settled += length;
            PumpEvents();
            if (CancelRequested()) throw EExtractCancelled();
        }
    };
    const long long total = sourceStat.st_size;
    ReportProgress(kProgressLabel, 0, total);
    for (;;) {
        PumpEvents();
        if (CancelRequested()) throw EExtractCancelled();
        const ssize_t got = ReadAt(in.Get(), buffer.data(), buffer.size(), done);
        if (got < 0) throw EFileError(source);
        if (got == 0) break;
        output.Write(buffer.data(), static_cast<size_t>(got));
        done += got;
        if (done - started >= kFlushWindow) {
            ::sync_file_range(fd, started, done - started, SYNC_FILE_RANGE_WRITE);
            started = done;
            settle(started - kWindowsInFlight * kFlushWindow);
        }
        ReportProgress(kProgressLabel, done, total);
    }
    if (CancelRequested()) throw EExtractCancelled();
    if (done > started) ::sync_file_range(fd, started, done - started, SYNC_FILE_RANGE_WRITE);
    settle(done);
    output.Commit([] { PumpEvents(); });
    return done;
}

}  // namespace kindrel
