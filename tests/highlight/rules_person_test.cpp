// Rules about one individual's own data: missing dates and places (2 to 12), names (13, 14),
// parents (15, 16), sex (17), notes and ages (18, 52), AFN (20), living (65), sources (66 to
// 71, 99) and notes (72 to 77, 100). Each checks the plain and the negated form on a small
// hand-made family whose answers are known.
#include "fake_collection.h"
#include "hl_test_util.h"
#include "model/date.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using fake::FakeEvent;
using hltest::ExpectRule;
using hltest::Marked;
using hltest::Numbers;

// 1: every vital event with date and place, married in family 1 (dated, with a place).
// 2: nothing at all. 3: every vital event without date or place, in family 2 (undated, no
// place, no spouse). 4: birth date only, spouse of 1. 5: a christening place only.
class MissingDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        full = tree.AddPerson("Ambrose", "HILL", 'M');
        tree.SetBirth(full, "12 JAN 1800", "Ashcombe");
        tree.SetChristening(full, "20 JAN 1800", "St Mary");
        tree.SetDeath(full, "3 MAR 1870", "Millbrook");
        tree.SetBurial(full, "6 MAR 1870", "Millbrook Churchyard");
        nothing = tree.AddPerson("Mercy", "QUILL", 'F');
        empty = tree.AddPerson("Josiah", "HILL", 'M');
        for (const int kind : {kEventBirth, kEventChristening, kEventDeath, kEventBurial}) {
            tree.SetEvent(empty, kind, std::nullopt, std::nullopt);
        }
        birthOnly = tree.AddPerson("Sarah", "WEST", 'F');
        tree.SetBirth(birthOnly, "1805");
        chrPlace = tree.AddPerson("Hannah", "HILL", 'F');
        tree.SetChristening(chrPlace, std::nullopt, "Chapel");
        tree.AddFamily(full, birthOnly, {}, "1 JUN 1825", "Salem");
        tree.AddFamily(empty, 0, {});
    }

    FakeCollection tree;
    int32_t full = 0, nothing = 0, empty = 0, birthOnly = 0, chrPlace = 0;
};

TEST_F(MissingDataTest, NoDateRules) {
    ExpectRule(tree, 2, "", {nothing, empty, chrPlace}, "with no birth date", "with birth date");
    ExpectRule(tree, 4, "", {nothing, empty, birthOnly, chrPlace}, "with no christening date",
               "with christening date");
    ExpectRule(tree, 6, "", {nothing, empty, birthOnly, chrPlace}, "with no death date",
               "with death date");
    ExpectRule(tree, 8, "", {nothing, empty, birthOnly, chrPlace}, "with no burial date",
               "with burial date");
    ExpectRule(tree, 10, "", {nothing, empty, chrPlace}, "with no marriage date",
               "with marriage date");
}

TEST_F(MissingDataTest, NoPlaceRules) {
    ExpectRule(tree, 3, "", {nothing, empty, birthOnly, chrPlace}, "without a birth place",
               "with a birth place");
    ExpectRule(tree, 5, "", {nothing, empty, birthOnly}, "without a christening place",
               "with a christening place");
    ExpectRule(tree, 7, "", {nothing, empty, birthOnly, chrPlace}, "without a death place",
               "with a death place");
    ExpectRule(tree, 9, "", {nothing, empty, birthOnly, chrPlace}, "without a burial place",
               "with a burial place");
    ExpectRule(tree, 11, "", {nothing, empty, chrPlace}, "without a marriage place",
               "with a marriage place");
    ExpectRule(tree, 12, "", {nothing, empty, birthOnly}, "without a place", "with a place");
}

TEST_F(MissingDataTest, RulesIgnoreTheirParameter) {
    EXPECT_EQ(Marked(tree, "+2:whatever"), Marked(tree, "+2"));
    EXPECT_EQ(Marked(tree, "+12:1^2"), Marked(tree, "+12"));
}

