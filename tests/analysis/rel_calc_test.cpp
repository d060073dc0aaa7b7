// The relationship calculator: every kinship text up to fourth cousins thrice removed on
// built trees, the search's tie-break rules, loops and bad numbers.
#include "analysis/rel_calc.h"
#include "fake_collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;

// The texts of the kinship table for reference-side count a (rows) and other-side count b
// (columns). "{M|F|U}" stands for the word chosen by the other individual's sex.
const char* const kExpected[9][9] = {
    {"* Selected Person *", "{Son|Daughter|Son or Daughter}",
     "Grand {Son|Daughter|Son or Daughter}", "G Grand {Son|Daughter|Son or Daughter}",
     "GG Grand {Son|Daughter|Son or Daughter}", "GGG Grand {Son|Daughter|Son or Daughter}",
     "4G Grand {Son|Daughter|Son or Daughter}", "5G Grand {Son|Daughter|Son or Daughter}",
     "6G Grand {Son|Daughter|Son or Daughter}"},
    {"{Father|Mother|Parent}", "{Brother|Sister|Brother or Sister}",
     "{Nephew|Neice|Nephew or Neice}", "Grand {Nephew|Neice|Nephew or Neice}",
     "G Grand {Nephew|Neice|Nephew or Neice}", "GG Grand {Nephew|Neice|Nephew or Neice}",
     "GGG Grand {Nephew|Neice|Nephew or Neice}", "4G Grand {Nephew|Neice|Nephew or Neice}",
     "5G Grand {Nephew|Neice|Nephew or Neice}"},
    {"Grand {Father|Mother|Parent}", "{Uncle|Aunt|Uncle or Aunt}", "1st Cousin", "1C1R", "1C2R",
     "1C3R", "1C4R", "1C5R", "1C6R"},
    {"G Grand {Father|Mother|Parent}", "Great {Uncle|Aunt|Uncle or Aunt}", "1C1R", "2C", "2C1R",
     "2C2R", "2C3R", "2C4R", "2C5R"},
    {"GG Grand {Father|Mother|Parent}", "G Great {Uncle|Aunt|Uncle or Aunt}", "1C2R", "2C1R", "3C",
     "3C1R", "3C2R", "3C3R", "3C4R"},
    {"GGG Grand {Father|Mother|Parent}", "GG Great {Uncle|Aunt|Uncle or Aunt}", "1C3R", "2C2R",
     "3C1R", "4C", "4C1R", "4C2R", "4C3R"},
    {"4G Grand {Father|Mother|Parent}", "GGG Great {Uncle|Aunt|Uncle or Aunt}", "1C4R", "2C3R",
     "3C2R", "4C1R", "5C", "5C1R", "5C2R"},
    {"5G Grand {Father|Mother|Parent}", "4G Great {Uncle|Aunt|Uncle or Aunt}", "1C5R", "2C4R",
     "3C3R", "4C2R", "5C1R", "6C", "6C1R"},
    {"6G Grand {Father|Mother|Parent}", "5G Great {Uncle|Aunt|Uncle or Aunt}", "1C6R", "2C5R",
     "3C4R", "4C3R", "5C2R", "6C1R", "7C"},
};

// Expands "{M|F|U}" for a sex letter ('M' first word, 'F' second, else third).
std::string Expand(const std::string& pattern, char sex) {
    const size_t open = pattern.find('{');
    if (open == std::string::npos) return pattern;
    const size_t close = pattern.find('}', open);
    std::vector<std::string> words;
    size_t start = open + 1;
    for (size_t bar; (bar = pattern.find('|', start)) < close; start = bar + 1) {
        words.push_back(pattern.substr(start, bar - start));
    }
    words.push_back(pattern.substr(start, close - start));
    const std::string& word = sex == 'M' ? words[0] : sex == 'F' ? words[1] : words[2];
    return pattern.substr(0, open) + word + pattern.substr(close + 1);
}

// A person with a name of its own.
int32_t Person(FakeCollection& tree, char sex) {
    const int32_t n = tree.AddPerson("P" + std::to_string(tree.IndividualCount() + 1), "Line", sex);
    return n;
}

