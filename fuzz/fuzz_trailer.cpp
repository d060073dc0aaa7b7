// Fuzz target for self-viewing files: the input is a whole file. Its trailer is read and
// checked; when it passes, the embedded GEDCOM is loaded. Every outcome must be a result or
// one of the system's own errors, and no temporary file may be left behind.
#include "containers/errors.h"
#include "services/embedded_gedcom.h"
#include "services/self_view_trailer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// A private temporary directory for this process (TMPDIR points there), removed at exit.
// The path lives on the heap and is never destroyed, so the exit handler can still read it.
const std::filesystem::path& WorkDir() {
    static const std::filesystem::path* const dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kindrel-fuzz-trailer-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        ::setenv("TMPDIR", pattern.c_str(), 1);
        return new std::filesystem::path(pattern);
    }();
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*dir, ignored);
        });
        return true;
    }();
    (void)cleanup;
    return *dir;
}

size_t EntriesIn(const std::filesystem::path& dir) {
    size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(dir);
         it != std::filesystem::directory_iterator(); ++it)
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = (WorkDir() / "input.sv").string();
    {
        std::filesystem::remove(input);
        std::ofstream out(input, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(out.good());
    }
    bool valid = false;
    try {
        const kindrel::SelfViewFileInfo info = kindrel::ReadSelfViewTrailer(input);
        // A trailer that passed its checks points inside the file.
        Check(info.trailer.payloadOffset >= 0);
        Check(info.payloadBytes >= 8);
        Check(info.trailer.payloadOffset + info.payloadBytes + kindrel::kTrailerSize ==
              static_cast<long long>(size));
        Check(info.trailer.blockCount >= 1 &&
              4 + 20LL * info.trailer.blockCount <= info.payloadBytes);
        valid = true;
    } catch (const kindrel::KindrelError&) {
    }
    if (valid) {
        try {
            kindrel::EmbeddedGedcom loaded = kindrel::LoadEmbeddedGedcom(input);
            Check(std::filesystem::exists(loaded.gedcom.Path()));
            Check(EntriesIn(WorkDir()) == 2);  // the input and the GEDCOM; the copy is gone
        } catch (const kindrel::KindrelError&) {
        }
    }
    Check(EntriesIn(WorkDir()) == 1);  // nothing but the input is left
    std::filesystem::remove(input);
    return 0;
}
