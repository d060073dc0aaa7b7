// Micro benchmark of the containers and the GEDCOM line functions: filling, sorting and
// searching a million-record array, and walking the records of a synthetic million-record
// GEDCOM text. Usage: kindrel-bench-containers [records, default 1000000]
#include "containers/int_array.h"
#include "gedcom/charset.h"
#include "gedcom/gedcom_line.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace kindrel;

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

int CompareInts(const void* a, const void* b, void*) {
    std::int32_t x, y;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    return x < y ? -1 : (x > y ? 1 : 0);
}

struct Keyed {
    std::int32_t individual;
    std::int32_t key;
};

int CompareKeyed(const void* a, const void* b, void*) {
    Keyed x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    if (x.key != y.key) return x.key < y.key ? -1 : 1;
    return x.individual - y.individual;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::mt19937 random(1);

    auto t = std::chrono::steady_clock::now();
    WIntArray ints;
    for (int i = 0; i < n; ++i) ints.Add(std::int32_t(random() % (n / 4 + 1)));
    std::printf("WIntArray: add %d values          %8.1f ms\n", n, Since(t));

    t = std::chrono::steady_clock::now();
    ints.Sort(CompareInts, nullptr);
    std::printf("WIntArray: sort (compare function) %8.1f ms\n", Since(t));

    t = std::chrono::steady_clock::now();
    long hits = 0;
    for (int i = 0; i < n; ++i) {
        const std::int32_t key = std::int32_t(random() % (n / 4 + 1));
        hits += ints.Find(CompareInts, &key) != 0;
    }
    std::printf("WIntArray: %d finds (%ld hits)   %8.1f ms\n", n, hits, Since(t));

    WABSArrayIndex keyed("", false, sizeof(Keyed), n);
    for (int i = 1; i <= n; ++i) {
        const Keyed k{i, std::int32_t(random() % 5000)};
        keyed.Add(&k);
    }
    t = std::chrono::steady_clock::now();
    keyed.Sort(CompareKeyed, nullptr);
    std::printf("Keyed records: sort %d by key      %8.1f ms\n", n, Since(t));

    // A synthetic GEDCOM text of n individuals.
    std::string text = "0 HEAD\r\n1 CHAR ANSEL\r\n";
    for (int i = 1; i <= n; ++i) {
        text += "0 @I" + std::to_string(i) +
                "@ INDI\r\n1 NAME Jos\xE2"
                "e /M\xE8uller/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 1 JAN 1900\r\n"
                "2 PLAC Z\xE9rich\r\n1 FAMS @F" +
                std::to_string(i) + "@\r\n";
    }
    text += "0 TRLR\r\n";
    const char* end = text.data() + text.size();
    t = std::chrono::steady_clock::now();
    long records = 0, individuals = 0;
    std::size_t idChars = 0;
    for (const char* r = text.data(); r != nullptr; r = NextRecord(r, end)) {
        ++records;
        if (const auto id = ExtractXref(r + 2, end, false)) {
            idChars += id->size();
            individuals += RecordKind(r, end) == kKindIndividual;
        }
    }
    std::printf("Record walk: %ld records, %.0f MB  %8.1f ms (%ld individuals, %zu id chars)\n",
                records, double(text.size()) / 1e6, Since(t), individuals, idChars);

    t = std::chrono::steady_clock::now();
    std::size_t converted = 0;
    for (const char* p = text.data(); p != nullptr; p = NextLine(p, end, true)) {
        converted += AnselToUtf8(TagValue(p, end)).size();
    }
    std::printf("Line walk + ANSEL conversion       %8.1f ms (%zu bytes)\n", Since(t), converted);
    return 0;
}
