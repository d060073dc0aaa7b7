// Texts of the individual scroll bar: its label and the spouse/children list of its "S" button.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;

// " " + number + " - " + display name + ", " + birth date text + ", " + birth place text;
// empty for a missing individual.
std::string ScrollLabelText(WABSCollection& collection, int32_t individual);

// The "S" button's list: items and the individual each one jumps to (0 = nobody).
struct SelectionList {
    std::vector<std::string> items;
    std::vector<int32_t> numbers;

    // The items joined by ";", the final ";" replaced by a blank (the list as one text).
    std::string Joined() const;
};

// For each family as spouse: "Spouse: " + the spouse's display name (or "<No Given Name>"
// without spouse), then "   " + child text for each child: "< " for a child with children of
// their own, else three blanks; the birth year and a blank, or eight blanks; the display name.
SelectionList SpouseChildrenList(WABSCollection& collection, int32_t individual);

// True when the individual has a family as spouse or has children ("S" is enabled).
bool HasSpouseOrChildren(WABSCollection& collection, int32_t individual);

}  // namespace kindrel
