// Collection iterators: building over the view, sorting with toggles, descending views, the
// finds, PositionOf, the marked (highlighted) form, and the compare functions' ties.
#include "analysis/collection_iterator.h"
#include "analysis/attrib.h"
#include "analysis/sort_keys.h"
#include "containers/ui_hooks.h"
#include "fake_collection.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;

// A text attribute over a table of values, counting how often it was asked.
class TableAttrib : public WAttrib {
  public:
    TableAttrib(int code, std::map<int32_t, std::string> values, int sortType = kSortText)
        : WAttrib(nullptr, code, sortType), m_values(std::move(values)) {}
    std::string ValueText(int32_t n, int) override {
        ++calls;
        const auto it = m_values.find(n);
        return it != m_values.end() ? it->second : std::string();
    }
    int32_t IntValue(int32_t n) override {
        ++calls;
        return static_cast<int32_t>(ValueText(n, 1).size());
    }
    std::string SortText(int32_t n) override { return ValueText(n, 1); }
    int calls = 0;

  private:
    std::map<int32_t, std::string> m_values;
};

// The individuals of a restriction, in the order given.
class ListRestriction : public WViewRestriction {
  public:
    explicit ListRestriction(std::vector<int32_t> members) : m_members(std::move(members)) {}
    int32_t Count() override { return static_cast<int32_t>(m_members.size()); }
    int32_t ToIndividual(int32_t i) override {
        return (i >= 1 && i <= Count()) ? m_members[static_cast<size_t>(i - 1)] : 0;
    }
    int32_t ToView(int32_t individual) override {
        for (size_t i = 0; i < m_members.size(); ++i) {
            if (m_members[i] == individual) return static_cast<int32_t>(i) + 1;
        }
        return 0;
    }

  private:
    std::vector<int32_t> m_members;
};

std::vector<int32_t> ViewOrder(WColSortIterator& iterator) {
    std::vector<int32_t> order;
    for (int i = 1; i <= iterator.Count(); ++i) order.push_back(iterator.NumberAt(i));
    return order;
}

// Six people: names chosen so that name order differs from file order.
struct People {
    FakeCollection tree;
    People() {
        tree.AddPerson("John", "Smith", 'M');   // 1
        tree.AddPerson("Ann", "Brown", 'F');    // 2
        tree.AddPerson("Zoe", "Smalley", 'F');  // 3
        tree.AddPerson("Adam", "Smith", 'M');   // 4
        tree.AddPerson("Carl", "Young", 'M');   // 5
        tree.AddPerson("Émile", "Àdler", 'M');  // 6
        tree.Person(4).refn = "R-2";
        tree.Person(1).refn = "R-1";
    }
};

TEST(WColSortIteratorTest, BuildsLazilyInFileOrder) {
    People p;
    WColSortIterator iterator("", &p.tree);
    EXPECT_FALSE(iterator.IsBuilt());
    EXPECT_EQ(iterator.Count(), 6);
    EXPECT_TRUE(iterator.IsBuilt());
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(iterator.NumberAt(0), 0);
    EXPECT_EQ(iterator.NumberAt(7), 0);
    EXPECT_EQ(iterator.IndividualCount(), 6);
}

TEST(WColSortIteratorTest, WithoutCollectionItIsEmpty) {
    WColSortIterator iterator("", nullptr);
    EXPECT_EQ(iterator.Count(), 0);
    EXPECT_EQ(iterator.FirstNumber(), 0);
    TableAttrib attribute(4, {});
    iterator.SortBy(&attribute, true);
    EXPECT_EQ(iterator.Count(), 0);
    EXPECT_EQ(iterator.FindByName("SM", ""), 0);
}

TEST(WColSortIteratorTest, BuildFollowsTheViewRestriction) {
    People p;
    p.tree.SetViewRestriction(std::make_unique<ListRestriction>(std::vector<int32_t>{5, 2, 4}));
    WColSortIterator iterator("", &p.tree);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{5, 2, 4}));
    EXPECT_EQ(iterator.PositionOf(2), 2);
    EXPECT_EQ(iterator.PositionOf(1), 0);  // outside the island in use
    EXPECT_EQ(iterator.PositionOf(0), 0);
}

