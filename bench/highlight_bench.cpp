// kindrel-highlight-bench: loads a GEDCOM file and times a highlighting condition over every
// individual: building the rules (Recalculate), asking every individual, and building the
// list of the highlighted ones, with the peak memory after each step.
// Usage: kindrel-highlight-bench FILE [CONDITION...]
// "{last}" in a condition stands for the last individual's number. Default conditions: a date,
// a name and an ancestor rule ("+39:BEF 1900;A;+29:1SON;O;+21:{last}^0"), then the
// descendants of individual 1 ("+22:1^0").
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "highlight/hl_group.h"


#include <chrono>
#include <cstdio>
#include "bench_clock.h"
#include "bench_load.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::PeakMegabytes;
using bench::Seconds;

void Row(const char* step, double seconds, const std::string& result) {
    std::printf("%-28s %10.3f %10.1f  %s\n", step, seconds, PeakMegabytes(), result.c_str());
    std::fflush(stdout);
}

std::string Substitute(std::string text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.replace(at, marker.size(), value);
        at += value.size();
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kindrel-highlight-bench FILE [CONDITION...]\n");
        return 2;
    }
    const std::string file = argv[1];
    std::vector<std::string> conditions(argv + 2, argv + argc);
    if (conditions.empty()) {
        conditions = {"+39:BEF 1900;A;+29:1SON;O;+21:{last}^0", "+22:1^0"};
    }
    try {
        using namespace kindrel;
        std::printf("%-28s %10s %10s  %s\n", "step", "seconds", "peak MB", "result");

        auto start = Clock::now();
        std::unique_ptr<WGEDCollection> collection = bench::LoadGedcom(file);
        const int32_t individuals = collection->IndividualCount();
        Row("load", Seconds(start), std::to_string(individuals) + " individuals");

        for (const std::string& pattern : conditions) {
            const std::string text = Substitute(pattern, "{last}", std::to_string(individuals));
            std::printf("condition %s\n", text.c_str());
            const auto total = Clock::now();

            start = Clock::now();
            WHLGroup group(collection.get());
            group.SetConditions(text);
            group.Recalculate();
            Row("  recalculate", Seconds(start), group.Describe());

            start = Clock::now();
            int32_t marked = 0;
            for (int32_t n = 1; n <= individuals; ++n) marked += group.IsHighlighted(n) ? 1 : 0;
            Row("  ask every individual", Seconds(start), std::to_string(marked) + " marked");
            Row("  condition total", Seconds(total), "");

            start = Clock::now();
            const std::unique_ptr<WColHLIterator> list =
                CreateHLIterator("", &group, collection.get());
            Row("  highlighted list", Seconds(start), std::to_string(list->Count()) + " listed");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-highlight-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
