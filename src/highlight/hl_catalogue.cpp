#include "highlight/hl_catalogue.h"

#include <array>
#include <utility>

namespace kindrel {

namespace {

// Entry i describes code i + 1.
constexpr std::array<std::string_view, kHLLastCode> kCatalogue = {
    "Select a Condition:Select a Condition:0:",                   // 1
    "Has No Birth Date:Has a Birth Date:0:",                      // 2
    "Has No Birth Place:Has a Birth Place:0:",                    // 3
    "Has No Christening Date:Has a Christening Date:0:",          // 4
    "Has No Christening Place:Has a Christening Place:0:",        // 5
    "Has No Death Date:Has a Death Date:0:",                      // 6
    "Has No Death Place:Has a Death Place:0:",                    // 7
    "Has No Burial Date:Has a Burial Date:0:",                    // 8
    "Has No Burial Place:Has a Burial Place:0:",                  // 9
    "Has No Marriage Date:Has a Marriage Date:0:",                // 10
    "Has No Marriage Place:Has a Marriage Place:0:",              // 11
    "Has No Places (All):Has any Place:0:",                       // 12
    "Has No Surname:Has a Surname:0:",                            // 13
    "Has No Given Name:Has a Given Name:0:",                      // 14
    "Has No Father:Has a Father:0:",                              // 15
    "Has No Mother:Has a Mother:0:",                              // 16
    "Sex Type:Is Not of Sex Type:1:1",                            // 17
    "Has Ind Note:Has No Ind Note:0:",                            // 18
    "Text in Notes:Text Not in Notes:1:3",                        // 19
    "Has AFN:Has No AFN:0:",                                      // 20
    "Ancestors of:Not an Ancestor of:1:2",                        // 21
    "Descendents of:Not a Descendent of:1:2",                     // 22
    "Is a Relation to:No Relation to:1:7",                        // 23
    "Birth Place:Not Birth Place:1:3",                            // 24
    "Christening Place:Not Christening Place:1:3",                // 25
    "Death Place:Not Death Place:1:3",                            // 26
    "Burial Place:Not Burial Place:1:3",                          // 27
    "Any Place:Not this Place:1:3",                               // 28
    "Surname:Not this Surname:1:3",                               // 29
    "Given Names:Not this Given Name:1:3",                        // 30
    "Has LDS Baptism:Has No LDS Baptism:0:",                      // 31
    "Has LDS Endowment:Has No LDS Endowment:0:",                  // 32
    "Has LDS Sealed to Parents:Has No LDS Sealed to Parents:0:",  // 33
    "Has LDS Sealed to Spouse:Has No LDS Sealed to Spouse:0:",    // 34
    "Has LDS Events:Has no LDS Events:0:",                        // 35
    "Married - No Spouse:Not Married - No Spouse:0:",             // 36
    "Married - Same Name:Not Married - Same Name:0:",             // 37
    "Children with Same Name:Not Children with Same Name:0:",     // 38
    "Birth Date:Not Birth Date:1:4",                              // 39
    "Christening Date:Not Christening Date:1:4",                  // 40
    "Death Date:Not Death Date:1:4",                              // 41
    "Burial Date:Not Burial Date:1:4",                            // 42
    "Marriage Place:Not Marriage Place:1:3",                      // 43
    "Age:Not Age:1:5",                                            // 44
    "# Marriages:Not # Marriages:1:5",                            // 45
    "# Parents:Not # Parents:1:5",                                // 46
    "# Children:Not # Children:1:5",                              // 47
    "# Sons:Not # Sons:1:5",                                      // 48
    "# Daughters:Not # Daughters:1:5",                            // 49
    "# Ancestors:Not # Ancestors:1:5",                            // 50
    "# Decendants:Not # Decendants:1:5",                          // 51
    "Has Age:No Age:1:8",                                         // 52
    "Surname not Father's:Surname is Father's:0:",                // 53
    "Surname not Parent's:Surname is Parent's:0:",                // 54
    "Surname is Mother's:Surname not Mother's:0:",                // 55
    "Couple Same Surname:Couple Not Same Surname:0:",             // 56
    "Soundex Surname:Not Soundex Surname:1:6",                    // 57
    "Soundex Given:Not Soundex Given:1:6",                        // 58
    "Custom ID:Not Custom ID:1:3",                                // 59
    "Parent is:Parent is not:1:7",                                // 60
    "Spouse is:Spouse is not:1:7",                                // 61
    "Sibling is:Sibling is not:1:7",                              // 62
    "Child is:Child is not:1:7",                                  // 63
    "Unlinked:Not Unlinked:0:",                                   // 64
    "Is Alive:Is Not Alive:1:8",                                  // 65
    "Has Any Source:Has no Sources:0:",                           // 66
    "Has Name Source:Has no Name Source:0:",                      // 67
    "Has Birth Source:Has no Birth Source:0:",                    // 68
    "Has Christening Source:Has no Christening Source:0:",        // 69
    "Has Death Source:Has no Death Source:0:",                    // 70
    "Has Burial Source:Has no Burial Source:0:",                  // 71
    "Has Name Note:Has no Name Note:0:",                          // 72
    "Has Birth Note:Has no Birth Note:0:",                        // 73
    "Has Christening Note:Has no Christening Note:0:",            // 74
    "Has Death Note:Has no Death Note:0:",                        // 75
    "Has Burial Note:Has no Burial Note:0:",                      // 76
    "Has Any Note:Has no Notes:0:",                               // 77
    "# Families:Not # Families:1:5",                              // 78
    "Has LDS B Date:Has No LDS B Date:0:",                        // 79
    "Has LDS E Date:Has No LDS E Date:0:",                        // 80
    "Has LDS SP Date:Has No LDS SP Date:0:",                      // 81
    "Has LDS SS Date:Has No LDS SS Date:0:",                      // 82
    "Has LDS B Place:Has No LDS B Place:0:",                      // 83
    "Has LDS E Place:Has No LDS E Place:0:",                      // 84
    "Has LDS SP Place:Has No LDS SP Place:0:",                    // 85
    "Has LDS SS Place:Has No LDS SS Place:0:",                    // 86
    "LDS B Date:Not LDS B Date:1:9",                              // 87
    "LDS E Date:Not LDS E Date:1:10",                             // 88
    "LDS SP Date:Not LDS SP Date:1:11",                           // 89
    "LDS SS Date:Not LDS SS Date:1:12",                           // 90
    "LDS B Place:Not LDS B Place:1:3",                            // 91
    "LDS E Place:Not LDS E Place:1:3",                            // 92
    "LDS SP Place:Not LDS SP Place:1:3",                          // 93
    "LDS SS Place:Not LDS SS Place:1:3",                          // 94
    "Anc Max Path:Not Anc Max Path:1:7",                          // 95
    "Des Max Path:Not Des Max Path:1:7",                          // 96
    "AFN:Not AFN:1:3",                                            // 97
    "Reference ID:Not Reference ID:1:3",                          // 98
    "Has Marriage Source:Has No Marriage Source:0:",              // 99
    "Has Marriage Note:Has No Marriage Note:0:",                  // 100
};

// The piece of text before the next ":" from pos, moving pos past it.
std::string_view NextField(std::string_view text, size_t& pos) {
    if (pos > text.size()) return {};
    size_t end = text.find(':', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view field = text.substr(pos, end - pos);
    pos = end + 1;
    return field;
}

int FieldNumber(std::string_view field) {
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::string_view HLCatalogueText(int code) {
    if (code < kHLFirstCode || code > kHLLastCode) return {};
    return kCatalogue[static_cast<size_t>(code - 1)];
}

HLCatalogueEntry HLCatalogueEntryOf(int code) {
    HLCatalogueEntry entry;
    const std::string_view text = HLCatalogueText(code);
    if (text.empty()) return entry;
    size_t pos = 0;
    entry.label = std::string(NextField(text, pos));
    entry.negatedLabel = std::string(NextField(text, pos));
    entry.editorCount = FieldNumber(NextField(text, pos));
    if (entry.editorCount == 1) entry.editorKind = FieldNumber(NextField(text, pos));
    return entry;
}

std::string HLLabel(int code, bool negated) {
    HLCatalogueEntry entry = HLCatalogueEntryOf(code);
    return negated ? std::move(entry.negatedLabel) : std::move(entry.label);
}

}  // namespace kindrel