TEST(WColSortIteratorTest, WalkNumbersFollowTheView) {
    People p;
    WColSortIterator iterator("", &p.tree);
    EXPECT_EQ(iterator.FirstNumber(), 1);
    EXPECT_EQ(iterator.NextNumber(), 2);
    EXPECT_EQ(iterator.LastNumber(), 6);
    EXPECT_EQ(iterator.PrevNumber(), 5);
    iterator.SetAscending(false);
    EXPECT_EQ(iterator.FirstNumber(), 6);
    EXPECT_EQ(iterator.NextNumber(), 5);
    EXPECT_EQ(iterator.LastNumber(), 1);
    EXPECT_EQ(iterator.NextNumber(), 0);  // ran off the end
}

TEST(WColSortIteratorTest, SortingTwiceReversesWithoutRecomputingKeys) {
    People p;
    WColSortIterator iterator("", &p.tree);
    TableAttrib attribute(4, {{1, "d"}, {2, "a"}, {3, "c"}, {4, "b"}, {5, "f"}, {6, "e"}});
    iterator.SortBy(&attribute, true);
    EXPECT_EQ(attribute.calls, 6);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{2, 4, 3, 1, 6, 5}));
    const WAttribKeyArray* keys = iterator.KeyArray();
    iterator.SortBy(&attribute, true);
    EXPECT_EQ(attribute.calls, 6);
    EXPECT_EQ(iterator.KeyArray(), keys);
    EXPECT_FALSE(iterator.IsAscending());
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{5, 6, 1, 3, 4, 2}));
    // Without toggle the same column changes nothing.
    iterator.SortBy(&attribute, false);
    EXPECT_FALSE(iterator.IsAscending());
    EXPECT_EQ(attribute.calls, 6);
}

TEST(WColSortIteratorTest, TheIndexSortOfAnOrderedListReadsNoKeysAndOtherOrdersAreSorted) {
    People p;
    WColSortIterator iterator("", &p.tree);
    // The index counted: the records in file order are the index order already.
    TableAttrib index(1, {{1, "a"}, {2, "bb"}, {3, "ccc"}, {4, "dddd"}, {5, "eeeee"}, {6, "ffffff"}},
                      kSortInteger);
    iterator.SortBy(&index, true);
    EXPECT_EQ(index.calls, 0);
    EXPECT_TRUE(iterator.IsSorted());
    EXPECT_EQ(iterator.SortAttributeCode(), 1);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    iterator.SortBy(&index, true);  // the flip
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{6, 5, 4, 3, 2, 1}));
    // After another order the index sort computes its keys and restores the numbers' order.
    TableAttrib other(4, {{1, "d"}, {2, "a"}, {3, "c"}, {4, "b"}, {5, "f"}, {6, "e"}});
    iterator.SortBy(&other, true);
    iterator.SortBy(&index, true);
    EXPECT_GT(index.calls, 0);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(WColSortIteratorTest, AnotherColumnThenBackStartsAscending) {
    People p;
    WColSortIterator iterator("", &p.tree);
    TableAttrib first(4, {{1, "d"}, {2, "a"}, {3, "c"}, {4, "b"}, {5, "f"}, {6, "e"}});
    TableAttrib second(5, {{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}});
    iterator.SortBy(&first, true);
    iterator.SortBy(&first, true);
    EXPECT_FALSE(iterator.IsAscending());
    iterator.SortBy(&second, true);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(iterator.SortAttributeCode(), 5);
    iterator.SortBy(&first, true);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(first.calls, 12);  // keys computed anew
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{2, 4, 3, 1, 6, 5}));
}

TEST(WColSortIteratorTest, WithoutToggleADescendingViewStaysDescending) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SetAscending(false);
    TableAttrib attribute(4, {{1, "b"}, {2, "a"}, {3, "c"}, {4, "d"}, {5, "e"}, {6, "f"}});
    iterator.SortBy(&attribute, false);
    EXPECT_FALSE(iterator.IsAscending());
    EXPECT_EQ(iterator.NumberAt(iterator.Count()), 2);
}