// 1 John SMITH (M), 2 Ann with no surname (F), 3 no name record (U), 4 a surname without
// given names (F); family 1: 1 and 2 with child 5; family 2: no father, mother 2, child 6;
// family 3: father 1, no mother, child 7.
class NamesAndParentsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        john = tree.AddPerson("John", "SMITH", 'M');
        ann = tree.AddPerson("Ann", "", 'F');
        unnamed = tree.AddUnnamedPerson('U');
        jones = tree.AddPerson("", "JONES", 'F');
        both = tree.AddPerson("Tom", "SMITH", 'M');
        motherOnly = tree.AddPerson("Eve", "SMITH", 'F');
        fatherOnly = tree.AddPerson("Cain", "SMITH", 'M');
        tree.AddFamily(john, ann, {both});
        tree.AddFamily(0, ann, {motherOnly});
        tree.AddFamily(john, 0, {fatherOnly});
    }

    FakeCollection tree;
    int32_t john = 0, ann = 0, unnamed = 0, jones = 0, both = 0, motherOnly = 0, fatherOnly = 0;
};

TEST_F(NamesAndParentsTest, NoSurnameAndNoGivenName) {
    ExpectRule(tree, 13, "", {ann, unnamed}, "without a surname", "with a surname");
    ExpectRule(tree, 14, "", {unnamed, jones}, "without a given name", "with a given name");
}

TEST_F(NamesAndParentsTest, SurnameRulesDoNotDependOnHowSurnamesAreShown) {
    DisplayOptions& display = Display();
    const DisplayOptions saved = display;
    for (const bool slash : {true, false}) {
        for (const bool upper : {true, false}) {
            display.nameSlash = slash;
            display.nameUpper = upper;
            EXPECT_EQ(Marked(tree, "+13"), (Numbers{ann, unnamed}));
            EXPECT_EQ(Marked(tree, "+29:2smith"), (Numbers{john, both, motherOnly, fatherOnly}));
        }
    }
    display = saved;
}

TEST_F(NamesAndParentsTest, NoFatherAndNoMother) {
    ExpectRule(tree, 15, "", {john, ann, unnamed, jones, motherOnly}, "without a father",
               "with a father");
    ExpectRule(tree, 16, "", {john, ann, unnamed, jones, fatherOnly}, "without a mother",
               "with a mother");
}

TEST_F(NamesAndParentsTest, SexType) {
    ExpectRule(tree, 17, "F", {ann, jones, motherOnly}, "female", "not female");
    ExpectRule(tree, 17, "M", {john, both, fatherOnly}, "male", "not male");
    ExpectRule(tree, 17, "U", {unnamed}, "with unknown sex type", "with known sex type");
    // An empty parameter means male; only the first character counts.
    EXPECT_EQ(Marked(tree, "+17"), Marked(tree, "+17:M"));
    EXPECT_EQ(Marked(tree, "+17:Female"), Marked(tree, "+17:F"));
    // Negated "F" marks the "M" and "U" individuals.
    EXPECT_EQ(Marked(tree, "-17:F"), (Numbers{john, unnamed, both, fatherOnly}));
    // Any other letter marks nobody (and its negation everybody).
    EXPECT_EQ(Marked(tree, "+17:f"), Numbers{});
    EXPECT_EQ(Marked(tree, "+17:X"), Numbers{});
    EXPECT_EQ(Marked(tree, "-17:X").size(), 7u);
}

// Notes, AFN, ages, living, sources and notes on each record in turn.
class PersonFactsTest : public ::testing::Test {
  protected:
    static fake::FakeCitation Citation() { return fake::FakeCitation{"p. 1", {}, {}}; }

    void SetUp() override {
        WDate::SetTodayProvider([] { return WCalendarDay{1, 6, 2025}; });
        for (int i = 1; i <= 9; ++i) tree.AddPerson("Person" + std::to_string(i), "HILL", 'M');
    }
    void TearDown() override { WDate::SetTodayProvider(nullptr); }

    FakeCollection tree;
};

TEST_F(PersonFactsTest, AnyNoteAndAge) {
    tree.SetNote(1, {"Farmer"});
    tree.SetBirth(2, "1900", "Salem").note = fake::NoteLines{"born at sea"};
    const int32_t family = tree.AddFamily(3, 4);
    tree.Family(family).note = fake::NoteLines{"married in haste"};
    ExpectRule(tree, 18, "", {1, 2, 3, 4}, "with notes", "without notes");
    // Ages: 2 born 1900, living, so 125 today; 5 lived 50 years; 6 lived 30; 7 has no birth.
    tree.SetBirth(5, "1900");
    tree.SetDeath(5, "1950");
    tree.SetBirth(6, "1 JAN 1990");
    tree.SetDeath(6, "2 JAN 2020");
    tree.SetDeath(7, "1950");
    ExpectRule(tree, 52, "", {5, 6}, "with an age (limit = 110)", "without an age (limit = 110)");
    ExpectRule(tree, 52, "40", {6}, "with an age (limit = 40)", "without an age (limit = 40)");
    ExpectRule(tree, 52, "126", {2, 5, 6}, "with an age (limit = 126)",
               "without an age (limit = 126)");
    EXPECT_EQ(Marked(tree, "+52:many"), Marked(tree, "+52:110"));
}

