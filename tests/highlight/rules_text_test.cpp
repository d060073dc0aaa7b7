// Text matching rules (19, 24 to 30, 43, 59, 91 to 94, 97, 98), the four match modes, and the
// soundex rules (57, 58) with the soundex code itself.
#include "fake_collection.h"
#include "highlight/hl_str.h"
#include "hl_test_util.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using hltest::Described;
using hltest::ExpectRule;
using hltest::Marked;
using hltest::Numbers;

TEST(HLSoundexTest, ClassicExamples) {
    EXPECT_EQ(HLSoundex("Smith"), "S530");
    EXPECT_EQ(HLSoundex("Lloyd"), "L430");
    EXPECT_EQ(HLSoundex("Ashcraft"), "A226");
    EXPECT_EQ(HLSoundex("SMITH"), "S530");
    EXPECT_EQ(HLSoundex("smyth"), "S530");
    // The first letter's group does not suppress the same group right after it.
    EXPECT_EQ(HLSoundex("Schmidt"), "S253");
    EXPECT_EQ(HLSoundex("Tymczak"), "T522");
    EXPECT_EQ(HLSoundex("Pfister"), "P123");  // the first letter's group does not suppress
    EXPECT_EQ(HLSoundex("Lee"), "L000");
    EXPECT_EQ(HLSoundex("A"), "A000");
    EXPECT_EQ(HLSoundex(""), "");
}

TEST(HLSoundexTest, OtherCharactersKeepTheCurrentGroup) {
    // The hyphen leaves the group of the "m" current, so the second "m" adds nothing.
    EXPECT_EQ(HLSoundex("Am-mon"), "A550");
    EXPECT_EQ(HLSoundex("Am-mon"), HLSoundex("Ammon"));
    EXPECT_EQ(HLSoundex("O'Brien"), "O165");
    EXPECT_EQ(HLSoundex("1abc"), "1120");  // a first character that is no letter is copied
    EXPECT_EQ(HLSoundex("\xC3\x89mile"),
              "\xC3"
              "540");  // bytes of UTF-8 are no letters
}

// 1 a note on the individual, 2 a note on the name, 3 on the birth, 4 on an other event, 5 on
// the burial, 6 an unrelated note, 7 nothing.
TEST(TextRulesTest, TextInNotesLooksAtEveryNote) {
    FakeCollection tree;
    for (int i = 1; i <= 7; ++i) tree.AddPerson("P", "HILL", 'M');
    tree.SetNote(1, {"Farmer of Ashcombe", "and miller"});
    tree.Person(2).name->note = fake::NoteLines{"ashcombe born"};
    tree.SetBirth(3, "1800").note = fake::NoteLines{"Born at sea"};
    tree.AddOtherEvent(4, "Residence", "1830").note = fake::NoteLines{"Moved to ASHCOMBE"};
    tree.SetBurial(5, "1850").note = fake::NoteLines{"near Ashcombe church"};
    tree.SetNote(6, {"Salem"});
    ExpectRule(tree, 19, "1ashcombe", {1, 2, 4, 5}, "with note containing \"ASHCOMBE\"",
               "with note not containing \"ASHCOMBE\"");
    ExpectRule(tree, 19, "2born at sea", {3}, "with note equal to \"BORN AT SEA\"",
               "with note not equal to \"BORN AT SEA\"");
    // Lines of a note are joined by CR LF before matching.
    EXPECT_EQ(Marked(tree, "+19:4ASHCOMBE\r\nAND MILLER"), (Numbers{1}));
}

// 1 MacDonald, 2 MACKAY, 3 McDonald, 4 Mack (given names "Mary Ann"), 5 no name.
class NameMatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.AddPerson("Peter", "MacDonald", 'M');
        tree.AddPerson("Mary", "MACKAY", 'F');
        tree.AddPerson("Hugh", "McDonald", 'M');
        tree.AddPerson("Mary Ann", "Mack", 'F');
        tree.AddUnnamedPerson();
    }
    FakeCollection tree;
};

