#include "app/pedigree_tree.h"

#include "app/family_group.h"
#include "model/collection.h"
#include "model/records.h"

#include <memory>

namespace kindrel {

PedigreeSlots BuildPedigreeSlots(WABSCollection& collection, int32_t n) {
    PedigreeSlots slots{};
    if (!IsIndividualOf(collection, n)) return slots;
    slots[1] = n;
    // Parents of slots 1..15 fill 2..31.
    for (int k = 1; 2 * k + 1 <= kPedigreeSlots; ++k) {
        if (slots[k] == 0) continue;
        slots[2 * k] = collection.Father(slots[k]);
        slots[2 * k + 1] = collection.Mother(slots[k]);
    }
    return slots;
}

int PedigreeGeneration(int slot) {
    int generation = 0;
    while (slot > 1) {
        slot /= 2;
        ++generation;
    }
    return generation;
}

std::string PedigreeListItem::Text() const {
    std::string text = plus.empty() ? " " : plus;
    text += " " + qualifier + year;
    text += " " + given;
    if (!lds.empty()) text += " " + lds;
    return text;
}

std::string LdsMarks(WABSCollection& collection, int32_t n) {
    std::string marks = "----";
    if (!IsIndividualOf(collection, n)) return marks;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return marks;
    if (person->HasLDSEvent(kEventLdsBaptism)) marks[0] = 'B';
    if (person->HasLDSEvent(kEventLdsEndowment)) marks[1] = 'E';
    if (person->HasLDSEvent(kEventLdsSealingToParents)) marks[2] = 'P';
    if (collection.HasSpouseSealing(n, 0)) marks[3] = 'S';
    return marks;
}

namespace {

PedigreeListItem ListItem(WABSCollection& collection, int32_t n, bool useLds) {
    PedigreeListItem item;
    item.individual = n;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return item;
    if (collection.HasChildren(n)) item.plus = "+";
    item.qualifier = person->EventQualifierLetter(kEventBirth);
    if (const int year = person->EventYear(kEventBirth); year != 0)
        item.year = std::to_string(year);
    item.given = person->GivenNames();
    if (item.given.empty()) item.given = "<No Given Name>";
    if (useLds) item.lds = LdsMarks(collection, n);
    return item;
}

// The children of a family in display order, without `skip` and empty entries.
std::vector<PedigreeListItem> FamilyItems(WABSCollection& collection, int32_t family, int32_t skip,
                                          bool useLds) {
    std::vector<PedigreeListItem> items;
    if (family == 0) return items;
    const std::unique_ptr<WABSMarriage> marriage = ReadMarriage(collection, family);
    marriage->OrderChildren();
    const int32_t count = marriage->ChildCount();
    for (int32_t c = 1; c <= count; ++c) {
        const int32_t child = marriage->Child(c);
        if (child == skip || !IsIndividualOf(collection, child)) continue;
        items.push_back(ListItem(collection, child, useLds));
    }
    return items;
}

}  // namespace

std::vector<PedigreeListItem> SiblingItems(WABSCollection& collection, int32_t n, bool useLds) {
    if (!IsIndividualOf(collection, n)) return {};
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person || person->ParentFamilyCount() < 1) return {};
    return FamilyItems(collection, person->ParentFamily(1), n, useLds);
}

std::vector<PedigreeListItem> ChildItems(WABSCollection& collection, int32_t n, int32_t family,
                                         bool useLds) {
    if (!IsIndividualOf(collection, n)) return {};
    return FamilyItems(collection, family, n, useLds);
}

std::string SiblingsCaption(size_t count) {
    return "Siblings (" + std::to_string(count) + ")";
}

}  // namespace kindrel