// Adds a line of `length` generations below family `top`: the first person a child of top,
// each further one the only child of the previous (as husband). The last person gets
// lastSex. Answers the last person.
int32_t Descend(FakeCollection& tree, int32_t top, int length, char lastSex) {
    int32_t person = Person(tree, length == 1 ? lastSex : 'M');
    tree.AddChild(top, person);
    for (int k = 2; k <= length; ++k) {
        const int32_t child = Person(tree, k == length ? lastSex : 'M');
        tree.AddFamily(person, 0, {child});
        person = child;
    }
    return person;
}

// A tree where reference and other meet at a couple: reference a generations below the
// husband, other b generations below (a or b 0: the husband himself).
struct Pair {
    int32_t ancestor;
    int32_t reference;
    int32_t other;
};

Pair BuildPair(FakeCollection& tree, int a, int b, char otherSex) {
    const int32_t ancestor = tree.AddPerson("Adam", "Root", b == 0 ? otherSex : 'M');
    const int32_t wife = tree.AddPerson("Eve", "Root", 'F');
    const int32_t family = tree.AddFamily(ancestor, wife);
    const int32_t reference = a == 0 ? ancestor : Descend(tree, family, a, 'M');
    const int32_t other = b == 0 ? ancestor : Descend(tree, family, b, otherSex);
    return {ancestor, reference, other};
}

TEST(RelCalcTest, EveryDistanceUpToFourthCousinsThriceRemoved) {
    for (const char sex : {'M', 'F', 'U'}) {
        FakeCollection tree;
        std::vector<std::vector<Pair>> pairs(9);
        for (int a = 0; a <= 8; ++a) {
            for (int b = 0; b <= 8; ++b) pairs[size_t(a)].push_back(BuildPair(tree, a, b, sex));
        }
        WRelCalc calc(&tree);
        for (int a = 0; a <= 8; ++a) {
            for (int b = 0; b <= 8; ++b) {
                const Pair& pair = pairs[size_t(a)][size_t(b)];
                SCOPED_TRACE("a=" + std::to_string(a) + " b=" + std::to_string(b) + " sex=" + sex);
                EXPECT_EQ(calc.Relationship(pair.reference, pair.other),
                          Expand(kExpected[a][b], sex));
                EXPECT_EQ(calc.CommonAncestor(), pair.ancestor);
                EXPECT_EQ(calc.ReferenceCount(), a);
                EXPECT_EQ(calc.OtherCount(), b);
                const std::string name = calc.CommonAncestorName(pair.reference, pair.other, true);
                if (a == 0 || b == 0) {
                    EXPECT_EQ(name, "");
                } else {
                    EXPECT_EQ(name, tree.DisplayNameOf(pair.ancestor));
                    EXPECT_NE(name, "");
                }
            }
        }
    }
}

TEST(RelCalcTest, RelationNameMatchesTheTableDirectly) {
    WRelCalc calc(nullptr);
    for (int a = 0; a <= 8; ++a) {
        for (int b = 0; b <= 8; ++b) {
            for (const char sex : {'M', 'F', 'U', 'm', 'x'}) {
                EXPECT_EQ(calc.RelationName(a, b, sex), Expand(kExpected[a][b], sex));
            }
        }
    }
    EXPECT_EQ(calc.RelationName(-1, 2, 'M'), "Not Related");
    EXPECT_EQ(calc.RelationName(2, -1, 'M'), "Not Related");
    EXPECT_EQ(calc.RelationName(14, 0, 'M'), "12G Grand Father");
    EXPECT_EQ(calc.RelationName(0, 14, 'F'), "12G Grand Daughter");
    EXPECT_EQ(calc.RelationName(2, 12, 'F'), "1C10R");
}