TEST(WColSortIteratorTest, DescendingIsTheAscendingListReversedIncludingEqualKeys) {
    FakeCollection tree;
    for (int i = 0; i < 500; ++i) tree.AddPerson("P" + std::to_string(i), "S", 'U');
    std::map<int32_t, std::string> values;
    for (int32_t n = 1; n <= 500; ++n) values[n] = std::string(1, static_cast<char>('a' + n % 4));
    TableAttrib attribute(4, values);
    WColSortIterator iterator("", &tree);
    iterator.SortBy(&attribute, true);
    const std::vector<int32_t> ascending = ViewOrder(iterator);
    iterator.SortBy(&attribute, true);
    std::vector<int32_t> descending = ViewOrder(iterator);
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(descending, ascending);
    for (size_t i = 1; i < ascending.size(); ++i) {
        EXPECT_LE(values[ascending[i - 1]], values[ascending[i]]);
    }
}

TEST(WColSortIteratorTest, EqualKeysKeepTheOrderOfThePreviousSort) {
    FakeCollection tree;
    std::map<int32_t, std::string> given;
    std::map<int32_t, std::string> surname;
    for (int32_t n = 1; n <= 300; ++n) {
        tree.AddUnnamedPerson();
        given[n] = std::string(1, static_cast<char>('a' + (n * 7) % 26));
        surname[n] = std::string(1, static_cast<char>('a' + n % 3));
    }
    TableAttrib byGiven(5, given);
    TableAttrib bySurname(4, surname);
    WColSortIterator iterator("", &tree);
    iterator.SortBy(&byGiven, true);
    iterator.SortBy(&bySurname, true);
    const std::vector<int32_t> order = ViewOrder(iterator);
    for (size_t i = 1; i < order.size(); ++i) {
        const auto previous = std::make_pair(surname[order[i - 1]], given[order[i - 1]]);
        const auto current = std::make_pair(surname[order[i]], given[order[i]]);
        ASSERT_LE(previous, current) << i;
        if (previous == current) {
            ASSERT_LT(order[i - 1], order[i]);
        }
    }
}

TEST(WColSortIteratorTest, LongTextKeysSortByAllTheirBytes) {
    // Keys that share their first 30 bytes and differ after the inline part of a sort record.
    FakeCollection tree;
    std::map<int32_t, std::string> values;
    const std::string common(30, 'x');
    for (int32_t n = 1; n <= 2000; ++n) {
        tree.AddUnnamedPerson();
        values[n] = common + std::to_string((n * 7919) % 2000 + 10000) + std::string(20, 'z');
    }
    TableAttrib attribute(4, values);
    WColSortIterator iterator("", &tree);
    iterator.SortBy(&attribute, true);
    const std::vector<int32_t> order = ViewOrder(iterator);
    for (size_t i = 1; i < order.size(); ++i) {
        ASSERT_LE(FoldSortKey(values[order[i - 1]]), FoldSortKey(values[order[i]])) << i;
    }
}

TEST(WColSortIteratorTest, ManyDatesComeOutInDateOrder) {
    FakeCollection tree;
    std::map<int32_t, std::string> values;
    const char* months[] = {"", "JAN ", "JUN ", "DEC "};
    const char* qualifiers[] = {"", "BEF ", "AFT ", "ABT ", "junk "};
    for (int32_t n = 1; n <= 3000; ++n) {
        tree.AddUnnamedPerson();
        values[n] = std::string(qualifiers[n % 5]) + months[(n / 5) % 4] +
                    std::to_string(1700 + (n * 37) % 300);
        if (n % 11 == 0) values[n].clear();
    }
    TableAttrib attribute(10, values, kSortDate);
    WColSortIterator iterator("", &tree);
    iterator.SortBy(&attribute, true);
    const std::vector<int32_t> order = ViewOrder(iterator);
    // Without ranges the date order is consistent, so neighbours are in order.
    for (size_t i = 1; i < order.size(); ++i) {
        ASSERT_LE(CompareDateTexts(values[order[i - 1]], values[order[i]]), 0)
            << values[order[i - 1]] << " / " << values[order[i]];
    }
}

