// kindrel-load-bench: loads a GEDCOM file as the viewer does (open, index and link, order
// the spouse families) and prints the counts and the time of each step, for
// bench/load_bench.sh.
#include "gedcom/ged_collection.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: kindrel-load-bench FILE.ged\n");
        return argc == 2 ? 0 : 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    try {
        const auto start = Clock::now();
        std::string error;
        auto collection = kindrel::OpenGedcomCollection(argv[1], error, kindrel::kKindGedcom);
        if (!collection) {
            std::fprintf(stderr, "kindrel-load-bench: %s\n", error.c_str());
            return 1;
        }
        if (!collection->LoadFile()) return 1;
        const double loaded = seconds(start);
        collection->AfterLoad();
        const double total = seconds(start);
        std::printf("individuals %d families %d load %.3f afterload %.3f total %.3f\n",
                    collection->IndividualCount(), collection->FamilyCount(), loaded,
                    total - loaded, total);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-load-bench: %s\n", e.what());
        return 1;
    }
}