TEST(RelCalcTest, GenerationPrefixAndCousinCode) {
    EXPECT_EQ(WRelCalc::GenerationPrefix(0), "");
    EXPECT_EQ(WRelCalc::GenerationPrefix(1), "G");
    EXPECT_EQ(WRelCalc::GenerationPrefix(2), "GG");
    EXPECT_EQ(WRelCalc::GenerationPrefix(3), "GGG");
    EXPECT_EQ(WRelCalc::GenerationPrefix(4), "4G");
    EXPECT_EQ(WRelCalc::GenerationPrefix(12), "12G");
    EXPECT_EQ(WRelCalc::CousinCode(3, 2), "1C1R");
    EXPECT_EQ(WRelCalc::CousinCode(3, 3), "2C");
    EXPECT_EQ(WRelCalc::CousinCode(4, 2), "1C2R");
    EXPECT_EQ(WRelCalc::CousinCode(3, 5), "2C2R");
    EXPECT_EQ(WRelCalc::CousinCode(5, 5), "4C");
}

// A three-generation family used by the edge cases:
//   grandpa + grandma -> father, uncle;  father + mother -> me, sister;  uncle -> cousin;
//   cousin -> cousinChild;  sister -> niece -> grandNiece;  greatGrandma is grandma's mother.
struct Family {
    FakeCollection tree;
    int32_t greatGrandpa, greatGrandma, greatUncle, greatUncleSon, grandpa, grandma, father, mother,
        uncle, me, sister, cousin, cousinChild, niece, grandNiece, child, wife, stranger;

    Family() {
        greatGrandpa = tree.AddPerson("Old", "Smith", 'M');
        greatGrandma = tree.AddPerson("Olga", "Smith", 'F');
        grandpa = tree.AddPerson("Gus", "Smith", 'M');
        grandma = tree.AddPerson("Gina", "Smith", 'F');
        greatUncle = tree.AddPerson("Gerd", "Smith", 'M');
        tree.AddFamily(greatGrandpa, greatGrandma, {grandma, greatUncle});
        greatUncleSon = tree.AddPerson("Gerald", "Smith", 'M');
        tree.AddFamily(greatUncle, 0, {greatUncleSon});
        father = tree.AddPerson("Fred", "Smith", 'M');
        uncle = tree.AddPerson("Ulf", "Smith", 'M');
        tree.AddFamily(grandpa, grandma, {father, uncle});
        mother = tree.AddPerson("Mia", "Jones", 'F');
        me = tree.AddPerson("Me", "Smith", 'M');
        sister = tree.AddPerson("Sue", "Smith", 'F');
        tree.AddFamily(father, mother, {me, sister});
        cousin = tree.AddPerson("Carl", "Smith", 'M');
        tree.AddFamily(uncle, 0, {cousin});
        cousinChild = tree.AddPerson("Cora", "Smith", 'F');
        tree.AddFamily(cousin, 0, {cousinChild});
        niece = tree.AddPerson("Nina", "Brown", 'F');
        tree.AddFamily(0, sister, {niece});
        grandNiece = tree.AddPerson("Nell", "Brown", 'F');
        tree.AddFamily(0, niece, {grandNiece});
        wife = tree.AddPerson("Wanda", "White", 'F');
        child = tree.AddPerson("Kim", "Smith", 'U');
        tree.AddFamily(me, wife, {child});
        stranger = tree.AddPerson("Stan", "Other", 'M');
    }
};