TEST(WColSortIteratorTest, NullAttributeOrUnknownSortTypeLeavesTheOrder) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SortBy(nullptr, true);
    EXPECT_EQ(iterator.SortAttributeCode(), 0);
    TableAttrib odd(4, {{1, "z"}}, 9);
    iterator.SortBy(&odd, true);
    EXPECT_EQ(iterator.SortAttributeCode(), 4);
    EXPECT_EQ(iterator.KeyArray(), nullptr);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(WColSortIteratorTest, SortsByEverySortType) {
    People p;
    WColSortIterator iterator("", &p.tree);
    // Integer: the length of the text.
    TableAttrib lengths(24, {{1, "xxx"}, {2, "x"}, {3, "xxxxx"}, {4, "xx"}, {5, ""}, {6, "xxxx"}},
                        kSortInteger);
    iterator.SortBy(&lengths, true);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{5, 2, 4, 1, 6, 3}));
    // Dates.
    TableAttrib dates(10,
                      {{1, "1900"},
                       {2, "ABT 1850"},
                       {3, ""},
                       {4, "BET 1850 AND 1860"},
                       {5, "junk"},
                       {6, "1 JAN 1900"}},
                      kSortDate);
    iterator.SortBy(&dates, true);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{3, 5, 2, 4, 1, 6}));
    // Ages.
    TableAttrib ages(19, {{1, "52"}, {2, "~52"}, {3, ""}, {4, "51"}, {5, "[~3]"}, {6, "~52?"}},
                     kSortAge);
    iterator.SortBy(&ages, true);
    const std::vector<int32_t> order = ViewOrder(iterator);
    EXPECT_EQ(order[0], 3);
    EXPECT_EQ(order[1], 5);
    EXPECT_EQ(order[2], 4);
    EXPECT_EQ(order[3], 1);
    EXPECT_EQ(order[4], 2);
    EXPECT_EQ(order[5], 6);
}

// A number attribute: FloatValue from a table.
class NumberAttrib : public WAttrib {
  public:
    explicit NumberAttrib(std::map<int32_t, double> values)
        : WAttrib(nullptr, 63, kSortNumber), m_values(std::move(values)) {}
    std::string ValueText(int32_t, int) override { return {}; }
    double FloatValue(int32_t n) override { return m_values[n]; }

  private:
    std::map<int32_t, double> m_values;
};

TEST(WColSortIteratorTest, SortsByNumbers) {
    People p;
    WColSortIterator iterator("", &p.tree);
    NumberAttrib numbers({{1, 1.5}, {2, -2.0}, {3, 0.25}, {4, 1.0 / 3}, {5, 9e9}, {6, 0.0}});
    iterator.SortBy(&numbers, true);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{2, 6, 3, 4, 1, 5}));
}

TEST(WColSortIteratorTest, SortDefaultSortsOnceByTheKindsAttribute) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SortDefault(7);
    EXPECT_EQ(iterator.SortAttributeCode(), 7);
    // Àdler, Brown, Smalley, Smith Adam, Smith John, Young.
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{6, 2, 3, 4, 1, 5}));
    iterator.SortDefault(1);  // already sorted: nothing
    EXPECT_EQ(iterator.SortAttributeCode(), 7);
    WColSortIterator other("", &p.tree);
    other.SortDefault(3);  // not a default kind
    EXPECT_EQ(other.SortAttributeCode(), 0);
    EXPECT_FALSE(other.IsSorted());
}

TEST(WColSortIteratorTest, SortDefaultLeavesPrefixesOutMeanwhile) {
    People p;
    p.tree.Person(5).name->prefix = "Aaa";
    WColSortIterator iterator("", &p.tree);
    const bool preSuf = Display().preSuf;
    Display().preSuf = true;
    iterator.SortDefault(6);
    EXPECT_TRUE(Display().preSuf);  // restored
    Display().preSuf = preSuf;
    // Adam, Ann, Carl (prefix left out), Émile, John, Zoe.
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{4, 2, 5, 6, 1, 3}));
}

