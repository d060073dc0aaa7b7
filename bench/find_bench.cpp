// kindrel-find-bench: the tool bar's find over a loaded GEDCOM file, as the window runs it:
// the first surname search (the sort of the surname order included), later keystrokes of the
// same query, Find Next / Find Previous steps, and a given-name search with its sort. Prints
// each time, what the five sorted orders hold and the peak resident memory.
#include "app/find_state.h"
#include "analysis/collection_iterator.h"
#include "bench_clock.h"
#include "gedcom/ged_collection.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Seconds;

// Resident memory now, in megabytes (pages of the mapped GEDCOM that were read included).
double ResidentMegabytes() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::printf("Usage: kindrel-find-bench GEDCOM [SURNAME]\n");
        return argc < 2 ? 1 : 0;
    }
    try {
        std::string error;
        auto start = Clock::now();
        std::unique_ptr<kindrel::WGEDCollection> collection =
            kindrel::OpenGedcomCollection(argv[1], error);
        if (!collection) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (!collection->LoadFile()) return 1;
        collection->AfterLoad();
        std::printf("load %.3f s, %d individuals\n", Seconds(start),
                    collection->IndividualCount());

        kindrel::WFindOrders orders(collection.get());
        kindrel::WFindState find(&orders);
        // The query: the given surname, or the surname of the middle individual.
        std::string query = argc > 2 ? argv[2] : std::string();
        if (query.empty()) {
            auto person = collection->GetIndividual(collection->IndividualCount() / 2);
            if (person && person->Name()) query = person->Name()->Surname();
        }
        find.SetKind(kindrel::WFindState::kSurname);
        start = Clock::now();
        const double cpuStart = bench::CpuSeconds();
        const int32_t first = find.Search(query.substr(0, 1));
        std::printf("first surname search (sort included) %.3f s (cpu %.3f s) -> %d\n",
                    Seconds(start), bench::CpuSeconds() - cpuStart, first);

        std::vector<double> keys;
        for (size_t len = 2; len <= query.size(); ++len) {
            start = Clock::now();
            find.Search(query.substr(0, len));
            keys.push_back(Seconds(start) * 1000);
        }
        std::printf("later keystrokes (%zu, \"%s\"): median %.3f ms, worst %.3f ms\n", keys.size(),
                    query.c_str(), Median(keys),
                    keys.empty() ? 0 : *std::max_element(keys.begin(), keys.end()));

        for (const char* name : {"Next", "Previous"}) {
            std::vector<double> steps;
            for (int i = 0; i < 2000; ++i) {
                start = Clock::now();
                if (name[0] == 'N')
                    find.Next();
                else
                    find.Previous();
                steps.push_back(Seconds(start) * 1000);
            }
            std::printf("Find %s x2000: median %.4f ms, worst %.3f ms\n", name, Median(steps),
                        *std::max_element(steps.begin(), steps.end()));
        }

        find.SetKind(kindrel::WFindState::kGiven);
        start = Clock::now();
        find.Search("Jo");
        std::printf("first given-name search (sort included) %.3f s\n", Seconds(start));

        // The two other orders, then what all five hold once their sort keys are gone.
        for (const kindrel::FindOrder order : {kindrel::FindOrder::kRef,
                                               kindrel::FindOrder::kCustom}) {
            start = Clock::now();
            orders.Order(order);
            std::printf("%s order made and sorted %.3f s\n",
                        order == kindrel::FindOrder::kRef ? "REF" : "custom", Seconds(start));
        }
        orders.Order(kindrel::FindOrder::kIndex);
        const double withOrders = ResidentMegabytes();
        orders.Reset(collection.get());
        const double withoutOrders = ResidentMegabytes();
        std::printf("five sorted orders hold %.1f MB (resident %.0f MB with them, %.0f MB "
                    "after they were freed)\n",
                    withOrders - withoutOrders, withOrders, withoutOrders);
        std::printf("peak memory %.0f MB (the mapped GEDCOM included)\n", bench::PeakMegabytes());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-find-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