TEST(RelCalcTest, EdgeCasesOfTheKinshipTable) {
    Family f;
    WRelCalc calc(&f.tree);
    EXPECT_EQ(calc.Relationship(f.me, f.me), "* Selected Person *");
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.me, true), "");
    EXPECT_EQ(calc.Relationship(f.me, f.father), "Father");
    EXPECT_EQ(calc.Relationship(f.me, f.mother), "Mother");
    EXPECT_EQ(calc.Relationship(f.me, f.greatGrandma), "G Grand Mother");
    EXPECT_EQ(calc.Relationship(f.me, f.child), "Son or Daughter");
    EXPECT_EQ(calc.Relationship(f.me, f.sister), "Sister");
    EXPECT_EQ(calc.Relationship(f.me, f.niece), "Neice");
    EXPECT_EQ(calc.Relationship(f.me, f.grandNiece), "Grand Neice");
    EXPECT_EQ(calc.Relationship(f.me, f.uncle), "Uncle");
    EXPECT_EQ(calc.Relationship(f.me, f.greatUncle), "Great Uncle");
    EXPECT_EQ(calc.Relationship(f.child, f.greatUncle), "G Great Uncle");
    EXPECT_EQ(calc.Relationship(f.me, f.cousin), "1st Cousin");
    // A parent's first cousin and a first cousin's child are both 1C1R.
    EXPECT_EQ(calc.Relationship(f.me, f.greatUncleSon), "1C1R");
    EXPECT_EQ(calc.ReferenceCount(), 3);
    EXPECT_EQ(calc.OtherCount(), 2);
    EXPECT_EQ(calc.Relationship(f.me, f.cousinChild), "1C1R");
    EXPECT_EQ(calc.ReferenceCount(), 2);
    EXPECT_EQ(calc.OtherCount(), 3);
    EXPECT_EQ(calc.Relationship(f.child, f.cousinChild), "2C");
    // Seen from the other side.
    EXPECT_EQ(calc.Relationship(f.grandNiece, f.me), "Great Uncle");
    EXPECT_EQ(calc.Relationship(f.greatGrandma, f.me), "G Grand Son");
}

TEST(RelCalcTest, NoBloodLinkGivesEmptyText) {
    Family f;
    WRelCalc calc(&f.tree);
    EXPECT_EQ(calc.Relationship(f.me, f.wife), "");
    EXPECT_EQ(calc.CommonAncestor(), 0);
    EXPECT_EQ(calc.ReferenceCount(), 65535);
    EXPECT_EQ(calc.OtherCount(), 65535);
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.wife, true), "");
    EXPECT_EQ(calc.Relationship(f.me, f.stranger), "");
    EXPECT_EQ(calc.Relationship(f.mother, f.father), "");
}

TEST(RelCalcTest, CommonAncestorNameForms) {
    Family f;
    WRelCalc calc(&f.tree);
    ASSERT_EQ(calc.Relationship(f.me, f.cousin), "1st Cousin");
    EXPECT_EQ(calc.CommonAncestor(), f.grandpa);
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.cousin, true), f.tree.DisplayNameOf(f.grandpa));
    // The surname-first form carries no slashes, like the list's surname-first columns.
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.cousin, false), "Smith, Gus");
    EXPECT_NE(calc.CommonAncestorName(f.me, f.cousin, false).find("Gus"), std::string::npos);
    // Direct lines name no third person.
    calc.Relationship(f.me, f.grandpa);
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.grandpa, true), "");
    calc.Relationship(f.grandpa, f.me);
    EXPECT_EQ(calc.CommonAncestorName(f.grandpa, f.me, true), "");
    // Only the pair of the last query has a name.
    calc.Relationship(f.me, f.cousin);
    EXPECT_EQ(calc.CommonAncestorName(f.me, f.uncle, true), "");
}

TEST(RelCalcTest, PedigreeCollapseCountsTheNearestRouteOfTheReference) {
    // The reference's father is the ancestor's grandson, its mother the ancestor's daughter.
    FakeCollection tree;
    const int32_t ancestor = tree.AddPerson("Ancestor", "X", 'M');
    const int32_t son = tree.AddPerson("Son", "X", 'M');
    const int32_t daughter = tree.AddPerson("Daughter", "X", 'F');
    tree.AddFamily(ancestor, 0, {son, daughter});
    const int32_t grandson = tree.AddPerson("Grandson", "X", 'M');
    tree.AddFamily(son, 0, {grandson});
    const int32_t reference = tree.AddPerson("Ref", "X", 'M');
    tree.AddFamily(grandson, daughter, {reference});
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(reference, ancestor), "Grand Father");
    EXPECT_EQ(calc.ReferenceCount(), 2);
}

