// The family group and pedigree values behind the Family and Pedigree pages, read from the
// sample family and from tests/data/views/family.ged (a father of forty, a family without a
// wife, a child without given names and with two families, LDS marks, a "<b>" name).
#include "app/family_group.h"
#include "app/pedigree_tree.h"
#include "gedcom/ged_collection.h"
#include "model/display_options.h"

#include "tests/gedcom/ged_test_util.h"

#include <gtest/gtest.h>

#include <memory>

namespace kindrel {
namespace {

std::unique_ptr<WGEDCollection> Open(const std::string& file) {
    Display() = DisplayOptions{};
    return test::OpenLoadedCollection(file);
}

std::string Sample() {
    return std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
}

std::string Fixture() {
    return std::string(KINDREL_TEST_DATA_DIR) + "/views/family.ged";
}

// A collection with a family that cannot be read.
class BrokenFamilyCollection : public WGEDCollection {
  public:
    BrokenFamilyCollection(const std::string& file) : WGEDCollection(file) {}
    // From now on family `family` cannot be read (the load itself reads every family).
    void Break(int32_t family) { m_broken = family; }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t n) override {
        return n == m_broken ? nullptr : WGEDCollection::GetMarriage(n);
    }

  private:
    int32_t m_broken = 0;
};

TEST(FamilyGroup, SampleWilliamThroughHisThreeFamilies) {
    const auto sample = Open(Sample());
    ASSERT_TRUE(sample);
    struct Expected {
        int k;
        int32_t spouse;
        const char* marriage;
        std::vector<int32_t> children;
    };
    // Families by marriage date (F3 1843, F5 1856, F4 undated), children by birth; k outside
    // 1..3 wraps to 1.
    const Expected table[] = {
        {1, 8, "3 APR 1843, Millbrook, Wendle, England", {12, 13}},
        {2, 10, "9 SEP 1856, Millbrook, Wendle, England", {16, 15, 17}},
        {3, 9, "Bremen, Germany", {14}},
        {4, 8, "3 APR 1843, Millbrook, Wendle, England", {12, 13}},
        {0, 8, "3 APR 1843, Millbrook, Wendle, England", {12, 13}},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.k);
        const FamilyGroup group = BuildFamilyGroup(*sample, 4, e.k);
        EXPECT_EQ(group.familyCount, 3);
        EXPECT_EQ(group.familyIndex, e.k >= 1 && e.k <= 3 ? e.k : 1);
        EXPECT_EQ(group.subjectFather, 1);
        EXPECT_EQ(group.subjectMother, 2);
        EXPECT_EQ(group.spouse, e.spouse);
        EXPECT_EQ(group.spouseFather, 0);
        EXPECT_EQ(group.marriageText, e.marriage);
        std::vector<int32_t> children;
        for (const FamilyChildRow& row : group.children) children.push_back(row.child);
        EXPECT_EQ(children, e.children);
    }
    // Clara (I12): two families of her own, the first (F6, 1863) with a spouse and children.
    const FamilyGroup first = BuildFamilyGroup(*sample, 4, 1);
    const FamilyChildRow& clara = first.children[0];
    EXPECT_EQ(clara.plus, "+");
    EXPECT_EQ(clara.sex, "F");
    EXPECT_EQ(clara.birth, "5 AUG 1844");
    EXPECT_EQ(clara.spouse, 20);
    EXPECT_EQ(clara.spouseText, "(1 of 2) " + sample->DisplayNameOf(20));
    EXPECT_EQ(clara.name, sample->DisplayNameOf(12));
    // Frederick: no family, a death date the parser does not read is shown as written.
    const FamilyGroup second = BuildFamilyGroup(*sample, 4, 2);
    const FamilyChildRow& frederick = second.children[2];
    EXPECT_EQ(frederick.plus, "");
    EXPECT_EQ(frederick.spouse, 0);
    EXPECT_EQ(frederick.spouseText, "");
    EXPECT_EQ(frederick.death, "DURING THE GREAT FROST");
}