TEST_F(PersonFactsTest, AfnAndIsAlive) {
    tree.Person(3).afn = "1J7Q-KX3";
    ExpectRule(tree, 20, "", {3}, "with AFN", "without AFN");
    tree.SetBirth(1, "1990");  // alive, 35
    tree.SetBirth(2, "1800");  // no death, but 225: not alive
    tree.SetBirth(3, "1900");  // died
    tree.SetDeath(3, "1950");
    tree.SetDeath(4, "1950");      // no birth
    tree.SetBirth(5, "ABT 1930");  // alive, 95 (an approximate birth still counts)
    ExpectRule(tree, 65, "", {1, 5}, "are alive (Age limit = 110)",
               "are not alive (Age limit = 110)");
    ExpectRule(tree, 65, "90", {1}, "are alive (Age limit = 90)", "are not alive (Age limit = 90)");
    EXPECT_EQ(Marked(tree, "+65:old"), Marked(tree, "+65:110"));
}

TEST_F(PersonFactsTest, SourcesOnEachRecord) {
    tree.AddCitation(1, "p. 12");
    tree.Person(2).name->citations.push_back(Citation());
    tree.SetBirth(3, "1900").citations.push_back(Citation());
    tree.SetChristening(4, "1900").citations.push_back(Citation());
    tree.SetDeath(5, "1950").citations.push_back(Citation());
    tree.SetBurial(6, "1950").citations.push_back(Citation());
    const int32_t family = tree.AddFamily(7, 8);
    tree.Family(family).citations.push_back(Citation());
    ExpectRule(tree, 66, "", {1, 2, 3, 4, 5, 6, 7, 8}, "with a source", "without a source");
    ExpectRule(tree, 67, "", {2}, "with name source", "without name source");
    ExpectRule(tree, 68, "", {3}, "with birth source", "without birth source");
    ExpectRule(tree, 69, "", {4}, "with christening source", "without christening source");
    ExpectRule(tree, 70, "", {5}, "with death source", "without death source");
    ExpectRule(tree, 71, "", {6}, "with burial source", "without burial source");
    ExpectRule(tree, 99, "", {7, 8}, "with marriage source", "without marriage source");
}

TEST_F(PersonFactsTest, NotesOnEachRecord) {
    tree.Person(1).name->note = fake::NoteLines{"called Ned"};
    tree.SetBirth(2, "1900").note = fake::NoteLines{"at home"};
    tree.SetChristening(3, "1900").note = fake::NoteLines{"late"};
    tree.SetDeath(4, "1950").note = fake::NoteLines{"of fever"};
    tree.SetBurial(5, "1950").note = fake::NoteLines{"in the rain"};
    tree.SetNote(6, {"Farmer"});
    const int32_t family = tree.AddFamily(7, 8);
    tree.Family(family).note = fake::NoteLines{"eloped"};
    tree.AddOtherEvent(9, "Occupation", "1920").note = fake::NoteLines{"miller"};
    ExpectRule(tree, 72, "", {1}, "with name note", "without name note");
    ExpectRule(tree, 73, "", {2}, "with birth note", "without birth note");
    ExpectRule(tree, 74, "", {3}, "with christening note", "without christening note");
    ExpectRule(tree, 75, "", {4}, "with death note", "without death note");
    ExpectRule(tree, 76, "", {5}, "with burial note", "without burial note");
    ExpectRule(tree, 77, "", {1, 2, 3, 4, 5, 6, 7, 8, 9}, "with any note", "without any note");
    ExpectRule(tree, 100, "", {7, 8}, "with marriage note", "without marriage note");
    // Codes 18 and 77 ask the same question.
    EXPECT_EQ(Marked(tree, "+18"), Marked(tree, "+77"));
}

}  // namespace
}  // namespace kindrel