TEST_F(NameMatchTest, SurnameModes) {
    ExpectRule(tree, 29, "3mac", {1, 2, 4}, "with surname begining with \"MAC\"",
               "with surname not begining with \"MAC\"");
    ExpectRule(tree, 29, "1cdon", {1, 3}, "with surname containing \"CDON\"",
               "with surname not containing \"CDON\"");
    ExpectRule(tree, 29, "2mackay", {2}, "with surname equal to \"MACKAY\"",
               "with surname not equal to \"MACKAY\"");
    ExpectRule(tree, 29, "4donald", {1, 3}, "with surname ending with \"DONALD\"",
               "with surname not ending with \"DONALD\"");
    // Another mode digit matches nothing and has no mode words.
    ExpectRule(tree, 29, "7mac", {}, "with surname\"MAC\"", "with surname not\"MAC\"");
    // A search text longer than the candidate does not end it.
    EXPECT_EQ(Marked(tree, "+29:4xmackay"), Numbers{});
    // An empty search text answers false for everybody.
    EXPECT_EQ(Marked(tree, "+29:1"), Numbers{});
    EXPECT_EQ(Marked(tree, "+29"), Numbers{});
    // A parameter typed without a mode digit is all search text, contained.
    EXPECT_EQ(Marked(tree, "+29:mack"), (Numbers{2, 4}));
}

TEST_F(NameMatchTest, GivenNames) {
    ExpectRule(tree, 30, "1mary", {2, 4}, "with name containing \"MARY\"",
               "with name not containing \"MARY\"");
    ExpectRule(tree, 30, "2mary", {2}, "with name equal to \"MARY\"",
               "with name not equal to \"MARY\"");
}

TEST(TextRulesTest, SoundexTextAndCodeMarkTheSameIndividuals) {
    FakeCollection tree;
    tree.AddPerson("Mary Ellen", "Smith", 'F');
    tree.AddPerson("John", "Smyth", 'M');
    tree.AddPerson("Elena", "Smidt", 'F');
    tree.AddPerson("Ellen", "Smithers", 'F');
    tree.AddPerson("", "", 'U');
    ExpectRule(tree, 57, "1Smith", {1, 2, 3}, "with surname soundex text = \"SMITH\" (S530)",
               "with surname soundex text = \"SMITH\" (S530)");
    ExpectRule(tree, 57, "2S530", {1, 2, 3}, "with surname soundex code = \"S530\"",
               "with surname soundex code = \"S530\"");
    EXPECT_EQ(Marked(tree, "+57:2s530"), (Numbers{1, 2, 3}));
    // Given names: any blank-separated piece.
    ExpectRule(tree, 58, "1ellen", {1, 3, 4}, "with given name soundex text = \"ELLEN\" (E450)",
               "with given name soundex text = \"ELLEN\" (E450)");
    ExpectRule(tree, 58, "2E450", {1, 3, 4}, "with given name soundex code = \"E450\"",
               "with given name soundex code = \"E450\"");
    // Other modes have no key and mark nobody; so does an empty text.
    EXPECT_EQ(Marked(tree, "+57:3Smith"), Numbers{});
    EXPECT_EQ(Described(tree, "+57:3Smith"), "with surname soundex");
    EXPECT_EQ(Marked(tree, "+57:1"), Numbers{});
    EXPECT_EQ(Marked(tree, "+58:1"), Numbers{});
}

// Places of each event kind, the marriage place, and the identifier fields.
TEST(TextRulesTest, PlaceRules) {
    FakeCollection tree;
    for (int i = 1; i <= 4; ++i) tree.AddPerson("P", "HILL", 'M');
    tree.SetBirth(1, "1800", "Ashcombe");
    tree.SetChristening(1, "1800", "Millbrook");
    tree.SetDeath(1, "1870", "Ashcombe Hall");
    tree.SetBurial(1, "1870", "Salem");
    tree.SetBirth(2, "1810", "Salem");
    tree.AddOtherEvent(3, "Residence", "1850", "Salem Town");
    tree.SetBirth(4, "1820");
    ExpectRule(tree, 24, "1ashcombe", {1}, "with birth place containing \"ASHCOMBE\"",
               "with birth place not containing \"ASHCOMBE\"");
    ExpectRule(tree, 24, "2salem", {2}, "with birth place equal to \"SALEM\"",
               "with birth place not equal to \"SALEM\"");
    ExpectRule(tree, 25, "1mill", {1}, "with christening place containing \"MILL\"",
               "with christening place not containing \"MILL\"");
    ExpectRule(tree, 26, "3ash", {1}, "with death place begining with \"ASH\"",
               "with death place not begining with \"ASH\"");
    ExpectRule(tree, 27, "4lem", {1}, "with burial place ending with \"LEM\"",
               "with burial place not ending with \"LEM\"");
    ExpectRule(tree, 28, "3salem", {1, 2, 3}, "with place begining with \"SALEM\"",
               "with place not begining with \"SALEM\"");
}

