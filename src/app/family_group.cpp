#include "app/family_group.h"

#include "model/collection.h"
#include "model/records.h"

#include <algorithm>

namespace kindrel {

EMarriageError::EMarriageError(int32_t family)
    : KindrelError("Error getting pointer to Marriage " + std::to_string(family)) {}

std::unique_ptr<WABSMarriage> ReadMarriage(WABSCollection& collection, int32_t family) {
    std::unique_ptr<WABSMarriage> marriage;
    try {
        marriage = collection.GetMarriage(family);
    } catch (const std::exception&) {
        throw EMarriageError(family);
    }
    if (!marriage) throw EMarriageError(family);
    return marriage;
}

bool IsIndividualOf(WABSCollection& collection, int32_t n) {
    return n >= 1 && n <= collection.IndividualCount();
}

bool HasParents(WABSCollection& collection, int32_t n) {
    if (!IsIndividualOf(collection, n)) return false;
    return collection.Father(n) != 0 || collection.Mother(n) != 0;
}

std::string FamilyIndexText(int k, int n) {
    return "(" + std::to_string(k) + " of " + std::to_string(n) + ")";
}

std::string ChildrenHeaderText(size_t count) {
    return "Children (" + std::to_string(count) + ")";
}

namespace {

FamilyChildRow ChildRow(WABSCollection& collection, int32_t child) {
    FamilyChildRow row;
    row.child = child;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(child);
    if (!person) return row;
    row.name = person->DisplayName();
    row.sex = std::string(1, person->Sex());
    row.birth = person->DateText(kEventBirth);
    row.death = person->DateText(kEventDeath);
    const int32_t families = person->SpouseFamilyCount();
    if (families < 1) return row;
    const int32_t first = person->SpouseFamily(1);
    const std::unique_ptr<WABSMarriage> family = ReadMarriage(collection, first);
    row.spouse = family->OtherSpouse(child);
    if (row.spouse != 0 && family->ChildCount() > 0) row.plus = "+";
    if (families >= 2) row.spouseText = FamilyIndexText(1, families) + " ";
    if (IsIndividualOf(collection, row.spouse))
        row.spouseText += collection.DisplayNameOf(row.spouse);
    return row;
}

}  // namespace

SpouseFamilyChoice ChooseSpouseFamily(WABSCollection& collection, int32_t n, int k) {
    SpouseFamilyChoice choice;
    if (!IsIndividualOf(collection, n)) return choice;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return choice;
    choice.count = person->SpouseFamilyCount();
    if (choice.count < 1) {
        choice.count = 0;
        return choice;
    }
    choice.index = k >= 1 && k <= choice.count ? k : 1;
    choice.family = person->SpouseFamily(choice.index);
    choice.marriage = ReadMarriage(collection, choice.family);
    choice.spouse = choice.marriage->OtherSpouse(n);
    if (!IsIndividualOf(collection, choice.spouse)) choice.spouse = 0;
    return choice;
}

FamilyGroup BuildFamilyGroup(WABSCollection& collection, int32_t n, int k) {
    FamilyGroup group;
    if (!IsIndividualOf(collection, n)) return group;
    group.subject = n;
    group.subjectFather = collection.Father(n);
    group.subjectMother = collection.Mother(n);
    SpouseFamilyChoice choice = ChooseSpouseFamily(collection, n, k);
    group.familyCount = choice.count;
    group.familyIndex = choice.index;
    group.family = choice.family;
    group.spouse = choice.spouse;
    WABSMarriage* family = choice.marriage.get();
    if (!family) return group;
    if (group.spouse != 0) {
        group.spouseFather = collection.Father(group.spouse);
        group.spouseMother = collection.Mother(group.spouse);
    }
    const std::string date = family->DateText();
    const std::string place = family->MarriagePlaceText();
    group.marriageText = date.empty() ? place : place.empty() ? date : date + ", " + place;
    family->OrderChildren();
    // Every child is listed, however large the family.
    const int32_t children = family->ChildCount();
    group.children.reserve(static_cast<size_t>(std::max<int32_t>(children, 0)));
    for (int32_t c = 1; c <= children; ++c) {
        const int32_t child = family->Child(c);
        if (IsIndividualOf(collection, child))
            group.children.push_back(ChildRow(collection, child));
    }
    return group;
}

}  // namespace kindrel
