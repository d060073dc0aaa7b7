#include "services/self_view_packer.h"

#include "containers/ui_hooks.h"
#include "payload/blokar_compress.h"
#include "services/atomic_output.h"
#include "services/posix_file.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <memory>
#include <vector>

namespace kindrel {

namespace {

constexpr size_t kCopyChunk = 1 << 20;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The output file, written beside its name and renamed into place by Commit; failures read
// as the packer's own errors.
class PartialOutput {
  public:
    explicit PartialOutput(const std::string& outputFile)
        : m_outputFile(outputFile), m_output(Guarded([&] {
              // An executable: 0755 less the umask, also when it replaces another file.
              return std::make_unique<WAtomicOutput>(outputFile, 0755, false);
          })) {}

    int Fd() const { return m_output->Fd(); }

    void Write(const void* data, size_t size) {
        Guarded([&] { m_output->Write(data, size); });
    }

    [[noreturn]] void Fail(int err) const { Throw(ErrorText(err)); }

    void Commit() {
        Guarded([&] { m_output->Commit(); });
    }

  private:
    template <typename Work>
    auto Guarded(Work work) const -> decltype(work()) {
        try {
            return work();
        } catch (const EOutputError& e) {
            Throw(e.Reason());
        }
    }
    [[noreturn]] void Throw(const std::string& reason) const {
        throw EPackError("Cannot write the output file " + Quoted(m_outputFile) + ": " + reason +
                         ".");
    }

