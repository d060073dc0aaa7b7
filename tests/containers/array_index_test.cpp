#include "containers/array_index.h"
#include "containers/int_array.h"
#include "containers/ui_hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

namespace kindrel {
namespace {

int CompareInts(const void* a, const void* b, void*) {
    std::int32_t x, y;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    return x < y ? -1 : (x > y ? 1 : 0);
}

int CompareIntsDescending(const void* a, const void* b, void* context) {
    return -CompareInts(a, b, context);
}

std::vector<std::int32_t> Values(const WIntArray& array) {
    std::vector<std::int32_t> out;
    for (int i = 1; i <= array.RecordCount(); ++i) out.push_back(array.GetValue(i));
    return out;
}

WIntArray Filled(const std::vector<std::int32_t>& values) {
    WIntArray array;
    for (auto v : values) array.Add(v);
    return array;
}

// Installs a pump hook for one test and removes it again.
class PumpHook {
  public:
    explicit PumpHook(std::function<void()> hook) { Hooks().pumpEvents = std::move(hook); }
    ~PumpHook() { Hooks().pumpEvents = nullptr; }
};

TEST(WABSArrayIndex, AddReturnsThePositionAndItemPointsIntoTheStore) {
    WABSArrayIndex array("", false, 6, 0);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Add("abcdef"), 1);
    EXPECT_EQ(array.Add("ghijkl"), 2);
    EXPECT_EQ(std::string(array.Item(2), 6), "ghijkl");
    EXPECT_EQ(array.Item(0), nullptr);
    EXPECT_EQ(array.Item(3), nullptr);
    EXPECT_EQ(array.Item(-1), nullptr);
    EXPECT_EQ(array.Item(2) - array.Item(1), 6);
}

TEST(WABSArrayIndex, StoreLayoutHasTheHeadersAndRecordsFromOffsetSixteen) {
    WABSArrayIndex array("", false, 4, 0);
    const std::int32_t v = 0x11223344;
    array.Add(&v);
    const char* record1 = array.Item(1);
    std::int32_t fields[4];
    std::memcpy(fields, record1 - 16, sizeof fields);
    EXPECT_EQ(fields[0], 1);   // store format
    EXPECT_EQ(fields[1], 20);  // end of data
    EXPECT_EQ(fields[2], 0);   // count, written on destruction
    EXPECT_EQ(fields[3], 4);   // record size
}

TEST(WABSArrayIndex, SetItemIgnoresInvalidPositions) {
    WABSArrayIndex array("", false, 2, 0);
    array.Add("aa");
    array.SetItem(0, "zz");
    array.SetItem(2, "zz");
    array.SetItem(1, "bb");
    EXPECT_EQ(array.Count(), 1);
    EXPECT_EQ(std::string(array.Item(1), 2), "bb");
}

TEST(WABSArrayIndex, SetCountOnlyGrowsAndNewRecordsAreZero) {
    WIntArray array;
    array.Add(5);
    array.Add(6);
    array.SetCount(1);
    EXPECT_EQ(array.Count(), 2);
    array.SetCount(5);
    EXPECT_EQ(array.Count(), 5);
    EXPECT_EQ(Values(array), (std::vector<std::int32_t>{5, 6, 0, 0, 0}));

    // A large array lives in a mapped file whose fresh pages are not written by SetCount:
    // records written in place, then cleared, read as zero when counted again.
    WIntArray large;
    large.SetCount(100000);
    EXPECT_EQ(large.GetValue(77777), 0);
    for (int i = 1; i <= 100000; i += 997) {
        const std::int32_t value = i;
        large.SetItem(i, &value);
    }
    large.Clear();
    large.SetCount(200000);
    int nonZero = 0;
    for (int i = 1; i <= 200000; ++i) nonZero += large.GetValue(i) != 0;
    EXPECT_EQ(nonZero, 0);
}

TEST(WABSArrayIndex, SortMatchesStdSortOnRandomDataWithManyDuplicates) {
    std::mt19937 random(42);
    for (int size : {1, 2, 9, 10, 11, 57, 200, 1000, 100000}) {
        std::uniform_int_distribution<int> dist(0, std::max(1, size / 20));
        std::vector<std::int32_t> values(static_cast<std::size_t>(size));
        for (auto& v : values) v = dist(random);
        WIntArray array = Filled(values);
        array.Sort(CompareInts, nullptr);
        std::sort(values.begin(), values.end());
        EXPECT_EQ(Values(array), values) << "size " << size;
        EXPECT_TRUE(array.IsSorted());
    }
}

TEST(WABSArrayIndex, SortHandlesSortedReversedAndConstantInput) {
    for (int kind = 0; kind < 3; ++kind) {
        std::vector<std::int32_t> values(5000);
        for (int i = 0; i < 5000; ++i)
            values[std::size_t(i)] = kind == 0 ? i : (kind == 1 ? 5000 - i : 7);
        WIntArray array = Filled(values);
        array.Sort(CompareInts, nullptr);
        std::sort(values.begin(), values.end());
        EXPECT_EQ(Values(array), values) << "kind " << kind;
    }
}

struct Wide {
    std::int32_t key;
    char payload[20];
};

TEST(WABSArrayIndex, SortMovesWholeRecordsOfAnySize) {
    std::mt19937 random(7);
    WABSArrayIndex array("", false, sizeof(Wide), 0);
    std::vector<Wide> expected;
    for (int i = 0; i < 3000; ++i) {
        Wide w{};
        w.key = int(random() % 50);
        std::snprintf(w.payload, sizeof w.payload, "k%d-i%d", w.key, i);
        array.Add(&w);
        expected.push_back(w);
    }
    array.SortBy([](const void* a, const void* b) {
        Wide x, y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        return x.key - y.key;
    });
    std::vector<std::string> got;
    for (int i = 1; i <= array.Count(); ++i) {
        Wide w;
        std::memcpy(&w, array.Item(i), sizeof w);
        if (i > 1) {
            Wide prev;
            std::memcpy(&prev, array.Item(i - 1), sizeof prev);
            EXPECT_LE(prev.key, w.key);
        }
        EXPECT_EQ(std::string(w.payload).rfind("k" + std::to_string(w.key) + "-", 0), 0u);
        got.emplace_back(w.payload);
    }
    std::vector<std::string> want;
    for (const auto& w : expected) want.emplace_back(w.payload);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << "every record survives the sort";
}

TEST(WABSArrayIndex, SortOfAnEmptyArrayDoesNothing) {
    WIntArray array;
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_FALSE(array.IsSorted());
}

TEST(WABSArrayIndex, SortOfAnArrayMarkedSortedLeavesItUnchanged) {
    WIntArray array = Filled({3, 1, 2});
    array.MarkSorted();
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(Values(array), (std::vector<std::int32_t>{3, 1, 2}));
}

TEST(WABSArrayIndex, AddAndSetItemClearTheSortedMark) {
    WIntArray array = Filled({3, 1, 2});
    array.Sort(CompareInts, nullptr);
    EXPECT_TRUE(array.IsSorted());
    array.Add(0);
    EXPECT_FALSE(array.IsSorted());
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(Values(array), (std::vector<std::int32_t>{0, 1, 2, 3}));
    const std::int32_t nine = 9;
    array.SetItem(1, &nine);
    EXPECT_FALSE(array.IsSorted());
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(Values(array), (std::vector<std::int32_t>{1, 2, 3, 9}));
    array.SetValue(1, 10);
    EXPECT_FALSE(array.IsSorted());
}

TEST(WABSArrayIndex, PumpRunsEvery200StepsAndANestedSortDoesNothing) {
    std::mt19937 random(3);
    std::vector<std::int32_t> values(50000);
    for (auto& v : values) v = std::int32_t(random() % 1000);
    WIntArray array = Filled(values);
    int pumps = 0;
    bool sortingSeen = false;
    PumpHook hook([&] {
        ++pumps;
        sortingSeen = sortingSeen || array.IsSorting();
        // Re-entry from the event loop: a second sort, the other way round, must not run.
        array.Sort(CompareIntsDescending, nullptr);
    });
    array.Sort(CompareInts, nullptr);
    EXPECT_GT(pumps, 0);
    EXPECT_TRUE(sortingSeen);
    EXPECT_FALSE(array.IsSorting());
    std::sort(values.begin(), values.end());
    EXPECT_EQ(Values(array), values);
}

TEST(WABSArrayIndex, ShortSortsDoNotPump) {
    int pumps = 0;
    PumpHook hook([&] { ++pumps; });
    WIntArray array = Filled({5, 4, 3, 2, 1, 9, 8, 7, 6, 0, 11, 10});
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(pumps, 0);
}

TEST(WABSArrayIndex, ChangesDuringASortLeaveTheArrayUnmarked) {
    std::vector<std::int32_t> values(20000);
    for (int i = 0; i < 20000; ++i) values[std::size_t(i)] = (i * 7919) % 20000;
    WIntArray array = Filled(values);
    bool added = false;
    PumpHook hook([&] {
        if (!added) {
            added = true;
            array.Add(-1);
        }
    });
    array.Sort(CompareInts, nullptr);
    EXPECT_TRUE(added);
    EXPECT_FALSE(array.IsSorted());
    array.Sort(CompareInts, nullptr);
    EXPECT_TRUE(array.IsSorted());
    EXPECT_EQ(array.GetValue(1), -1);
}

TEST(WABSArrayIndex, AThrowingCompareEndsTheSortCleanly) {
    WIntArray array = Filled({4, 3, 2, 1, 0, 9, 8, 7, 6, 5, 14, 13, 12, 11, 10});
    int calls = 0;
    EXPECT_THROW(array.SortBy([&](const void*, const void*) -> int {
        if (++calls == 5) throw std::runtime_error("compare failed");
        return 0;
    }),
                 std::runtime_error);
    EXPECT_FALSE(array.IsSorting());
    EXPECT_FALSE(array.IsSorted());
    array.Sort(CompareInts, nullptr);
    EXPECT_EQ(array.GetValue(1), 0);
    EXPECT_EQ(array.GetValue(15), 14);
}

TEST(WABSArrayIndex, FindReturnsTheMatchOrZero) {
    WIntArray array = Filled({10, 20, 20, 20, 30, 40});
    array.MarkSorted();
    const std::int32_t k30 = 30, k20 = 20, k25 = 25, k5 = 5, k99 = 99;
    EXPECT_EQ(array.Find(CompareInts, &k30), 5);
    const int p = array.Find(CompareInts, &k20);
    EXPECT_GE(p, 2);
    EXPECT_LE(p, 4);
    EXPECT_EQ(array.Find(CompareInts, &k25), 0);
    EXPECT_EQ(array.Find(CompareInts, &k5), 0);
    EXPECT_EQ(array.Find(CompareInts, &k99), 0);
    WIntArray empty;
    EXPECT_EQ(empty.Find(CompareInts, &k5), 0);
}

TEST(WABSArrayIndex, FindNearestGivesTheFirstRecordAfterTheKey) {
    WIntArray array = Filled({10, 20, 30, 40});
    bool found = true;
    const std::int32_t k5 = 5, k25 = 25, k30 = 30, k99 = 99;
    EXPECT_EQ(array.FindNearest(CompareInts, &k5, found), 1);
    EXPECT_FALSE(found);
    EXPECT_EQ(array.FindNearest(CompareInts, &k25, found), 3);
    EXPECT_FALSE(found);
    EXPECT_EQ(array.FindNearest(CompareInts, &k30, found), 3);
    EXPECT_TRUE(found);
    // A key after every record gives the last record, not count + 1.
    EXPECT_EQ(array.FindNearest(CompareInts, &k99, found), 4);
    EXPECT_FALSE(found);
}

TEST(WABSArrayIndex, FindNearestOnAnEmptyArrayGivesZero) {
    WIntArray array;
    bool found = true;
    const std::int32_t key = 1;
    EXPECT_EQ(array.FindNearest(CompareInts, &key, found), 0);
    EXPECT_FALSE(found);
}

TEST(WABSArrayIndex, FindByUsesACallable) {
    WIntArray array = Filled({1, 3, 5, 7});
    const int wanted = 5;
    EXPECT_EQ(array.FindBy([&](const void* r) {
        std::int32_t v;
        std::memcpy(&v, r, 4);
        return v - wanted;
    }),
              3);
}

TEST(WABSArrayIndex, ClearEmptiesTheArrayForReuse) {
    WIntArray array = Filled({1, 2, 3});
    array.Clear();
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Add(8), 1);
    EXPECT_EQ(array.GetValue(1), 8);
}

