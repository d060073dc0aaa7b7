// Event rules: dates of the vital events (39 to 42) with BEF, AFT, ABT and plain comparisons,
// and the LDS rules (31 to 35, 79 to 90).
#include "containers/errors.h"
#include "fake_collection.h"
#include "hl_test_util.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using hltest::Described;
using hltest::ExpectRule;
using hltest::Marked;
using hltest::Numbers;

// Births: 1 1844, 2 1845, 3 1850, 4 ABT 1850, 5 1854, 6 1855, 7 an unreadable phrase, 8 none,
// 9 12 JUN 1850.
class BirthDateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* births[] = {
            "1844", "1845", "1850", "ABT 1850", "1854", "1855", "during the great frost"};
        for (const char* birth : births) tree.SetBirth(tree.AddPerson("P", "DATE", 'U'), birth);
        tree.AddPerson("No", "BIRTH", 'U');
        tree.SetBirth(tree.AddPerson("June", "DATE", 'F'), "12 JUN 1850");
    }
    FakeCollection tree;
};

TEST_F(BirthDateTest, AboutMarksFiveYearsEitherSide) {
    // Plain birth years 1845 to 1854 (and the approximate 1850 itself), not 1844 or 1855.
    ExpectRule(tree, 39, "ABT 1850", {2, 3, 4, 5, 9}, "with birth date ABT 1850",
               "with not birth date ABT 1850");
}

TEST_F(BirthDateTest, PlainDateMustBeEqual) {
    // An event dated ABT 1850 does not equal the parameter 1850.
    ExpectRule(tree, 39, "1850", {3}, "with birth date = 1850", "with not birth date = 1850");
    ExpectRule(tree, 39, "12 jun 1850", {9}, "with birth date = 12 JUN 1850",
               "with not birth date = 12 JUN 1850");
}

TEST_F(BirthDateTest, BeforeAndAfter) {
    // The parameter keeps its qualifier: BEF 1850 sorts before ABT 1850 and the plain 1850,
    // so neither is before it; 12 JUN 1850 sorts after the year alone. Unreadable dates are
    // neither before nor after anything.
    ExpectRule(tree, 39, "BEF 1850", {1, 2}, "with birth date BEF 1850",
               "with not birth date BEF 1850");
    ExpectRule(tree, 39, "AFT 1850", {5, 6, 9}, "with birth date AFT 1850",
               "with not birth date AFT 1850");
}

TEST_F(BirthDateTest, UnreadableParameterIsAnError) {
    for (const char* text : {"+39:", "+39:xyz", "+39:BEF", "+39:ABT soon"}) {
        SCOPED_TRACE(text);
        WHLGroup group(&tree);
        group.SetConditions(text);
        EXPECT_THROW(group.Recalculate(), KindrelError);
        EXPECT_FALSE(group.IsHighlighted(3));
        EXPECT_FALSE(group.IsHighlighted(7));
    }
}

TEST(DateRulesTest, ChristeningDeathAndBurial) {
    FakeCollection tree;
    for (int i = 1; i <= 3; ++i) tree.AddPerson("P", "DATE", 'U');
    tree.SetChristening(1, "1800");
    tree.SetDeath(1, "1870");
    tree.SetBurial(1, "1871");
    tree.SetChristening(2, "1810");
    tree.SetDeath(2, "1880");
    tree.SetBurial(2, "1880");
    ExpectRule(tree, 40, "BEF 1805", {1}, "with christening date BEF 1805",
               "with not christening date BEF 1805");
    ExpectRule(tree, 41, "AFT 1875", {2}, "with death date AFT 1875",
               "with not death date AFT 1875");
    ExpectRule(tree, 42, "1871", {1}, "with burial date = 1871", "with not burial date = 1871");
}

