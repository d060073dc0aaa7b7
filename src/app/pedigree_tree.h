// What the Pedigree page shows: five generations of ancestors in ancestor numbering and the
// siblings and children lists of its left pane. Plain C++ (no Qt).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;

// Panels of the pedigree: 1 the subject, k's father 2k and mother 2k + 1, 31 in all.
inline constexpr int kPedigreeSlots = 31;
// The first slot of the outermost generation (16 to 31).
inline constexpr int kPedigreeOuterSlot = 16;

// The individuals of slots 1..31 (index 0 unused; 0 = nobody) for subject n.
using PedigreeSlots = std::array<int32_t, kPedigreeSlots + 1>;
PedigreeSlots BuildPedigreeSlots(WABSCollection& collection, int32_t n);

// The generation of a slot: 0 for slot 1, 1 for 2..3, ... 4 for 16..31.
int PedigreeGeneration(int slot);

// One entry of the siblings or children list.
struct PedigreeListItem {
    int32_t individual = 0;
    std::string plus;       // "+" when the person has children
    std::string qualifier;  // the birth date's one-letter qualifier ("b", "a", "c", "e")
    std::string year;       // the birth year, empty without one
    std::string given;      // the given names, or "<No Given Name>"
    std::string lds;  // "B", "E", "P", "S" or "-" for each mark ("B-PS"), empty without UseLDS

    // The item as one line: plus, qualifier and year, given names, LDS marks, blank-separated.
    std::string Text() const;
};

// The children of n's first family as child without n ("Siblings (n)").
std::vector<PedigreeListItem> SiblingItems(WABSCollection& collection, int32_t n, bool useLds);
// The children of family `family` without n and without empty entries ("Children (n)").
// Raises EMarriageError when the family cannot be read.
std::vector<PedigreeListItem> ChildItems(WABSCollection& collection, int32_t n, int32_t family,
                                         bool useLds);

// "Siblings (" + count + ")" (the children list's caption is ChildrenHeaderText).
std::string SiblingsCaption(size_t count);

// The LDS marks of individual n: "B", "E", "P", "S" for baptism, endowment, sealed to parents
// and sealed to a spouse, "-" for each one missing.
std::string LdsMarks(WABSCollection& collection, int32_t n);

}  // namespace kindrel