TEST(WColSortIteratorTest, FindByNameFindsTheFirstMatchingSurname) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SortDefault(7);
    // Àdler, Brown, Smalley, Smith Adam, Smith John, Young.
    EXPECT_EQ(iterator.FindByName("SM", ""), 3);
    EXPECT_EQ(iterator.FindByName("smith", ""), 4);
    EXPECT_EQ(iterator.FindByName("SMITH", "J"), 5);
    EXPECT_EQ(iterator.NumberAt(iterator.FindByName("Smith", "Adam")), 4);
}

TEST(WColSortIteratorTest, FindByNameWithoutMatchAnswersWhereTheNameWouldStand) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SortDefault(7);
    EXPECT_EQ(iterator.FindByName("C", ""), 3);  // between Brown and Smalley
    EXPECT_EQ(iterator.FindByName("SN", ""), 6);
    EXPECT_EQ(iterator.FindByName("ZZ", ""), 6);  // after every name: the last position
    WColSortIterator empty("", nullptr);
    EXPECT_EQ(empty.FindByName("SM", ""), 0);
}

TEST(WColSortIteratorTest, FindStepsBackToTheFirstOfManyMatches) {
    FakeCollection tree;
    for (int i = 0; i < 40; ++i) tree.AddPerson("G" + std::to_string(100 + i), "Smith", 'M');
    tree.AddPerson("A", "Adams", 'M');
    WColSortIterator iterator("", &tree);
    iterator.SortDefault(7);
    EXPECT_EQ(iterator.FindByName("Smith", ""), 2);
    EXPECT_EQ(iterator.FindByName("S", ""), 2);
}

TEST(WColSortIteratorTest, FindInADescendingViewAnswersViewPositions) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SortDefault(7);
    iterator.SetAscending(false);
    // Young, Smith John, Smith Adam, Smalley, Brown, Àdler: the first Smith shown is John.
    const int position = iterator.FindByName("Smith", "");
    EXPECT_EQ(position, 2);
    EXPECT_EQ(iterator.NumberAt(position), 1);
}

TEST(WColSortIteratorTest, FindByFullNameAndRefNumber) {
    People p;
    WColSortIterator byFullName("", &p.tree);
    byFullName.SortDefault(6);
    EXPECT_EQ(byFullName.NumberAt(byFullName.FindByFullName("carl")), 5);
    WColSortIterator byRefn("", &p.tree);
    byRefn.SortDefault(48);
    // Four empty REFNs first, then.
    EXPECT_EQ(byRefn.NumberAt(byRefn.FindByRefNumber("R-2")), 4);
    EXPECT_EQ(byRefn.FindByRefNumber("R-"), 5);
}

TEST(WColSortIteratorTest, PositionOfInADescendingView) {
    People p;
    WColSortIterator iterator("", &p.tree);
    iterator.SetAscending(false);
    EXPECT_EQ(iterator.PositionOf(6), 1);
    EXPECT_EQ(iterator.PositionOf(1), 6);
    EXPECT_EQ(iterator.PositionOf(7), 0);
}

TEST(WColSortIteratorTest, SortIsNotReenteredFromTheEventPump) {
    FakeCollection tree;
    for (int i = 0; i < 120; ++i) tree.AddPerson("P", "S" + std::to_string(i % 7), 'U');
    WColSortIterator iterator("", &tree);
    auto first = CreateAttrib(4, &tree);
    auto second = CreateAttrib(5, &tree);
    int pumps = 0;
    Hooks().pumpEvents = [&] {
        ++pumps;
        iterator.SortBy(second.get(), true);  // ignored while the first sort runs
    };
    iterator.SortBy(first.get(), true);
    Hooks().pumpEvents = nullptr;
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(iterator.SortAttributeCode(), 4);
    EXPECT_TRUE(iterator.IsSorted());
}

