#include "analysis/attrib.h"

#include "analysis/attrib_columns.h"
#include "model/collection.h"
#include "model/records.h"
#include "model/upper_case.h"

#include <array>

namespace kindrel {

namespace {

constexpr std::array<WColumnInfo, kLastColumnCode> kCatalogue = {{
    {1, "Index", "Index", kSortInteger, 40},
    {2, "RIN", "RIN", kSortInteger, 40},
    {3, "AFN", "AFN", kSortInteger, 40},
    {4, "Surname", "Surname", kSortText, 160},
    {5, "Given", "Given", kSortText, 160},
    {6, "Full Name", "Full Name", kSortText, 160},
    {7, "Surname, Given", "Surname, Given", kSortText, 160},
    {8, "Note", "Note", kSortText, 160},
    {9, "Sex", "Sex", kSortText, 25},
    {10, "Birth Date", "Birth Date", kSortDate, 75},
    {11, "Birth Place", "Birth Place", kSortText, 130},
    {12, "Chr Date", "Christening Date", kSortDate, 75},
    {13, "Chr Place", "Christening Place", kSortText, 130},
    {14, "Death Date", "Death Date", kSortDate, 75},
    {15, "Death Place", "Death Place", kSortText, 130},
    {16, "Burial Date", "Burial Date", kSortDate, 75},
    {17, "Burial Place", "Burial Place", kSortText, 130},
    {18, "Father/Mother(M)/Spouse(S)", "Father/Mother(M)/Spouse(S)", kSortText, 160},
    {19, "Age", "Age", kSortAge, 30},
    {20, "Mar. Age", "Married Age", kSortAge, 40},
    {21, "Has Note", "Has a Note", kSortText, 40},
    {22, "Has Source", "Has a Source", kSortText, 40},
    {23, "Has Events", "Has Events", kSortText, 40},
    {24, "#Mars", "Number of Marriages", kSortInteger, 40},
    {25, "#Pars", "Number of Parents", kSortInteger, 40},
    {26, "#Kids", "Number of Kids", kSortInteger, 40},
    {27, "#Anc", "Number of Ancestors", kSortInteger, 40},
    {28, "#Des", "Number of Descendants", kSortInteger, 40},
    {29, "LDS", "LDS Information", kSortText, 36},
    {30, "LDS B", "LDS Baptism", kSortDate, 75},
    {31, "LDS B Temple", "LDS Baptism Temple", kSortText, 70},
    {32, "LDS E", "LDS Endowment", kSortDate, 75},
    {33, "LDS E Temple", "LDS Endowment Temple", kSortText, 70},
    {34, "LDS SP", "LDS Sealed to Parents", kSortDate, 75},
    {35, "LDS SP Temple", "LDS Sealed to Parents Temple", kSortText, 70},
    {36, "LDS SS", "LDS Sealed to Spouse", kSortDate, 75},
    {37, "LDS SS Temple", "LDS Sealed to Spouse Temple", kSortText, 70},
    {38, "Relationship", "Relationship", kSortText, 160},
    {39, "Common Ancestor", "Common Ancestor", kSortText, 160},
    {40, "Alive", "Alive", kSortText, 40},
    {41, "Mar Place", "Marriage Place", kSortText, 130},
    {42, "Mar Date", "Marriage Date", kSortDate, 75},
    {43, "Father", "Father", kSortText, 160},
    {44, "Mother", "Mother", kSortText, 160},
    {45, "Spouse", "Spouse", kSortText, 160},
    {46, "Sur Sdx", "Surname Soundex", kSortText, 50},
    {47, "Name Sdx", "Given Name Soundex", kSortText, 50},
    {48, "Custom ID", "Custom ID", kSortInteger, 40},
    {49, "Father (Last, First)", "Father (Last, First)", kSortText, 160},
    {50, "Mother (Last, First)", "Mother (Last, First)", kSortText, 160},
    {51, "Spouse (Last, First)", "Spouse (Last, First)", kSortText, 160},
    {52, "Common Ancestor (L, F)", "Common Ancestor (Last, First)", kSortText, 160},
    {53, "Father/Mother(M)/Spouse(S) (L, F)", "Father/Mother(M)/Spouse(S) (Last, First)", kSortText,
     160},
    {54, "Create Date", "Create Date", kSortDate, 75},
    {55, "Modify Date", "Modify Date", kSortDate, 75},
    {56, "Spouse/Father(F)/Mother(M) (F, L)", "Spouse/Father(F)/Mother(M) (First, Last)", kSortText,
     160},
    {57, "Spouse/Father(F)/Mother(M) (L, F)", "Spouse/Father(F)/Mother(M) (Last, First)", kSortText,
     160},
    {58, "Island #", "Island Number", kSortInteger, 40},
    {59, "F. Age", "Father's age at birth", kSortAge, 40},
    {60, "M. Age", "Mother's age at birth", kSortAge, 40},
    {61, "A Gens", "Largest Ancestor Generation", kSortInteger, 40},
    {62, "D Gens", "Largest Descendant Generation", kSortInteger, 40},
    {63, "Avg A Gens", "Average Ancestor Generations", kSortNumber, 50},
    {64, "Avg D Gens", "Average Descendant Generations", kSortNumber, 50},
    {65, "Birth/[C] Date", "Birth/[Christening] Date", kSortDate, 75},
    {66, "Birth/[C] Place", "Birth/[Christening] Place", kSortText, 130},
    {67, "Death/[B] Date", "Death/[Burial] Date", kSortDate, 75},
    {68, "Death/[B] Place", "Death/[Burial] Place", kSortText, 130},
}};

// The column chooser's order of the codes.
constexpr std::array<int, kLastColumnCode> kChooserOrder = {
    1,  2,  3,  48, 4,  5,  6,  7,  8,  9,  65, 66, 67, 68, 10, 11, 12, 13, 14, 15, 16, 17, 18,
    53, 56, 57, 19, 20, 59, 60, 21, 22, 23, 58, 27, 61, 63, 28, 62, 64, 24, 25, 26, 29, 30, 31,
    32, 33, 34, 35, 36, 37, 38, 39, 52, 40, 41, 42, 46, 47, 43, 49, 44, 50, 45, 51, 54, 55};

// Soundex digit of an upper-case ASCII letter.
constexpr std::string_view kSoundexDigits = "01230120022455012623010202";
static_assert(kSoundexDigits.size() == 26);

}  // namespace

// ---------------------------------------------------------------------------------------------
// WAttrib

WAttrib::WAttrib(WABSCollection* collection, int code, int sortType)
    : m_collection(collection), m_code(code), m_sortType(sortType) {}

WAttrib::~WAttrib() = default;

void WAttrib::SetCollection(WABSCollection* collection) {
    m_collection = collection;
}

int32_t WAttrib::IntValue(int32_t) {
    return 0;
}

double WAttrib::FloatValue(int32_t) {
    return 0.0;
}

std::string WAttrib::SortText(int32_t) {
    return {};
}

std::unique_ptr<WABSIndividual> WAttrib::Individual(int32_t n) const {
    if (m_collection == nullptr || n < 1) return nullptr;
    return m_collection->GetIndividual(n);
}

// ---------------------------------------------------------------------------------------------
// Catalogue

const WColumnInfo* ColumnInfo(int code) {
    if (code < kFirstColumnCode || code > kLastColumnCode) return nullptr;
    return &kCatalogue[static_cast<size_t>(code - 1)];
}

int CodeAtChooserPosition(int p) {
    if (p < 1 || p > kLastColumnCode) return 0;
    return kChooserOrder[static_cast<size_t>(p - 1)];
}

int ChooserPositionOfCode(int code) {
    for (size_t i = 0; i < kChooserOrder.size(); ++i) {
        if (kChooserOrder[i] == code) return static_cast<int>(i) + 1;
    }
    return 0;
}

std::unique_ptr<WAttrib> CreateAttrib(int code, WABSCollection* collection) {
    switch (code) {
        case 1:
            return std::make_unique<WAttribIndex>(collection);
        case 2:
        case 3:
        case 48:
            return std::make_unique<WAttribID>(collection, code);
        case 4:
        case 5:
        case 6:
        case 7:
        case 46:
        case 47:
            return std::make_unique<WAttribName>(collection, code);
        case 8:
            return std::make_unique<WAttribNote>(collection);
        case 9:
            return std::make_unique<WAttribSex>(collection);
        case 10:
        case 12:
        case 14:
        case 16:
        case 42:
        case 54:
        case 55:
        case 65:
        case 67:
            return std::make_unique<WAttribDate>(collection, code);
        case 11:
        case 13:
        case 15:
        case 17:
        case 41:
        case 66:
        case 68:
            return std::make_unique<WAttribPlace>(collection, code);
        case 18:
        case 43:
        case 44:
        case 45:
        case 49:
        case 50:
        case 51:
        case 53:
        case 56:
        case 57:
            return std::make_unique<WAttribFMS>(collection, code);
        case 19:
        case 20:
        case 59:
        case 60:
            return std::make_unique<WAttribAge>(collection, code);
        case 21:
        case 22:
        case 23:
            return std::make_unique<WAttribHas>(collection, code);
        case 24:
            return std::make_unique<WAttribNumMarriages>(collection);
        case 25:
            return std::make_unique<WAttribNumParents>(collection);
        case 26:
            return std::make_unique<WAttribNumChildren>(collection);
        case 27:
        case 61:
            return std::make_unique<WAttribNumAnc>(collection, code);
        case 28:
        case 62:
            return std::make_unique<WAttribNumDes>(collection, code);
        case 29:
            return std::make_unique<WAttribLDS>(collection);
        case 30:
        case 32:
        case 34:
        case 36:
            return std::make_unique<WAttribLDSDate>(collection, code);
        case 31:
        case 33:
        case 35:
        case 37:
            return std::make_unique<WAttribLDSTemple>(collection, code);
        case 38:
        case 39:
        case 52:
            return std::make_unique<WAttribRelation>(collection, code);
        case 40:
            return std::make_unique<WAttribALive>(collection);
        case 58:
            return std::make_unique<WAttribIsland>(collection);
        case 63:
        case 64:
            return std::make_unique<WAttribAvgGens>(collection, code);
        default:
            return nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Soundex

std::string Soundex(std::string_view text) {
    if (text.empty()) return {};
    // The first character whole (a UTF-8 letter keeps all its bytes), upper-cased.
    size_t firstLength = 1;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead >= 0xC0) {
        while (firstLength < text.size() &&
               (static_cast<unsigned char>(text[firstLength]) & 0xC0) == 0x80) {
            ++firstLength;
        }
    }
    std::string code = UpperCase(text.substr(0, firstLength));
    const size_t digitsStart = code.size();
    code += "000";
    if (firstLength >= text.size()) return code;

    char current = '\0';
    size_t write = digitsStart;
    for (size_t i = firstLength; i < text.size(); ++i) {
        const char c = UpperCaseByte(text[i]);
        if (c < 'A' || c > 'Z') continue;  // not a letter: the current code stays
        const char digit = kSoundexDigits[static_cast<size_t>(c - 'A')];
        if (digit != current && digit != '0') {
            code[write++] = digit;
            if (write == digitsStart + 3) break;
        }
        current = digit;
    }
    return code;
}

}  // namespace kindrel
