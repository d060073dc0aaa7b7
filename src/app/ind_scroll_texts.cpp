#include "app/ind_scroll_texts.h"

#include "model/collection.h"
#include "model/records.h"

#include <memory>

namespace kindrel {

namespace {

// The collection raises an error for numbers outside its individuals; these texts answer
// nothing for them instead.
bool IsIndividual(WABSCollection& collection, int32_t n) {
    return n >= 1 && n <= collection.IndividualCount();
}

}  // namespace

std::string ScrollLabelText(WABSCollection& collection, int32_t individual) {
    if (!IsIndividual(collection, individual)) return {};
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return {};
    return " " + std::to_string(individual) + " - " + person->DisplayName() + ", " +
           person->DateText(kEventBirth) + ", " + person->PlaceText(kEventBirth);
}

std::string SelectionList::Joined() const {
    std::string text;
    for (const std::string& item : items) text += item + ";";
    if (!text.empty()) text.back() = ' ';
    return text;
}

SelectionList SpouseChildrenList(WABSCollection& collection, int32_t individual) {
    SelectionList list;
    if (!IsIndividual(collection, individual)) return list;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return list;
    const int32_t families = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= families; ++i) {
        const std::unique_ptr<WABSMarriage> family =
            collection.GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        const int32_t spouse = family->OtherSpouse(individual);
        const std::string spouseText =
            spouse != 0 ? collection.DisplayNameOf(spouse) : std::string("<No Given Name>");
        list.items.push_back("Spouse: " + spouseText);
        list.numbers.push_back(spouse);
        family->OrderChildren();
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) {
            const int32_t child = family->Child(c);
            if (child == 0) continue;
            const std::unique_ptr<WABSIndividual> kid = collection.GetIndividual(child);
            if (!kid) continue;
            std::string text = collection.HasChildren(child) ? "< " : "   ";
            const int year = kid->EventYear(kEventBirth);
            text += year != 0 ? std::to_string(year) + " " : std::string(8, ' ');
            text += kid->DisplayName();
            list.items.push_back("   " + text);
            list.numbers.push_back(child);
        }
    }
    return list;
}

bool HasSpouseOrChildren(WABSCollection& collection, int32_t individual) {
    if (!IsIndividual(collection, individual)) return false;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return false;
    return person->SpouseFamilyCount() > 0 || collection.HasChildren(individual);
}

}  // namespace kindrel
