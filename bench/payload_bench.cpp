// kindrel-payload-bench: packs a file into a payload archive or expands one, for the
// benchmark script (bench/payload_bench.sh) to time against bzip2.
#include "containers/errors.h"
#include "payload/blokar_compress.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage(FILE* to) {
    std::fprintf(to,
                 "kindrel-payload-bench - pack or expand a payload archive\n"
                 "Usage: kindrel-payload-bench pack INPUT ARCHIVE [THREADS]\n"
                 "       kindrel-payload-bench expand ARCHIVE OUTPUT BLOCKS [THREADS]\n"
                 "THREADS: 0 (default) one per processor, 1 this thread only.\n"
                 "pack prints the block count and the archive size.\n");
    return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        return Usage(stdout);
    }
    if (argc < 4) return Usage(stderr);
    const std::string command = argv[1];
    kindrel::WBlokarCompress blokar;
    try {
        if (command == "pack" && argc <= 5) {
            if (argc == 5) blokar.SetThreadCount(std::atoi(argv[4]));
            const kindrel::CompressResult result = blokar.Compress(argv[2], argv[3]);
            std::printf("%d %lld\n", result.blocks, result.archiveBytes);
            return 0;
        }
        if (command == "expand" && argc >= 5 && argc <= 6) {
            if (argc == 6) blokar.SetThreadCount(std::atoi(argv[5]));
            const kindrel::ExpandResult result =
                blokar.Expand(argv[2], argv[3], std::atoi(argv[4]));
            return result.crcFailures == 0 ? 0 : 1;
        }
    } catch (const kindrel::KindrelError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return Usage(stderr);
}