TEST(RelCalcTest, OtherSideCountFollowsTheFirstPathFound) {
    // The other individual reaches the reference's grandfather first through its father's
    // line (3 generations), later through its mother (2): the first path counts.
    FakeCollection tree;
    const int32_t grandpa = tree.AddPerson("Grandpa", "X", 'M');
    const int32_t refParent = tree.AddPerson("Parent", "X", 'M');
    const int32_t mother = tree.AddPerson("Mother", "X", 'F');
    const int32_t fatherOfFather = tree.AddPerson("FF", "X", 'M');
    tree.AddFamily(grandpa, 0, {refParent, fatherOfFather, mother});
    const int32_t reference = tree.AddPerson("Ref", "X", 'M');
    tree.AddFamily(refParent, 0, {reference});
    const int32_t father = tree.AddPerson("Father", "X", 'M');
    tree.AddFamily(fatherOfFather, 0, {father});
    const int32_t other = tree.AddPerson("Other", "X", 'F');
    tree.AddFamily(father, mother, {other});
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(reference, other), "1C1R");
    EXPECT_EQ(calc.CommonAncestor(), grandpa);
    EXPECT_EQ(calc.ReferenceCount(), 2);
    EXPECT_EQ(calc.OtherCount(), 3);
}

TEST(RelCalcTest, NearestToTheReferenceWinsAndFathersLineFirstAmongEquals) {
    // Other's father descends from the reference's great-grandfather, other's mother from
    // the reference's grandmother: the grandmother is nearer to the reference and wins.
    FakeCollection tree;
    const int32_t ggf = tree.AddPerson("GGF", "X", 'M');
    const int32_t gf = tree.AddPerson("GF", "X", 'M');
    const int32_t gm = tree.AddPerson("GM", "X", 'F');
    const int32_t side = tree.AddPerson("Side", "X", 'M');
    tree.AddFamily(ggf, 0, {gf, side});
    const int32_t parent = tree.AddPerson("Parent", "X", 'M');
    const int32_t aunt = tree.AddPerson("Aunt", "X", 'F');
    tree.AddFamily(gf, gm, {parent});
    tree.AddFamily(0, gm, {aunt});
    const int32_t reference = tree.AddPerson("Ref", "X", 'M');
    tree.AddFamily(parent, 0, {reference});
    const int32_t father = tree.AddPerson("Father", "X", 'M');
    tree.AddFamily(side, 0, {father});
    const int32_t other = tree.AddPerson("Other", "X", 'M');
    tree.AddFamily(father, aunt, {other});
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(reference, other), "1st Cousin");
    EXPECT_EQ(calc.CommonAncestor(), gm);

    // Both parents of the other descend from one couple at equal distance: the husband of
    // the couple is reached first through the father's line.
    FakeCollection couple;
    const int32_t husband = couple.AddPerson("H", "Y", 'M');
    const int32_t wife = couple.AddPerson("W", "Y", 'F');
    const int32_t a = couple.AddPerson("A", "Y", 'M');
    const int32_t b = couple.AddPerson("B", "Y", 'F');
    couple.AddFamily(husband, wife, {a, b});
    const int32_t ref = couple.AddPerson("R", "Y", 'M');
    couple.AddFamily(a, 0, {ref});
    const int32_t oth = couple.AddPerson("O", "Y", 'F');
    couple.AddFamily(0, b, {oth});
    WRelCalc calc2(&couple);
    EXPECT_EQ(calc2.Relationship(ref, oth), "1st Cousin");
    EXPECT_EQ(calc2.CommonAncestor(), husband);
}

TEST(RelCalcTest, OwnAncestorLoopsEnd) {
    // a -> b -> c, and a is also recorded as c's child.
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "Loop", 'M');
    const int32_t b = tree.AddPerson("B", "Loop", 'M');
    const int32_t c = tree.AddPerson("C", "Loop", 'M');
    tree.AddFamily(a, 0, {b});
    tree.AddFamily(b, 0, {c});
    tree.AddFamily(c, 0, {a});
    const int32_t stranger = tree.AddPerson("S", "None", 'M');
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(c, a), "Grand Father");
    EXPECT_EQ(calc.Relationship(c, b), "Father");
    EXPECT_EQ(calc.Relationship(a, c), "Father");
    EXPECT_EQ(calc.Relationship(c, stranger), "");
    EXPECT_EQ(calc.Relationship(stranger, c), "");
    // A person recorded as its own parent.
    FakeCollection self;
    const int32_t x = self.AddPerson("X", "Self", 'F');
    self.AddFamily(0, x, {x});
    WRelCalc selfCalc(&self);
    EXPECT_EQ(selfCalc.Relationship(x, x), "* Selected Person *");
}

