// kindrel-analysis-bench: loads a GEDCOM file and times the island calculation, the
// relationship of random pairs and a descendant walk, with the peak memory after each step.
// Usage: kindrel-analysis-bench FILE [PAIRS] [SEED]   (defaults: 1000 pairs, seed 1)
#include "analysis/des_iterator.h"
#include "analysis/islands.h"
#include "analysis/rel_calc.h"
#include "containers/errors.h"
#include "gedcom/ged_collection.h"


#include <chrono>
#include <cstdio>
#include <cstdlib>
#include "bench_clock.h"
#include "bench_load.h"

#include <exception>
#include <memory>
#include <random>
#include <string>

namespace {

using bench::Clock;
using bench::PeakMegabytes;
using bench::Seconds;

void Row(const char* step, double seconds, const std::string& result) {
    std::printf("%-28s %10.3f %10.1f  %s\n", step, seconds, PeakMegabytes(), result.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kindrel-analysis-bench FILE [PAIRS] [SEED]\n");
        return 2;
    }
    const std::string file = argv[1];
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 1000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u;
    try {
        using namespace kindrel;
        std::printf("%-28s %10s %10s  %s\n", "step", "seconds", "peak MB", "result");

        auto start = Clock::now();
        std::unique_ptr<WGEDCollection> collection = bench::LoadGedcom(file);
        const int32_t individuals = collection->IndividualCount();
        Row("load", Seconds(start),
            std::to_string(individuals) + " individuals, " +
                std::to_string(collection->FamilyCount()) + " families");

        start = Clock::now();
        WIslands& islands = WIslands::Of(*collection);
        const int32_t count = islands.CalculateIslands();
        Row("islands", Seconds(start),
            std::to_string(count) + " islands, largest " + std::to_string(islands.IslandSize(1)));

        {
            // Again without the pass over every individual's witness links; the records
            // were read once already, so this shows the flood over warm record caches.
            start = Clock::now();
            WIslands withoutWitnesses(*collection);
            withoutWitnesses.SetUseWitnessLinks(false);
            const int32_t again = withoutWitnesses.CalculateIslands();
            Row("islands again, no witness", Seconds(start), std::to_string(again) + " islands");
        }

        // Pairs of any individuals, then pairs within the largest island (mostly related).
        std::mt19937 random(seed);
        std::uniform_int_distribution<int32_t> anyone(1, individuals > 0 ? individuals : 1);
        WRelCalc calc(collection.get());
        int related = 0;
        start = Clock::now();
        for (int k = 0; k < pairs; ++k) {
            if (!calc.Relationship(anyone(random), anyone(random)).empty()) ++related;
        }
        Row("relationships, any pairs", Seconds(start),
            std::to_string(pairs) + " pairs, " + std::to_string(related) + " related");

        const std::unique_ptr<WIslandIterator> largest = islands.IslandIterator(1);
        const int members = largest ? largest->Count() : 0;
        std::uniform_int_distribution<int> position(1, members > 0 ? members : 1);
        WRelCalc sameIsland(collection.get());
        related = 0;
        start = Clock::now();
        for (int k = 0; k < pairs && members > 0; ++k) {
            const int32_t reference = largest->NumberAt(position(random));
            const int32_t other = largest->NumberAt(position(random));
            if (!sameIsland.Relationship(reference, other).empty()) ++related;
        }
        Row("relationships, largest isl.", Seconds(start),
            std::to_string(pairs) + " pairs, " + std::to_string(related) + " related");

        start = Clock::now();
        WDesIterator walk;
        walk.SetCollection(collection.get());
        const int32_t founder = islands.IslandFirstIndividual(1);
        walk.Start(founder, 255, false);
        Row("descendants (no repeats)", Seconds(start),
            std::to_string(walk.RecordCount()) + " records, " +
                std::to_string(walk.DescendantCount()) + " descendants of " +
                std::to_string(founder));

        start = Clock::now();
        walk.Start(founder, 32, true);
        Row("descendants (repeats, 32)", Seconds(start),
            std::to_string(walk.RecordCount()) + " records" +
                (walk.Truncated() ? " (truncated)" : ""));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-analysis-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