TEST(WColHLIteratorTest, KeepsTheMarkedIndividualsOfTheView) {
    People p;
    WColHLIterator iterator(
        "", [](int32_t n) { return n % 2 == 0; }, &p.tree);
    EXPECT_TRUE(iterator.IsBuilt());
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{2, 4, 6}));
    iterator.SortDefault(7);
    EXPECT_EQ(ViewOrder(iterator), (std::vector<int32_t>{6, 2, 4}));
    WColHLIterator none("", nullptr, &p.tree);
    EXPECT_EQ(none.Count(), 0);
}

TEST(WColHLIteratorTest, PumpsEventsEvery250Individuals) {
    FakeCollection tree;
    for (int i = 0; i < 1000; ++i) tree.AddUnnamedPerson();
    int pumps = 0;
    Hooks().pumpEvents = [&] { ++pumps; };
    WColHLIterator iterator(
        "", [](int32_t) { return true; }, &tree);
    Hooks().pumpEvents = nullptr;
    EXPECT_EQ(pumps, 4);
    EXPECT_EQ(iterator.Count(), 1000);
}

TEST(CompareKeyRecordsTest, TiesOfEveryCompareFunction) {
    People p;
    WColSortIterator iterator("", &p.tree);
    const int32_t zero = 0, one = 1, two = 2, three = 3;
    // Integer: 0 whenever an individual number is 0; no overflow on extreme keys.
    class Extremes : public WAttrib {
      public:
        Extremes() : WAttrib(nullptr, 24, kSortInteger) {}
        std::string ValueText(int32_t, int) override { return {}; }
        int32_t IntValue(int32_t n) override {
            return n == 1 ? std::numeric_limits<int32_t>::min()
                          : (n == 2 ? std::numeric_limits<int32_t>::max() : 7);
        }
    } extremes;
    iterator.SortBy(&extremes, true);
    void* keys = const_cast<WAttribKeyArray*>(iterator.KeyArray());
    EXPECT_LT(CompareKeyRecords(&one, &two, keys), 0);
    EXPECT_GT(CompareKeyRecords(&two, &one, keys), 0);
    EXPECT_EQ(CompareKeyRecords(&zero, &two, keys), 0);
    EXPECT_EQ(CompareKeyRecords(&three, &three, keys), 0);
    // Text: equal keys 0, a prefix first; individual 0 has the empty key.
    TableAttrib text(4, {{1, "ab"}, {2, "abc"}, {3, "AB"}});
    iterator.SortBy(&text, true);
    keys = const_cast<WAttribKeyArray*>(iterator.KeyArray());
    EXPECT_EQ(CompareKeyRecords(&one, &three, keys), 0);
    EXPECT_LT(CompareKeyRecords(&one, &two, keys), 0);
    EXPECT_LT(CompareKeyRecords(&zero, &one, keys), 0);
    // Dates: two empty keys equal; empty before set.
    TableAttrib dates(10, {{1, ""}, {2, "1900"}}, kSortDate);
    iterator.SortBy(&dates, true);
    keys = const_cast<WAttribKeyArray*>(iterator.KeyArray());
    EXPECT_EQ(CompareKeyRecords(&one, &three, keys), 0);
    EXPECT_LT(CompareKeyRecords(&one, &two, keys), 0);
    // Ages: 0 whenever an individual number is 0.
    TableAttrib ages(19, {{1, ""}, {2, "52"}}, kSortAge);
    iterator.SortBy(&ages, true);
    keys = const_cast<WAttribKeyArray*>(iterator.KeyArray());
    EXPECT_EQ(CompareKeyRecords(&zero, &two, keys), 0);
    EXPECT_LT(CompareKeyRecords(&one, &two, keys), 0);
    // Numbers: 0 whenever an individual number is 0, else the sign.
    NumberAttrib numbers({{1, 2.5}, {2, 2.5}, {3, -1.0}});
    iterator.SortBy(&numbers, true);
    keys = const_cast<WAttribKeyArray*>(iterator.KeyArray());
    EXPECT_EQ(CompareKeyRecords(&one, &two, keys), 0);
    EXPECT_GT(CompareKeyRecords(&one, &three, keys), 0);
    EXPECT_EQ(CompareKeyRecords(&zero, &three, keys), 0);
    EXPECT_EQ(CompareKeyRecords(nullptr, &three, keys), 0);
}