    std::string m_outputFile;
    std::unique_ptr<WAtomicOutput> m_output;
};

// Opens a regular file for reading; EPackError naming what (the GEDCOM, the viewer) fails.
WUniqueFd OpenInput(const std::string& path, const char* what, struct stat& st) {
    WUniqueFd fd;
    try {
        fd = OpenForReading(path);
    } catch (const ENotRegularFile& e) {
        throw EPackError(std::string("The ") + what + " " + Quoted(path) + " is " + e.Kind() +
                         ", not a file.");
    }
    if (!fd.IsOpen())
        throw EPackError(std::string("Cannot read the ") + what + " " + Quoted(path) + ": " +
                         ErrorText(errno) + ".");
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EPackError(std::string("The ") + what + " " + Quoted(path) + " is not a file.");
    return fd;
}

bool SameFile(const struct stat& a, const std::string& path) {
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The length of the viewer part: the whole file, or only what precedes the payload when
// the viewer is itself a self-viewing file.
long long ViewerLength(int fd, const std::string& viewerFile, const struct stat& st,
                       bool& hadTrailer) {
    hadTrailer = false;
    if (st.st_size < kTrailerSize) return st.st_size;
    unsigned char signature[4];
    if (ReadAt(fd, signature, 4, st.st_size - 4) != 4)
        throw EPackError("Cannot read the viewer " + Quoted(viewerFile) + ".");
    const uint32_t value = signature[0] | signature[1] << 8 | signature[2] << 16 |
                           static_cast<uint32_t>(signature[3]) << 24;
    if (value != kTrailerSignature) return st.st_size;
    try {
        const SelfViewFileInfo info = ReadSelfViewTrailer(fd, viewerFile);
        hadTrailer = true;
        return info.trailer.payloadOffset;
    } catch (const KindrelError&) {
        throw EPackError("The viewer " + Quoted(viewerFile) +
                         " ends with a damaged self-viewing trailer.");
    }
}

void CopyViewer(int source, long long length, const std::string& viewerFile,
                PartialOutput& output) {
    std::vector<char> buffer(kCopyChunk);
    long long done = 0;
    while (done < length) {
        const size_t want = static_cast<size_t>(std::min<long long>(kCopyChunk, length - done));
        const ssize_t got = ReadAt(source, buffer.data(), want, static_cast<off_t>(done));
        if (got != static_cast<ssize_t>(want))
            throw EPackError("Cannot read the viewer " + Quoted(viewerFile) + ".");
        output.Write(buffer.data(), want);
        done += got;
        ReportProgress("Copying viewer", done, length);
    }
}

std::string CutWarning(const TrailerCut& cut) {
    return "The " + cut.field + " is longer than " + std::to_string(cut.width) +
           " bytes; it was cut to \"" + cut.kept + "\".";
}

}  // namespace

PackResult PackSelfViewing(const PackOptions& options) {
    if (options.startIndividual < 1)
        throw EPackError("The start individual must be 1 or more (got " +
                         std::to_string(options.startIndividual) + ").");
    if (options.outputFile.empty()) throw EPackError("No output file was given.");

    struct stat gedcomStat {
    }, viewerStat{};
    const WUniqueFd gedcom = OpenInput(options.gedcomFile, "GEDCOM file", gedcomStat);
    if (gedcomStat.st_size == 0)
        throw EPackError("The GEDCOM file " + Quoted(options.gedcomFile) + " is empty.");
    const WUniqueFd viewer = OpenInput(options.viewerFile, "viewer", viewerStat);

    struct stat outStat {};
    if (::stat(options.outputFile.c_str(), &outStat) == 0) {
        if (S_ISDIR(outStat.st_mode))
            throw EPackError("The output " + Quoted(options.outputFile) + " is a folder.");
        if (SameFile(gedcomStat, options.outputFile))
            throw EPackError("The output file would replace the GEDCOM file " +
                             Quoted(options.gedcomFile) + ".");
        if (SameFile(viewerStat, options.outputFile))
            throw EPackError("The output file would replace the viewer " +
                             Quoted(options.viewerFile) + ".");
    }

    PackResult result;
    result.viewerBytes =
        ViewerLength(viewer.Get(), options.viewerFile, viewerStat, result.viewerHadTrailer);
    if (result.viewerBytes > INT32_MAX)
        throw EPackError("The viewer " + Quoted(options.viewerFile) + " is too large (" +
                         std::to_string(result.viewerBytes) + " bytes).");

    PartialOutput output(options.outputFile);
    CopyViewer(viewer.Get(), result.viewerBytes, options.viewerFile, output);

    WBlokarCompress compressor;
    const CompressResult compressed = compressor.CompressToFd(options.gedcomFile, output.Fd());
    if (compressed.blocks < 1)
        throw EPackError("The GEDCOM file " + Quoted(options.gedcomFile) +
                         " gave no compressed blocks.");
    result.archiveBytes = compressed.archiveBytes;

    SelfViewTrailer& t = result.trailer;
    t.payloadOffset = static_cast<int32_t>(result.viewerBytes);
    t.blockCount = compressed.blocks;
    t.startIndividual = options.startIndividual;
    t.extractAllowed = options.allowExtract;
    t.created = DateTimeNow();
    t.fileName = std::filesystem::path(options.gedcomFile).filename().string();
    t.title = options.title;
    t.senderName = options.senderName;
    t.senderEmail = options.senderEmail;
    t.address1 = options.address1;
    t.address2 = options.address2;
    t.webSite = options.webSite;
    t.phone = options.phone;
    t.message = options.message;
    std::vector<TrailerCut> cuts;
    const auto bytes = t.ToBytes(&cuts);
    for (const TrailerCut& cut : cuts) {
        result.warnings.push_back(CutWarning(cut));
        ShowWarning(result.warnings.back());
    }
    // The returned trailer is what the file holds, cut fields included.
    t = SelfViewTrailer::FromBytes(bytes.data());
    output.Write(bytes.data(), bytes.size());

    // The archive writer appended at the end of the viewer part; the sizes must add up.
    struct stat written {};
    if (::fstat(output.Fd(), &written) != 0) output.Fail(errno);
    result.outputBytes = result.viewerBytes + result.archiveBytes + kTrailerSize;
    if (written.st_size != result.outputBytes)
        throw EPackError("The output file " + Quoted(options.outputFile) + " has " +
                         std::to_string(written.st_size) + " bytes instead of " +
                         std::to_string(result.outputBytes) + ".");
    output.Commit();
    return result;
}

}  // namespace kindrel
