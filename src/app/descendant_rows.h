// The texts of one entry of the descendant list (the Descendants page, its copy and report):
// "3 - " and the name, then "(DUPLICATED)" for a repeat or " + " and the spouse, and
// " [k of n]" for one of several marriages.
#pragma once

#include "analysis/des_iterator.h"

#include <cstdint>
#include <string>

namespace kindrel {

class WABSCollection;

// The parts of an entry, each drawn in its own colours by the page.
struct DescendantRow {
    int generation = 0;
    int32_t individual = 0;
    int32_t spouse = 0;      // 0 for a repeat and when the family has no other partner
    bool duplicate = false;  // listed earlier in the walk
    std::string lead;        // (generation + 1) + " - "
    std::string name;        // the display name
    std::string spouseName;  // the spouse's display name (empty without spouse)
    std::string marriage;    // " [k of n]" when n > 1, else empty
};

// The text shown after the name of a repeat.
inline constexpr const char* kDuplicatedText = "(DUPLICATED)";

// The parts of a walk record; people outside the collection have empty names.
DescendantRow BuildDescendantRow(WABSCollection& collection, const WDesRecord& record);

// The entry as one line: lead, name, then " (DUPLICATED)", or " + " spouse when there is one,
// then the marriage mark ("2 - Ann Lee + Tom Hay [1 of 2]").
std::string DescendantRowText(const DescendantRow& row);

}  // namespace kindrel