TEST(TextRulesTest, MarriagePlaceMarksBothSpouses) {
    FakeCollection tree;
    for (int i = 1; i <= 6; ++i) tree.AddPerson("P", "HILL", i % 2 ? 'M' : 'F');
    tree.AddFamily(1, 2, {}, "1850", "Salem");
    tree.AddFamily(3, 4, {}, "1860", "Boston");
    tree.AddFamily(5, 0, {}, "1870", "Salem Town");
    tree.AddFamily(3, 6, {}, "1875", "New Salem");
    ExpectRule(tree, 43, "1salem", {1, 2, 3, 5, 6}, "with marriage place containing \"SALEM\"",
               "with marriage place not containing \"SALEM\"");
    // Asked about the wife first, the husband is marked through her.
    WHLGroup group(&tree);
    group.SetConditions("+43:2salem");
    group.Recalculate();
    EXPECT_TRUE(group.IsHighlighted(2));
    EXPECT_EQ(group.Rule(0)->State(1), kHLTrue);
}

TEST(TextRulesTest, IdentifierAndTempleRules) {
    FakeCollection tree;
    for (int i = 1; i <= 4; ++i) tree.AddPerson("P", "HILL", 'M');
    tree.Person(1).refn = "H-001";
    tree.Person(2).refn = "H-002";
    tree.Person(3).afn = "1J7Q-KX3";
    tree.SetLDSEvent(1, kEventLdsBaptism, "1900", "LOGAN", true);
    tree.SetLDSEvent(2, kEventLdsEndowment, "1901", "SLAKE", true);
    tree.SetLDSEvent(3, kEventLdsSealingToParents, "1902", "Logan Temple", false);
    const int32_t family = tree.AddFamily(4, 1);
    fake::FakeEvent sealing;
    sealing.kind = kEventLdsSealingToSpouse;
    sealing.date = "1903";
    sealing.place = "LOGAN";
    tree.Family(family).sealing = sealing;
    ExpectRule(tree, 59, "3h-00", {1, 2}, "with custom ID begining with \"H-00\"",
               "with custom ID not begining with \"H-00\"");
    ExpectRule(tree, 97, "2 1j7q-kx3", {}, "with AFN equal to \" 1J7Q-KX3\"",
               "with AFN not equal to \" 1J7Q-KX3\"");
    ExpectRule(tree, 97, "21j7q-kx3", {3}, "with AFN equal to \"1J7Q-KX3\"",
               "with AFN not equal to \"1J7Q-KX3\"");
    ExpectRule(tree, 98, "2I2", {2}, "with Reference ID equal to \"I2\"",
               "with Reference ID not equal to \"I2\"");
    ExpectRule(tree, 91, "1logan", {1}, "with LDS Baptism place containing \"LOGAN\"",
               "with LDS Baptism place not containing \"LOGAN\"");
    ExpectRule(tree, 92, "2slake", {2}, "with LDS Endowment place equal to \"SLAKE\"",
               "with LDS Endowment place not equal to \"SLAKE\"");
    // The temple is not required: a place without the temple mark still matches.
    ExpectRule(tree, 93, "1logan", {3}, "with LDS Sealed to Parents place containing \"LOGAN\"",
               "with LDS Sealed to Parents place not containing \"LOGAN\"");
    ExpectRule(tree, 94, "1logan", {1, 4}, "with LDS Sealed to Spouse place containing \"LOGAN\"",
               "with LDS Sealed to Spouse place not containing \"LOGAN\"");
}

}  // namespace
}  // namespace kindrel