TEST(WABSArrayIndex, MovedArrayKeepsItsRecords) {
    WIntArray a = Filled({4, 5, 6});
    WIntArray b(std::move(a));
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.GetValue(1), 0);
    a.Sort(CompareInts, nullptr);
    EXPECT_EQ(Values(b), (std::vector<std::int32_t>{4, 5, 6}));
}

TEST(WABSArrayIndex, NamedBackingFileIsDeletedUnlessKept) {
    namespace fs = std::filesystem;
    const std::string path = (fs::temp_directory_path() / "kindrel_array_named.bin").string();
    {
        WABSArrayIndex array(path, false, 4, 30000);
        EXPECT_FALSE(array.InMemory());
        EXPECT_TRUE(fs::exists(path));
    }
    EXPECT_FALSE(fs::exists(path));
    {
        WABSArrayIndex array(path, true, 4, 30000);
        const std::int32_t v = 77;
        array.Add(&v);
        array.Add(&v);
    }
    ASSERT_TRUE(fs::exists(path));
    {
        WMMF kept(path, 0, WMMF::kModeReadOnly);
        std::int32_t count;
        std::memcpy(&count, kept.PointerAt(8), 4);
        EXPECT_EQ(count, 2) << "the final count is written into the kept file";
    }
    fs::remove(path);
}

