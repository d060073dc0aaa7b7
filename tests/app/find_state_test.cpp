// The tool bar's find over the sorted orders: name split, searches by kind, the Find Next and
// Find Previous walks with their wraps, folded comparisons and the refill text.
#include "app/find_state.h"

#include "analysis/collection_iterator.h"
#include "fake_collection.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

TEST(SplitNameQuery, SplitsAtTheFirstComma) {
    struct Case {
        const char* query;
        const char* surname;
        const char* given;
    };
    for (const Case& c : std::vector<Case>{{"Smith", "Smith", ""},
                                           {" Smith , John ", "Smith", "John"},
                                           {"Smith,", "Smith", ""},
                                           {"Smith, John, Jr", "Smith", "John, Jr"},
                                           {", Ann", "", "Ann"},
                                           {"", "", ""}}) {
        const NameQuery split = SplitNameQuery(c.query);
        EXPECT_EQ(split.surname, c.surname) << c.query;
        EXPECT_EQ(split.givenNames, c.given) << c.query;
    }
}

class FindStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Full names as the find box is typed: "John SMITH".
        Display().nameSlash = false;
        // Surname order: ADAMS Zoe(6), DVOŘÁK Antonín(2), Dvorak Jan(5), SMITH Ann(3),
        // SMITH John(1), SMITH Peter(4).
        tree.AddPerson("John", "SMITH", 'M');
        tree.AddPerson("Anton\xC3\xADn", "Dvo\xC5\x99\xC3\xA1k", 'M');
        tree.AddPerson("Ann", "SMITH", 'F');
        tree.AddPerson("Peter", "SMITH", 'M');
        tree.AddPerson("Jan", "Dvorak", 'M');
        fake::FakePerson odd;
        odd.name = fake::FakeName{"Zoe", "ADAMS", {}, {}, {}, {}};
        odd.id = "P12";
        tree.AddPerson(std::move(odd));
        orders.onSort = [this](bool starting) { sorts += starting ? 1 : 0; };
    }
    std::vector<int32_t> Walk(int steps, bool forward) {
        std::vector<int32_t> seen;
        for (int i = 0; i < steps; ++i) seen.push_back(forward ? find.Next() : find.Previous());
        return seen;
    }

    fake::FakeCollection tree;
    WFindOrders orders{&tree};
    WFindState find{&orders};
    int sorts = 0;
};

TEST_F(FindStateTest, SurnameSearchStepsThroughTheRunAndWraps) {
    find.SetKind(WFindState::kSurname);
    EXPECT_EQ(find.Search("smith"), 3);
    EXPECT_EQ(sorts, 1);
    EXPECT_TRUE(find.CanStep());
    EXPECT_EQ(Walk(4, true), (std::vector<int32_t>{1, 4, 3, 1}));
    // Previous from the first match of a run that reaches the last row: the last row.
    find.Search("Smith");
    EXPECT_EQ(Walk(3, false), (std::vector<int32_t>{4, 1, 3}));
    EXPECT_EQ(find.Search("Smith, J"), 1);
    EXPECT_EQ(Walk(2, true), (std::vector<int32_t>{1, 1}));
    // A query ending in a comma searches the surname alone.
    EXPECT_EQ(find.Search("Smith,"), 3);
    EXPECT_EQ(sorts, 1);  // sorted once
    // The order keeps no sort keys: searches read the records.
    ASSERT_TRUE(orders.IsReady(FindOrder::kSurname));
    EXPECT_EQ(orders.Order(FindOrder::kSurname)->KeyArray(), nullptr);
    EXPECT_TRUE(orders.Order(FindOrder::kSurname)->IsSorted());
}

TEST_F(FindStateTest, AccentsAndCaseAreFoldedInTheWalk) {
    find.SetKind(WFindState::kSurname);
    const int32_t first = find.Search("dvorak");
    ASSERT_TRUE(first == 2 || first == 5);
    const int32_t second = find.Next();
    EXPECT_NE(second, first);
    EXPECT_TRUE(second == 2 || second == 5);
    EXPECT_EQ(find.Next(), first);
}

TEST_F(FindStateTest, GivenNameSearchMatchesTheFullName) {
    find.SetKind(WFindState::kGiven);
    EXPECT_EQ(find.Search("John S"), 1);
    EXPECT_EQ(find.Next(), 1);  // the only match: wraps onto itself
    EXPECT_EQ(find.Search("anton"), 2);
    EXPECT_TRUE(find.RowMatches(find.CurrentRow()));
}

TEST_F(FindStateTest, IndexAndRefStepRowByRow) {
    find.SetKind(WFindState::kIndex);
    EXPECT_EQ(find.Search("5"), 5);
    EXPECT_EQ(Walk(2, true), (std::vector<int32_t>{6, 5}));
    EXPECT_EQ(find.Search("99999999999999999999"), 0);  // above the count, no overflow
    EXPECT_EQ(find.Search("0"), 0);
    EXPECT_EQ(find.Search("4x"), 0);
    EXPECT_EQ(find.Search(""), 0);
    EXPECT_FALSE(find.CanStep());

    find.SetKind(WFindState::kRef);
    EXPECT_EQ(find.Search("3"), 3);  // "I" + text
    EXPECT_EQ(find.Search("p12"), 6);  // as typed, then upper-cased
    EXPECT_EQ(WFindState::FindByRef(tree, "nobody"), 0);
}

TEST_F(FindStateTest, RefillGivesTheKindsTextWithoutSearching) {
    find.SetKind(WFindState::kSurname);
    EXPECT_EQ(find.RefillText(4), "SMITH");
    EXPECT_EQ(sorts, 0);
    EXPECT_TRUE(find.CanStep());
    // Find Next after a refill finds the run, then steps past its first row.
    EXPECT_EQ(find.Next(), 1);
    find.SetKind(WFindState::kGiven);
    EXPECT_EQ(find.RefillText(2), "Anton\xC3\xADn");
    find.SetKind(WFindState::kIndex);
    EXPECT_EQ(find.RefillText(6), "6");
    EXPECT_EQ(find.RefillText(60), "");
    EXPECT_FALSE(find.CanStep());
    // Resetting the orders (a new file) frees them.
    orders.Reset(nullptr);
    EXPECT_EQ(find.Search("1"), 0);
    EXPECT_EQ(find.Next(), 0);
}

TEST(FindStateEmpty, NoIndividualsFindNobody) {
    fake::FakeCollection empty;
    WFindOrders orders(&empty);
    WFindState find(&orders);
    for (int kind = 1; kind <= 4; ++kind) {
        find.SetKind(kind);
        EXPECT_EQ(find.Search("1"), 0);
        EXPECT_EQ(find.Next(), 0);
        EXPECT_EQ(find.Previous(), 0);
    }
}

}  // namespace
}  // namespace kindrel
