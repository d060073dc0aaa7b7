// The catalogue of the 100 highlight conditions: for each condition code the label of a plain
// and of a negated condition, the number of parameter editors and the editor kind, as the
// condition editor shows them.
#pragma once

#include <string>
#include <string_view>

namespace kindrel {

// The first and last condition codes; code 1 ("Select a Condition") makes no rule.
inline constexpr int kHLFirstCode = 1;
inline constexpr int kHLLastCode = 100;

// Parameter editor kinds (the fourth field of a catalogue text).
enum HLEditorKind : int {
    kHLEditorNone = 0,
    kHLEditorSex = 1,
    kHLEditorIndividualGenerations = 2,
    kHLEditorTextMatch = 3,
    kHLEditorDate = 4,
    kHLEditorNumber = 5,
    kHLEditorSoundex = 6,
    kHLEditorIndividual = 7,
    kHLEditorAgeLimit = 8,
    kHLEditorLDSBaptism = 9,
    kHLEditorLDSEndowment = 10,
    kHLEditorLDSSealedToParents = 11,
    kHLEditorLDSSealedToSpouse = 12,
};

// One catalogue entry read from its text.
struct HLCatalogueEntry {
    std::string label;         // shown for a plain condition
    std::string negatedLabel;  // shown for a negated condition
    int editorCount = 0;       // 0 or 1
    int editorKind = kHLEditorNone;
};

// The catalogue text of a code ("label:negated label:editor count:editor kind", a trailing
// ":" when there is no editor); empty for a code outside 1 to 100.
std::string_view HLCatalogueText(int code);
// The catalogue entry of a code, read from its text; an empty entry outside 1 to 100.
HLCatalogueEntry HLCatalogueEntryOf(int code);
// The label shown for a code, plain or negated; empty outside 1 to 100.
std::string HLLabel(int code, bool negated);
// True for the codes that make a rule (2 to 100).
inline bool HLCodeMakesRule(int code) {
    return code > kHLFirstCode && code <= kHLLastCode;
}

}  // namespace kindrel
