// What the Family page shows for the active individual: the couple of the current family,
// both sets of parents, the marriage and one row per child. Plain C++ so that the page, the
// copies and the reports read the same values, and tests read them without a display.
#pragma once

#include "containers/errors.h"
#include "model/records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;

// A family that cannot be read ("Error getting pointer to Marriage %d").
class EMarriageError : public KindrelError {
  public:
    explicit EMarriageError(int32_t family);
};

// Family `family` of the collection; raises EMarriageError when the collection cannot supply it
// (whatever the reader raised is reported with the family's number).
std::unique_ptr<WABSMarriage> ReadMarriage(WABSCollection& collection, int32_t family);

// True when n is an individual of the collection (its readers raise errors for others).
bool IsIndividualOf(WABSCollection& collection, int32_t n);

// The k-th family as spouse of an individual, chosen for the Family and Pedigree pages.
struct SpouseFamilyChoice {
    int count = 0;  // families as spouse (n)
    int index = 0;  // k, 1-based; 0 without families
    int32_t family = 0;
    int32_t spouse = 0;                      // the other partner, 0 when none
    std::unique_ptr<WABSMarriage> marriage;  // the family's record, null without families
};

// Family k of individual n as spouse (k outside 1..n wraps to 1). Raises EMarriageError when
// that family cannot be read.
SpouseFamilyChoice ChooseSpouseFamily(WABSCollection& collection, int32_t n, int k);

// One row of the children grid.
struct FamilyChildRow {
    int32_t child = 0;
    // The spouse of the child's first family as spouse (0 = none).
    int32_t spouse = 0;
    // Column 0: "+" when that family has a spouse and at least one child.
    std::string plus;
    std::string name;   // column 1: display name
    std::string sex;    // column 2: the sex letter
    std::string birth;  // column 3: birth date text
    std::string death;  // column 4: death date text
    // Column 5: the spouse's display name, prefixed "(1 of n) " for n of 2 or more families.
    std::string spouseText;
};

// The family group of one individual and its k-th family as spouse.
struct FamilyGroup {
    int32_t subject = 0;
    int32_t subjectFather = 0, subjectMother = 0;
    // Families as spouse (n) and the one shown (k, 1-based; 0 without families).
    int familyCount = 0;
    int familyIndex = 0;
    int32_t family = 0;
    int32_t spouse = 0;
    int32_t spouseFather = 0, spouseMother = 0;
    // The marriage date text, ", " and the place when there is one (the place alone without
    // a date).
    std::string marriageText;
    std::vector<FamilyChildRow> children;
};

// The group of individual n with its k-th family (k outside 1..n wraps to 1). Raises
// EMarriageError for a family that cannot be read. A missing individual gives an empty group.
FamilyGroup BuildFamilyGroup(WABSCollection& collection, int32_t n, int k);

// "(" + k + " of " + n + ")".
std::string FamilyIndexText(int k, int n);
// "Children (" + count + ")", the header of the grid's name column.
std::string ChildrenHeaderText(size_t count);
// True when individual n has a father or a mother (its "+" button is shown).
bool HasParents(WABSCollection& collection, int32_t n);

}  // namespace kindrel
