// kindrel-sort-bench: loads a GEDCOM file and sorts all its individuals by a name column (7),
// a birth date column (65) and the age column (19), the way the List tab does: keys computed
// once per individual, then the iterator's sort. Prints per sort the time of key filling
// and of sorting, and the peak resident memory. With --keys DIR it also writes each sort's
// keys as text lines (one per individual, in file order), for a peer sort of the same keys.
// --codes 38,28 sorts by other column codes instead (named "c38", "c28"); --reference N sets
// the individual that relationship columns relate to (default 1).
#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "analysis/sort_keys.h"
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "model/date.h"


#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "bench_clock.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using kindrel::WAttribKeyArray;

using bench::CpuSeconds;
using bench::Seconds;

long PeakResidentMegabytes() { return static_cast<long>(bench::PeakMegabytes()); }

// One key as a text line that sorts (byte order) as the key array orders it.
std::string KeyLine(const WAttribKeyArray& keys, int32_t n) {
    char line[128];
    if (const auto* text = dynamic_cast<const kindrel::WAttribStrArray*>(&keys)) {
        return std::string(text->Key(n));
    }
    if (const auto* dates = dynamic_cast<const kindrel::WAttribDateArray*>(&keys)) {
        const kindrel::WDateKey key = dates->Key(n);
        // Kind, then the number offset to be positive, then the text of unclean dates.
        std::snprintf(line, sizeof line, "%u %020" PRId64 " %02u %s", key.kind,
                      key.number + (int64_t(1) << 48), key.qualifier,
                      key.kind == kindrel::WDateKey::kUnclean ? key.text : "");
        return line;
    }
    if (const auto* ages = dynamic_cast<const kindrel::WAttribAgeArray*>(&keys)) {
        const kindrel::WAgeKey key = ages->Key(n);
        std::snprintf(line, sizeof line, "%d %010d %d %d", key.hasValue ? 1 : 0, key.years,
                      key.approximate ? 1 : 0, key.living ? 1 : 0);
        return line;
    }
    return {};
}

void WriteKeys(const WAttribKeyArray& keys, int32_t count, const std::string& fileName) {
    std::FILE* out = std::fopen(fileName.c_str(), "wb");
    if (out == nullptr) throw kindrel::EFileError(fileName);
    for (int32_t n = 1; n <= count; ++n) {
        const std::string line = KeyLine(keys, n);
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
    }
    std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: kindrel-sort-bench FILE.ged [--keys DIR] [--codes C,C...] "
                     "[--reference N]\n");
        return 2;
    }
    const std::string fileName = argv[1];
    std::string keysDir;
    std::string codes;
    int32_t reference = 1;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--keys") == 0) keysDir = argv[i + 1];
        if (std::strcmp(argv[i], "--codes") == 0) codes = argv[i + 1];
        if (std::strcmp(argv[i], "--reference") == 0) reference = std::atoi(argv[i + 1]);
    }
    try {
        // Ages run to a fixed day, so that runs on different days compare.
        kindrel::WDate::SetTodayProvider([] { return kindrel::WCalendarDay{1, 1, 2026}; });
        const auto loadStart = Clock::now();
        std::string error;
        std::unique_ptr<kindrel::WGEDCollection> collection =
            kindrel::OpenGedcomCollection(fileName, error);
        if (!collection) {
            std::fprintf(stderr, "kindrel-sort-bench: %s\n", error.c_str());
            return 1;
        }
        if (!collection->LoadFile()) return 1;
        collection->AfterLoad();
        const int32_t count = collection->IndividualCount();
        std::printf("load %s: %d individuals, %.2f s, peak %ld MB\n", fileName.c_str(), count,
                    Seconds(loadStart, Clock::now()), PeakResidentMegabytes());

        struct Column {
            int code;
            std::string name;
        };
        std::vector<Column> columns = {{7, "name"}, {65, "birth"}, {19, "age"}};
        if (!codes.empty()) {
            columns.clear();
            for (size_t start = 0; start < codes.size();) {
                size_t comma = codes.find(',', start);
                if (comma == std::string::npos) comma = codes.size();
                const int code = std::atoi(codes.substr(start, comma - start).c_str());
                if (code >= 1 && code <= 68) columns.push_back({code, "c" + std::to_string(code)});
                start = comma + 1;
            }
        }
        for (const Column& column : columns) {
            kindrel::WColSortIterator iterator("", collection.get());
            const std::unique_ptr<kindrel::WAttrib> attribute =
                kindrel::CreateAttrib(column.code, collection.get());
            if (!attribute) continue;
            attribute->SetCollection(collection.get());
            attribute->SetReference(reference);
            const auto start = Clock::now();
            const double cpuStart = CpuSeconds();
            iterator.EnsureBuilt();
            // The steps of WColSortIterator::SortBy, timed one by one.
            std::unique_ptr<WAttribKeyArray> keys =
                kindrel::CreateKeyArray(&iterator, attribute.get(), iterator.IndividualCount());
            keys->Fill();
            const auto filled = Clock::now();
            const double cpuFilled = CpuSeconds();
            keys->SortIterator();
            const auto sorted = Clock::now();
            const double cpuSorted = CpuSeconds();
            std::printf(
                "sort %-5s (column %2d): fill %.3f s, sort %.3f s, total %.3f s "
                "(cpu: fill %.3f s, sort %.3f s, total %.3f s), peak %ld MB, "
                "first %d last %d\n",
                column.name.c_str(), column.code, Seconds(start, filled), Seconds(filled, sorted),
                Seconds(start, sorted), cpuFilled - cpuStart, cpuSorted - cpuFilled,
                cpuSorted - cpuStart, PeakResidentMegabytes(), iterator.NumberAt(1),
                iterator.NumberAt(iterator.Count()));
            if (!keysDir.empty()) {
                WriteKeys(*keys, count, keysDir + "/keys_" + column.name + ".txt");
            }
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-sort-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