TEST(WABSIterator, WalksFromFirstToTheEndAndStartsAgain) {
    WABSIterator it("", 4, 0);
    for (std::int32_t v : {7, 8, 9}) it.Add(&v);
    std::vector<std::int32_t> seen;
    for (char* p = it.First(); p != nullptr; p = it.Next()) {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        seen.push_back(v);
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{7, 8, 9}));
    EXPECT_EQ(it.Position(), 0);
    // After running off the end the position is 0, so Next gives record 1 again.
    EXPECT_EQ(it.Next(), it.Item(1));
    EXPECT_EQ(it.Position(), 1);
}

TEST(WABSIterator, PrevFromTheFirstRecordGivesNull) {
    WABSIterator it("", 4, 0);
    for (std::int32_t v : {1, 2}) it.Add(&v);
    EXPECT_EQ(it.Last(), it.Item(2));
    EXPECT_EQ(it.Position(), 2);
    EXPECT_EQ(it.Prev(), it.Item(1));
    EXPECT_EQ(it.Prev(), nullptr);
    EXPECT_EQ(it.Position(), 0);
    EXPECT_EQ(it.GoTo(3), nullptr);
    EXPECT_EQ(it.Position(), 0);
}

TEST(WABSIterator, EmptyIteratorYieldsNothing) {
    WABSIterator it("", 4, 0);
    EXPECT_EQ(it.First(), nullptr);
    EXPECT_EQ(it.Last(), nullptr);
    EXPECT_EQ(it.Next(), nullptr);
}

}  // namespace
}  // namespace kindrel
