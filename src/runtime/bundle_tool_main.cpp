// kindrel-bundle: writes a portable viewer part, [launcher][runtime bundle][footer], from the
// launcher and a manifest of the runtime's files. Used by the build (scripts/make-runtime.sh).
#include "runtime/runtime_bundle.h"
#include "services/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kindrel {
namespace {

void PrintUsage() {
    std::printf(
        "Usage: kindrel-bundle --launcher EXE --manifest FILE --glibc VERSION --cxx VERSION\n"
        "                      --compat-glibc VERSION -o OUTPUT [--level N] [--frame-cache DIR]\n"
        "\n"
        "Writes OUTPUT = the launcher, the runtime bundle of the files in the manifest (lines of\n"
        "\"MODE<TAB>PATH-IN-BUNDLE<TAB>SOURCE-FILE\", MODE in octal) and its footer.\n"
        "Frames compressed before are taken from the frame cache.\n");
}

std::vector<BundleSource> ReadManifest(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw KindrelError("Cannot read the manifest \"" + path + "\".");
    std::vector<BundleSource> sources;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        const size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos)
            throw KindrelError("Bad manifest line: " + line);
        BundleSource source;
        source.mode = static_cast<uint32_t>(std::strtoul(line.substr(0, tab1).c_str(), nullptr, 8));
        source.path = line.substr(tab1 + 1, tab2 - tab1 - 1);
        source.source = line.substr(tab2 + 1);
        sources.push_back(source);
    }
    return sources;
}

int Run(int argc, char** argv) {
    std::string launcher, manifest, output, frameCache;
    RuntimeFooter floors;
    int level = 19;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            PrintUsage();
            return 0;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "kindrel-bundle: %s needs a value (see --help)\n", arg.c_str());
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--launcher")
            launcher = value;
        else if (arg == "--manifest")
            manifest = value;
        else if (arg == "--glibc")
            floors.glibcFloor = value;
        else if (arg == "--cxx")
            floors.cxxFloor = value;
        else if (arg == "--compat-glibc")
            floors.compatGlibcFloor = value;
        else if (arg == "-o" || arg == "--output")
            output = value;
        else if (arg == "--frame-cache")
            frameCache = value;
        else if (arg == "--level")
            level = std::atoi(value.c_str());
        else {
            std::fprintf(stderr, "kindrel-bundle: unknown option %s (see --help)\n", arg.c_str());
            return 2;
        }
    }
    if (launcher.empty() || manifest.empty() || floors.glibcFloor.empty() || output.empty()) {
        PrintUsage();
        return 2;
    }
    const std::vector<BundleSource> sources = ReadManifest(manifest);
    std::ifstream launcherIn(launcher, std::ios::binary);
    std::stringstream launcherBytes;
    launcherBytes << launcherIn.rdbuf();
    if (!launcherIn) throw KindrelError("Cannot read the launcher \"" + launcher + "\".");

    std::string temp = output + ".XXXXXX";
    WUniqueFd fd(::mkstemp(temp.data()));
    if (!fd.IsOpen()) throw KindrelError("Cannot write \"" + output + "\": " + ErrorText(errno));
    try {
        const std::string bytes = launcherBytes.str();
        if (!WriteAll(fd.Get(), bytes.data(), bytes.size()))
            throw KindrelError("Cannot write \"" + output + "\": " + ErrorText(errno));
        const BundleWriteResult result =
            WriteRuntimeBundle(sources, floors, level, frameCache, fd.Get());
        if (::fchmod(fd.Get(), 0755) != 0 || ::rename(temp.c_str(), output.c_str()) != 0)
            throw KindrelError("Cannot write \"" + output + "\": " + ErrorText(errno));
        std::printf(
            "kindrel-bundle: %s: launcher %zu bytes, %zu files (%llu bytes) compressed to %lld "
            "bytes (%d frames reused), runtime %s\n",
            output.c_str(), bytes.size(), sources.size(),
            static_cast<unsigned long long>(result.footer.unpackedBytes), result.compressedBytes,
            result.framesReused, result.footer.RuntimeIdHex().c_str());
        // Frames of earlier builds that this one no longer uses go.
        if (!frameCache.empty()) {
            const std::set<std::string> used(result.frameFiles.begin(), result.frameFiles.end());
            std::error_code ec;
            for (const auto& item : std::filesystem::directory_iterator(frameCache, ec))
                if (!used.count(item.path().string())) std::filesystem::remove(item.path(), ec);
        }
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    return 0;
}

}  // namespace
}  // namespace kindrel

int main(int argc, char** argv) {
    try {
        return kindrel::Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kindrel-bundle: %s\n", error.what());
        return 1;
    }
}