// 1 baptism with a clean date and temple; 2 endowment with a date, no temple; 3 sealing to
// parents with the status "BIC" as its date and a temple; 4 and 5 a couple sealed; 6 none.
class LdsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 6; ++i) tree.AddPerson("P" + std::to_string(i), "LDS", 'U');
        tree.SetLDSEvent(1, kEventLdsBaptism, "1 JAN 1900", "LOGAN", true);
        tree.SetLDSEvent(2, kEventLdsEndowment, "1901", std::nullopt, false);
        tree.SetLDSEvent(3, kEventLdsSealingToParents, "BIC", "SLAKE", true);
        const int32_t family = tree.AddFamily(4, 5);
        fake::FakeEvent sealing;
        sealing.kind = kEventLdsSealingToSpouse;
        sealing.date = "12 OCT 1888";
        sealing.place = "LOGAN";
        sealing.hasTemple = true;
        tree.Family(family).sealing = sealing;
    }
    FakeCollection tree;
};

TEST_F(LdsTest, HasOrdinances) {
    ExpectRule(tree, 31, "", {1}, "with LDS Baptism", "without LDS Baptism");
    ExpectRule(tree, 32, "", {2}, "with LDS Endowment", "without LDS Endowment");
    ExpectRule(tree, 33, "", {3}, "with LDS Sealed to Parents", "without LDS Sealed to Parents");
    ExpectRule(tree, 34, "", {4, 5}, "with LDS Sealed to Spouse", "without LDS Sealed to Spouse");
    ExpectRule(tree, 35, "", {1, 2, 3, 4, 5}, "Individuals with LDS Events",
               "Individuals without LDS Events");
}

TEST_F(LdsTest, HasOrdinanceDatesAndPlaces) {
    ExpectRule(tree, 79, "", {1}, "with LDS Baptism Date", "without LDS Baptism Date");
    ExpectRule(tree, 80, "", {2}, "with LDS Endowment Date", "without LDS Endowment Date");
    ExpectRule(tree, 81, "", {3}, "with LDS Sealed to Parents Date",
               "without LDS Sealed to Parents Date");
    ExpectRule(tree, 82, "", {4, 5}, "with LDS Sealed to Spouse Date",
               "without LDS Sealed to Spouse Date");
    ExpectRule(tree, 83, "", {1}, "with LDS Baptism Place", "without LDS Baptism Place");
    ExpectRule(tree, 84, "", {}, "with LDS Endowment Place", "without LDS Endowment Place");
    ExpectRule(tree, 85, "", {3}, "with LDS Sealed to Parents Place",
               "without LDS Sealed to Parents Place");
    ExpectRule(tree, 86, "", {4, 5}, "with LDS Sealed to Spouse Place",
               "without LDS Sealed to Spouse Place");
}

TEST_F(LdsTest, OrdinanceDateStatus) {
    // Status 1: a clean date.
    ExpectRule(tree, 87, "1", {1}, "where LDS Baptism date is a date",
               "where LDS Baptism date is not a date");
    ExpectRule(tree, 88, "", {2}, "where LDS Endowment date is a date",
               "where LDS Endowment date is not a date");
    ExpectRule(tree, 89, "1", {}, "where LDS Sealed to Parents date is a date",
               "where LDS Sealed to Parents date is not a date");
    ExpectRule(tree, 90, "1", {4, 5}, "where LDS Sealed to Spouse date is a date",
               "where LDS Sealed to Spouse date is not a date");
    // Status n >= 2: the date's text is word n - 1 of the kind's status list ("BIC" is the
    // fourth word for sealings to parents).
    ExpectRule(tree, 89, "5", {3}, "where LDS Sealed to Parents date is BIC",
               "where LDS Sealed to Parents date is not BIC");
    ExpectRule(tree, 87, "4", {}, "where LDS Baptism date is COMPLETED",
               "where LDS Baptism date is not COMPLETED");
    // A status past the list, or below 1, matches nothing.
    EXPECT_EQ(Marked(tree, "+89:99"), Numbers{});
    EXPECT_EQ(Marked(tree, "+89:0"), Numbers{});
    EXPECT_EQ(Described(tree, "+90:4"), "where LDS Sealed to Spouse date is COMPLETED");
}

}  // namespace
}  // namespace kindrel