TEST(WAttribKeyArrayTest, FillComputesOneKeyPerIndividualOfTheIterator) {
    People p;
    p.tree.SetViewRestriction(std::make_unique<ListRestriction>(std::vector<int32_t>{3, 1}));
    WColSortIterator iterator("", &p.tree);
    TableAttrib attribute(4, {{1, "b"}, {3, "a"}});
    iterator.SortBy(&attribute, true);
    ASSERT_NE(iterator.KeyArray(), nullptr);
    EXPECT_EQ(iterator.KeyArray()->FilledCount(), 2);
    EXPECT_EQ(iterator.KeyArray()->KeyCount(), 6);
    const auto* keys = dynamic_cast<const WAttribStrArray*>(iterator.KeyArray());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->Key(1), "B");
    EXPECT_EQ(keys->Key(2), "");  // not in the view: never computed
    EXPECT_EQ(keys->Key(99), "");
    EXPECT_EQ(attribute.calls, 2);
}

TEST(WAttribKeyArrayTest, FillReportsProgressUnderTheSortingMessage) {
    People p;
    WColSortIterator iterator("", &p.tree);
    std::vector<std::string> labels;
    Hooks().progress = [&](const std::string& label, long long, long long) {
        labels.push_back(label);
    };
    auto attribute = CreateAttrib(4, &p.tree);
    iterator.SortBy(attribute.get(), true);
    Hooks().progress = nullptr;
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Sorting.  Please Wait...");
}

}  // namespace
}  // namespace kindrel

namespace kindrel {
namespace {

// Sets the cancel flag from the event pump once the sort has asked for events n times.
struct CancelAfterPumps {
    explicit CancelAfterPumps(int n) {
        Hooks().pumpEvents = [this, n] {
            if (++pumps >= n) SetCancelRequested(true);
        };
    }
    ~CancelAfterPumps() {
        Hooks().pumpEvents = {};
        SetCancelRequested(false);
    }
    int pumps = 0;
};

TEST(WColSortIteratorTest, ACancelledSortRestoresOrderAttributeAndDirection) {
    FakeCollection tree;
    std::map<int32_t, std::string> names, years;
    for (int32_t n = 1; n <= 400; ++n) {
        tree.AddPerson("P" + std::to_string(n), "S", 'M');
        names[n] = std::string(1, char('z' - n % 26)) + std::to_string(n);
        years[n] = std::to_string(2000 - n);
    }
    WColSortIterator iterator("", &tree);
    TableAttrib byName(7, names);
    iterator.SortBy(&byName, true);
    iterator.SortBy(&byName, true);  // descending
    ASSERT_FALSE(iterator.LastSortCancelled());
    std::vector<int32_t> before;
    for (int i = 1; i <= iterator.Count(); ++i) before.push_back(iterator.NumberAt(i));
    const WAttribKeyArray* keys = iterator.KeyArray();

    TableAttrib byYear(65, years);
    {
        CancelAfterPumps cancel(2);
        iterator.SortBy(&byYear, true);
        EXPECT_GE(cancel.pumps, 2);
    }
    EXPECT_TRUE(iterator.LastSortCancelled());
    EXPECT_EQ(iterator.SortAttributeCode(), 7);
    EXPECT_FALSE(iterator.IsAscending());
    EXPECT_TRUE(iterator.IsSorted());
    EXPECT_EQ(iterator.KeyArray(), keys);
    std::vector<int32_t> after;
    for (int i = 1; i <= iterator.Count(); ++i) after.push_back(iterator.NumberAt(i));
    EXPECT_EQ(after, before);
    // The same attribute again only flips, as before the cancelled sort.
    iterator.SortBy(&byName, true);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(iterator.NumberAt(1), before.back());
    // ForgetSort makes the next SortBy sort afresh (ascending).
    iterator.ForgetSort();
    EXPECT_EQ(iterator.SortAttributeCode(), 0);
    iterator.SortBy(&byName, true);
    EXPECT_TRUE(iterator.IsAscending());
    EXPECT_EQ(iterator.NumberAt(1), before.back());
}

}  // namespace
}  // namespace kindrel