TEST(FamilyGroup, EveryChildAndAFamilyWithoutWife) {
    const auto fixture = Open(Fixture());
    ASSERT_TRUE(fixture);
    // P1's families by date: F2 (1898, no wife) first, then F1 (no date).
    const FamilyGroup forty = BuildFamilyGroup(*fixture, 1, 2);
    ASSERT_EQ(forty.children.size(), 40u);  // no cap on the rows
    EXPECT_EQ(forty.children.front().child, 3);
    EXPECT_EQ(forty.children.back().child, 42);
    EXPECT_EQ(forty.children.back().name, "Child40 /Parent/ [40]");
    EXPECT_EQ(forty.marriageText, "Nowhere Chapel");
    EXPECT_EQ(fixture->DisplayNameOf(forty.spouse), "<b>Bold /Name/ [1]");
    EXPECT_EQ(ChildrenHeaderText(forty.children.size()), "Children (40)");

    const FamilyGroup alone = BuildFamilyGroup(*fixture, 1, 1);
    EXPECT_EQ(alone.spouse, 0);
    EXPECT_EQ(alone.marriageText, "1898");
    ASSERT_EQ(alone.children.size(), 1u);
    EXPECT_EQ(alone.children[0].plus, "+");
    EXPECT_EQ(alone.children[0].spouseText, "(1 of 2) Sue /Spouse/ [1]");
    EXPECT_EQ(FamilyIndexText(2, 2), "(2 of 2)");

    // Someone without families, and numbers that are nobody.
    EXPECT_EQ(BuildFamilyGroup(*fixture, 45, 1).familyIndex, 0);
    EXPECT_TRUE(BuildFamilyGroup(*fixture, 45, 1).children.empty());
    EXPECT_EQ(BuildFamilyGroup(*fixture, 0, 1).subject, 0);
    EXPECT_EQ(BuildFamilyGroup(*fixture, 4000, 1).subject, 0);
}

TEST(FamilyGroup, UnreadableFamilyIsReportedWithItsNumber) {
    Display() = DisplayOptions{};
    BrokenFamilyCollection broken(Fixture());
    ASSERT_TRUE(broken.LoadFile());
    broken.AfterLoad();
    broken.Break(3);
    // F3 is K1's first family: the subject's own family and a child's row both raise.
    EXPECT_THROW(
        {
            try {
                BuildFamilyGroup(broken, 43, 1);
            } catch (const EMarriageError& e) {
                EXPECT_STREQ(e.what(), "Error getting pointer to Marriage 3");
                throw;
            }
        },
        EMarriageError);
    EXPECT_THROW(BuildFamilyGroup(broken, 1, 1), EMarriageError);
    EXPECT_THROW(ChildItems(broken, 43, 3, false), EMarriageError);
    EXPECT_NO_THROW(BuildFamilyGroup(broken, 1, 2));
}

TEST(Pedigree, SlotsInAncestorNumbering) {
    const auto sample = Open(Sample());
    ASSERT_TRUE(sample);
    const PedigreeSlots ruth = BuildPedigreeSlots(*sample, 45);
    const std::vector<std::pair<int, int32_t>> filled = {
        {1, 45}, {2, 41}, {3, 35}, {6, 25}, {7, 31}, {12, 20}, {13, 12}, {26, 4}, {27, 8}};
    PedigreeSlots expected{};
    for (const auto& [slot, n] : filled) expected[static_cast<size_t>(slot)] = n;
    EXPECT_EQ(ruth, expected);
    PedigreeSlots alone{};
    alone[1] = 59;
    EXPECT_EQ(BuildPedigreeSlots(*sample, 59), alone);
    EXPECT_EQ(BuildPedigreeSlots(*sample, 0), PedigreeSlots{});
    EXPECT_EQ(PedigreeGeneration(1), 0);
    EXPECT_EQ(PedigreeGeneration(3), 1);
    EXPECT_EQ(PedigreeGeneration(15), 3);
    EXPECT_EQ(PedigreeGeneration(16), 4);
    EXPECT_EQ(PedigreeGeneration(31), 4);
}

TEST(Pedigree, SiblingAndChildItems) {
    const auto fixture = Open(Fixture());
    ASSERT_TRUE(fixture);
    // Child1's 39 siblings; Child2 is "about" 1902, Child3 has two LDS ordinances.
    const std::vector<PedigreeListItem> siblings = SiblingItems(*fixture, 3, true);
    ASSERT_EQ(siblings.size(), 39u);
    EXPECT_EQ(SiblingsCaption(siblings.size()), "Siblings (39)");
    EXPECT_EQ(siblings[0].individual, 4);
    EXPECT_EQ(siblings[0].Text(), "  c1902 Child2 ----");
    EXPECT_EQ(siblings[1].lds, "BE--");
    EXPECT_EQ(SiblingItems(*fixture, 3, false)[1].Text(), "  1903 Child3");
    // P1's family without wife (F2): the child without given names, who has children ("+"), born
    // before 1899.
    const std::vector<PedigreeListItem> children = ChildItems(*fixture, 1, 2, false);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].Text(), "+ b1899 <No Given Name>");
    // Nobody is their own child or sibling; no family gives no items.
    EXPECT_TRUE(SiblingItems(*fixture, 1, false).empty());
    EXPECT_TRUE(ChildItems(*fixture, 45, 0, false).empty());
    EXPECT_EQ(LdsMarks(*fixture, 5), "BE--");
    EXPECT_EQ(LdsMarks(*fixture, 0), "----");
}

}  // namespace
}  // namespace kindrel