TEST(RelCalcTest, NumbersOutOfRangeAndMissingCollection) {
    Family f;
    WRelCalc calc(&f.tree);
    const int32_t count = f.tree.IndividualCount();
    EXPECT_EQ(calc.Relationship(0, f.me), "");
    EXPECT_EQ(calc.Relationship(f.me, 0), "");
    EXPECT_EQ(calc.Relationship(-3, f.me), "");
    EXPECT_EQ(calc.Relationship(f.me, count + 1), "");
    EXPECT_EQ(calc.Relationship(count + 1, f.me), "");
    EXPECT_EQ(calc.CommonAncestorName(count + 1, f.me, true), "");
    // Still answers after the bad queries.
    EXPECT_EQ(calc.Relationship(f.me, f.cousin), "1st Cousin");

    WRelCalc none(nullptr);
    EXPECT_EQ(none.Relationship(1, 2), "");
    EXPECT_EQ(none.CommonAncestorName(1, 2, true), "");
}

TEST(RelCalcTest, FamiliesWithoutMembersAndMissingFamiliesAreSkipped) {
    FakeCollection tree;
    const int32_t parent = tree.AddPerson("P", "Z", 'M');
    const int32_t child = tree.AddPerson("C", "Z", 'F');
    const int32_t sibling = tree.AddPerson("S", "Z", 'M');
    tree.AddFamily(0, 0, {child});  // a family without partners
    tree.AddFamily(parent, 0, {child, sibling});
    tree.Person(child).parentFamilies.push_back(99);  // no such family
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(child, sibling), "Brother");
    EXPECT_EQ(calc.Relationship(sibling, child), "Sister");
    EXPECT_EQ(calc.Relationship(child, parent), "Father");
}

TEST(RelCalcTest, ReferenceAncestorsAreWalkedOncePerReference) {
    FakeCollection tree;
    int32_t top = tree.AddPerson("T0", "Chain", 'M');
    for (int k = 1; k <= 10; ++k) {
        const int32_t next = tree.AddPerson("T" + std::to_string(k), "Chain", 'M');
        tree.AddFamily(top, 0, {next});
        top = next;
    }
    const int32_t reference = top;
    const int32_t loner1 = tree.AddPerson("L1", "Alone", 'M');
    const int32_t loner2 = tree.AddPerson("L2", "Alone", 'M');
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(reference, loner1), "");
    const int64_t before = tree.individualRequests;
    EXPECT_EQ(calc.Relationship(reference, loner2), "");
    EXPECT_EQ(tree.individualRequests - before, 1);  // only the other individual is read
    EXPECT_EQ(calc.Relationship(reference, 1), "8G Grand Father");
    // Another reference and back again give the same answers.
    EXPECT_EQ(calc.Relationship(1, reference), "8G Grand Son");
    EXPECT_EQ(calc.Relationship(reference, 1), "8G Grand Father");
    EXPECT_EQ(calc.Relationship(reference, 2), "7G Grand Father");
}

TEST(RelCalcTest, AncestorsMoreThan65535GenerationsAwayAreFound) {
    // 65535 marks "no common ancestor yet"; it must not hide a longer line.
    FakeCollection tree;
    int32_t person = tree.AddPerson("G0", "Line", 'M');
    constexpr int kGenerations = 65600;
    for (int g = 1; g <= kGenerations; ++g) {
        const int32_t child = tree.AddPerson("G", "Line", 'F');
        tree.AddFamily(person, 0, {child});
        person = child;
    }
    WRelCalc calc(&tree);
    EXPECT_EQ(calc.Relationship(person, 1), "65598G Grand Father");
    EXPECT_EQ(calc.ReferenceCount(), kGenerations);
    EXPECT_EQ(calc.Relationship(1, person), "65598G Grand Daughter");
    EXPECT_EQ(calc.OtherCount(), kGenerations);
}

}  // namespace
}  // namespace kindrel
