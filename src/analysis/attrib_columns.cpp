#include "analysis/attrib_columns.h"

#include "analysis/islands.h"
#include "analysis/rel_calc.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/display_options.h"
#include "model/records.h"
#include "model/upper_case.h"

#include <cstdio>
#include <limits>

namespace kindrel {

namespace {

// Age limit of the "Alive" column and of every age shown.
constexpr int kLivingLimit = 110;
constexpr int kMaxAgeYears = 110;

const std::string kYes = "Yes";
const std::string kNo = "No";

// Spouse families are counted from 1; views pass 1.
int32_t FamilyOccurrence(int occurrence) {
    return occurrence < 1 ? 1 : occurrence;
}

// "[" + text + "]" for a non-empty stand-in value; an empty one stays empty.
std::string Bracketed(const std::string& text) {
    return text.empty() ? text : "[" + text + "]";
}

// The decimal value of a whole text (optional sign, digits), 0 when it is not a number or does
// not fit.
int32_t DecimalValue(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) return 0;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return 0;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(value);
}

// The event kind read by a date or place column.
int EventKindOf(int code) {
    switch (code) {
        case 10:
        case 11:
        case 65:
        case 66:
            return kEventBirth;
        case 12:
        case 13:
            return kEventChristening;
        case 14:
        case 15:
        case 67:
        case 68:
            return kEventDeath;
        case 16:
        case 17:
            return kEventBurial;
        default:
            return 0;
    }
}

// The stand-in event kind of 65 to 68, 0 for other codes.
int StandInKindOf(int code) {
    switch (code) {
        case 65:
        case 66:
            return kEventChristening;
        case 67:
        case 68:
            return kEventBurial;
        default:
            return 0;
    }
}

// The LDS ordinance kind of 29 to 37 (10 for the sealing to spouse).
int OrdinanceKindOf(int code) {
    switch (code) {
        case 30:
        case 31:
            return kEventLdsBaptism;
        case 32:
        case 33:
            return kEventLdsEndowment;
        case 34:
        case 35:
            return kEventLdsSealingToParents;
        default:
            return kEventLdsSealingToSpouse;
    }
}

// The birth date of an individual's birth event, kept alive with the event.
struct EventDate {
    std::unique_ptr<WABSEvent> event;
    const WDate* date = nullptr;

    bool IsSet() const { return date != nullptr && date->IsSet(); }
};

EventDate DateOfEvent(WABSIndividual& individual, int kind) {
    EventDate result;
    result.event = individual.Event(kind, 1);
    if (result.event) result.date = result.event->Date();
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Name helpers

std::string PlainSurname(WABSName& name) {
    return Display().nameUpper ? UpperCase(name.Surname()) : name.Surname();
}

std::string SurnameFirstName(WABSIndividual& individual) {
    const std::unique_ptr<WABSName> name = individual.Name();
    if (!name) return {};
    return PlainSurname(*name) + ", " + name->GivenNames();
}

// ---------------------------------------------------------------------------------------------
// WAttribIndex

WAttribIndex::WAttribIndex(WABSCollection* collection) : WAttrib(collection, 1, kSortInteger) {}

std::string WAttribIndex::ValueText(int32_t n, int) {
    if (m_collection == nullptr || n < 1 || n > m_collection->IndividualCount()) return {};
    return std::to_string(n);
}

int32_t WAttribIndex::IntValue(int32_t n) {
    return n;
}

// ---------------------------------------------------------------------------------------------
// WAttribID

WAttribID::WAttribID(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortInteger) {
    // Created over a collection, the attribute is attached to it at once, so that a column
    // added to a list (or a find order) sorts the way its collection needs.
    ApplySortType();
}

void WAttribID::SetCollection(WABSCollection* collection) {
    WAttrib::SetCollection(collection);
    ApplySortType();
}

void WAttribID::ApplySortType() {
    if (m_collection == nullptr) return;
    if (m_code == 2 && m_collection->Kind() != kKindGedcom) {
        m_sortType = kSortInteger;
    } else {
        m_sortType = kSortText;
    }
}

std::string WAttribID::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    switch (m_code) {
        case 2:
            return individual->IdText();
        case 3:
            return individual->AfnText();
        default:
            return individual->RefNumberText();
    }
}

int32_t WAttribID::IntValue(int32_t n) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    return individual ? DecimalValue(individual->IdText()) : 0;
}

// ---------------------------------------------------------------------------------------------
// WAttribName

WAttribName::WAttribName(WABSCollection* collection, int code) : WAttrib(collection, code) {}

std::string WAttribName::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    if (m_code == 6) return individual->FullName(true);
    const std::unique_ptr<WABSName> name = individual->Name();
    if (!name) return {};
    switch (m_code) {
        case 4:
            return PlainSurname(*name);
        case 5:
            return name->GivenNames();
        case 7:
            return PlainSurname(*name) + ", " + name->GivenNames();
        case 46:
            return Soundex(PlainSurname(*name));
        default: {  // 47: the first word of the given names
            const std::string given = name->GivenNames();
            const size_t start = given.find_first_not_of(' ');
            if (start == std::string::npos) return {};
            const size_t end = given.find(' ', start);
            return Soundex(std::string_view(given).substr(
                start, end == std::string::npos ? std::string::npos : end - start));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// WAttribNote, WAttribSex

WAttribNote::WAttribNote(WABSCollection* collection) : WAttrib(collection, 8) {}

std::string WAttribNote::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    const std::unique_ptr<WABSNote> note = individual->Note();
    return note && note->LineCount() > 0 ? note->Line(1) : std::string();
}

WAttribSex::WAttribSex(WABSCollection* collection) : WAttrib(collection, 9) {}

std::string WAttribSex::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    return std::string(1, individual->Sex());
}

// ---------------------------------------------------------------------------------------------
// WAttribDate

WAttribDate::WAttribDate(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortDate) {}

std::string WAttribDate::DateOf(int32_t n, int occurrence, bool& standIn) {
    standIn = false;
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    switch (m_code) {
        case 42: {
            const int32_t family = individual->SpouseFamily(FamilyOccurrence(occurrence));
            if (family == 0) return {};
            const std::unique_ptr<WABSMarriage> marriage = m_collection->GetMarriage(family);
            return marriage ? marriage->DateText() : std::string();
        }
        case 54: {
            const WDate* date = individual->CreationDate();
            return date != nullptr ? date->Text() : std::string();
        }
        case 55: {
            const WDate* date = individual->ChangeDate();
            return date != nullptr ? date->Text() : std::string();
        }
        default:
            break;
    }
    std::string text = individual->DateText(EventKindOf(m_code));
    if (text.empty() && StandInKindOf(m_code) != 0) {
        text = individual->DateText(StandInKindOf(m_code));
        standIn = !text.empty();
    }
    return text;
}

std::string WAttribDate::ValueText(int32_t n, int occurrence) {
    bool standIn = false;
    const std::string text = DateOf(n, occurrence, standIn);
    return standIn ? Bracketed(text) : text;
}

std::string WAttribDate::SortText(int32_t n) {
    bool standIn = false;
    return DateOf(n, 1, standIn);
}

// ---------------------------------------------------------------------------------------------
// WAttribPlace

WAttribPlace::WAttribPlace(WABSCollection* collection, int code) : WAttrib(collection, code) {}

std::string WAttribPlace::ValueText(int32_t n, int occurrence) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    if (m_code == 41) {
        const int32_t family = individual->SpouseFamily(FamilyOccurrence(occurrence));
        if (family == 0) return {};
        const std::unique_ptr<WABSMarriage> marriage = m_collection->GetMarriage(family);
        return marriage ? marriage->MarriagePlaceText() : std::string();
    }
    const std::string text = individual->PlaceText(EventKindOf(m_code));
    if (text.empty() && StandInKindOf(m_code) != 0) {
        return Bracketed(individual->PlaceText(StandInKindOf(m_code)));
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// WAttribFMS

WAttribFMS::WAttribFMS(WABSCollection* collection, int code) : WAttrib(collection, code) {}

std::string WAttribFMS::NameOf(int32_t r) {
    if (r == 0 || m_collection == nullptr) return {};
    const std::unique_ptr<WABSIndividual> relative = m_collection->GetIndividual(r);
    if (!relative) return {};
    switch (m_code) {
        case 49:
        case 50:
        case 51:
        case 53:
        case 57:
            return SurnameFirstName(*relative);
        default:
            return relative->FullName(true);
    }
}

std::string WAttribFMS::ValueText(int32_t n, int occurrence) {
    if (m_collection == nullptr || n < 1) return {};
    const int32_t i = FamilyOccurrence(occurrence);
    switch (m_code) {
        case 43:
        case 49:
            return NameOf(m_collection->Father(n));
        case 44:
        case 50:
            return NameOf(m_collection->Mother(n));
        case 45:
        case 51:
            return NameOf(m_collection->SpouseIn(n, i));
        default:
            break;
    }
    int kind = 0;
    const bool parentFirst = m_code == 18 || m_code == 53;
    const int32_t r = parentFirst ? m_collection->ParentOrSpouse(n, kind, i)
                                  : m_collection->SpouseOrParent(n, kind, i);
    const std::string name = NameOf(r);
    if (name.empty()) return {};
    if (parentFirst) {
        if (kind == 2) return "(M)-" + name;
        if (kind == 3) return "(S)-" + name;
        return name;
    }
    if (kind == 1) return "(F)-" + name;
    if (kind == 2) return "(M)-" + name;
    return name;
}

// ---------------------------------------------------------------------------------------------
// WAttribAge

WAttribAge::WAttribAge(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortAge) {}

std::string WAttribAge::ValueText(int32_t n, int occurrence) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    if (m_code == 19) return individual->AgeText();

    // Start: the birth date, or under AgeCalcCB the christening date (bracketed).
    EventDate start = DateOfEvent(*individual, kEventBirth);
    bool bracketed = false;
    if (!start.IsSet() && Display().ageCalcCB) {
        start = DateOfEvent(*individual, kEventChristening);
        bracketed = true;
    }
    if (!start.IsSet()) return {};

    // End: the marriage date (20) or the parent's birth date (59, 60).
    std::unique_ptr<WABSMarriage> marriage;
    std::unique_ptr<WABSIndividual> parent;
    EventDate parentBirth;
    const WDate* end = nullptr;
    if (m_code == 20) {
        const int32_t family = individual->SpouseFamily(FamilyOccurrence(occurrence));
        if (family != 0) marriage = m_collection->GetMarriage(family);
        if (marriage) end = marriage->Date();
    } else {
        const int32_t r = m_code == 59 ? m_collection->Father(n) : m_collection->Mother(n);
        if (r != 0) parent = m_collection->GetIndividual(r);
        if (parent) {
            parentBirth = DateOfEvent(*parent, kEventBirth);
            end = parentBirth.date;
        }
    }
    if (end == nullptr || !end->IsSet()) return {};
    if (!m_diff.Compute(start.date, end) || m_diff.Years() > kMaxAgeYears) return {};
    return bracketed ? "[" + m_diff.AgeText() + "]" : m_diff.AgeText();
}

// ---------------------------------------------------------------------------------------------
// WAttribHas

WAttribHas::WAttribHas(WABSCollection* collection, int code) : WAttrib(collection, code) {}

std::string WAttribHas::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    switch (m_code) {
        case 21:
            return m_collection->HasAnyNotes(n) ? kYes : kNo;
        case 22:
            return m_collection->HasAnySources(n) ? kYes : kNo;
        default:
            return individual->EventCount(kEventOther) > 0 ? kYes : kNo;
    }
}

// ---------------------------------------------------------------------------------------------
// Integer columns

WAttribCount::WAttribCount(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortInteger) {}

std::string WAttribCount::ValueText(int32_t n, int) {
    return std::to_string(IntValue(n));
}

WAttribNumMarriages::WAttribNumMarriages(WABSCollection* collection)
    : WAttribCount(collection, 24) {}

int32_t WAttribNumMarriages::IntValue(int32_t n) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    return individual ? individual->SpouseFamilyCount() : 0;
}

WAttribNumParents::WAttribNumParents(WABSCollection* collection) : WAttribCount(collection, 25) {}

int32_t WAttribNumParents::IntValue(int32_t n) {
    return m_collection != nullptr && n >= 1 ? m_collection->ParentCount(n) : 0;
}

WAttribNumChildren::WAttribNumChildren(WABSCollection* collection) : WAttribCount(collection, 26) {}

int32_t WAttribNumChildren::IntValue(int32_t n) {
    return m_collection != nullptr && n >= 1 ? m_collection->TotalChildren(n) : 0;
}

WAttribNumAnc::WAttribNumAnc(WABSCollection* collection, int code)
    : WAttribCount(collection, code) {}

int32_t WAttribNumAnc::IntValue(int32_t n) {
    if (m_collection == nullptr || n < 1 || n > m_collection->IndividualCount()) return 0;
    const int32_t value =
        m_code == 27 ? m_collection->AncestorTotal(n) : m_collection->AncestorGenerations(n);
    return value < 0 ? 0 : value;
}

bool WAttribNumAnc::ValueReady(int32_t n) {
    // Generation depths are kept for every individual a walk passes; totals only for its start.
    return m_code != 27 || m_collection == nullptr || m_collection->TreeTotalKnown(n, true);
}

WAttribNumDes::WAttribNumDes(WABSCollection* collection, int code)
    : WAttribCount(collection, code) {}

int32_t WAttribNumDes::IntValue(int32_t n) {
    if (m_collection == nullptr || n < 1 || n > m_collection->IndividualCount()) return 0;
    const int32_t value =
        m_code == 28 ? m_collection->DescendantTotal(n) : m_collection->DescendantGenerations(n);
    return value < 0 ? 0 : value;
}

bool WAttribNumDes::ValueReady(int32_t n) {
    return m_code != 28 || m_collection == nullptr || m_collection->TreeTotalKnown(n, false);
}

// ---------------------------------------------------------------------------------------------
// LDS columns

WAttribLDS::WAttribLDS(WABSCollection* collection) : WAttrib(collection, 29) {
    m_tabStops.count = 3;
    m_tabStops.offsets[0] = 8;
    m_tabStops.offsets[1] = 16;
    m_tabStops.offsets[2] = 24;
}

std::string WAttribLDS::ValueText(int32_t n, int occurrence) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    std::string text;
    text += individual->HasLDSEvent(kEventLdsBaptism) ? 'B' : '-';
    text += '\t';
    text += individual->HasLDSEvent(kEventLdsEndowment) ? 'E' : '-';
    text += '\t';
    text += individual->HasLDSEvent(kEventLdsSealingToParents) ? 'P' : '-';
    text += '\t';
    text += m_collection->HasSpouseSealing(n, FamilyOccurrence(occurrence)) ? 'S' : '-';
    return text;
}

WAttribLDSDate::WAttribLDSDate(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortDate) {}

std::string WAttribLDSDate::ValueText(int32_t n, int occurrence) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    const int kind = OrdinanceKindOf(m_code);
    if (kind == kEventLdsSealingToSpouse) {
        return m_collection->SealingDateText(n, FamilyOccurrence(occurrence));
    }
    return individual->LDSDateText(kind);
}

std::string WAttribLDSDate::SortText(int32_t n) {
    return ValueText(n, 1);
}

WAttribLDSTemple::WAttribLDSTemple(WABSCollection* collection, int code)
    : WAttrib(collection, code) {}

std::string WAttribLDSTemple::ValueText(int32_t n, int occurrence) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    if (!individual) return {};
    const int kind = OrdinanceKindOf(m_code);
    if (kind == kEventLdsSealingToSpouse) {
        return m_collection->SealingTempleText(n, FamilyOccurrence(occurrence), false);
    }
    return individual->LDSTempleText(kind, false);
}

// ---------------------------------------------------------------------------------------------
// WAttribRelation

WAttribRelation::WAttribRelation(WABSCollection* collection, int code)
    : WAttrib(collection, code), m_calc(std::make_unique<WRelCalc>(collection)) {}

WAttribRelation::~WAttribRelation() = default;

void WAttribRelation::SetCollection(WABSCollection* collection) {
    WAttrib::SetCollection(collection);
    m_calc = std::make_unique<WRelCalc>(collection);
}

std::string WAttribRelation::ValueText(int32_t n, int) {
    if (m_collection == nullptr || m_reference < 1 || n < 1) return {};
    const int32_t count = m_collection->IndividualCount();
    if (n > count || m_reference > count) return {};
    const std::string relation = m_calc->Relationship(m_reference, n);
    if (m_code == 38) return relation;
    return m_calc->CommonAncestorName(m_reference, n, m_code == 39);
}

// ---------------------------------------------------------------------------------------------
// WAttribALive

WAttribALive::WAttribALive(WABSCollection* collection) : WAttrib(collection, 40) {}

std::string WAttribALive::ValueText(int32_t n, int) {
    const std::unique_ptr<WABSIndividual> individual = Individual(n);
    return individual && individual->IsLiving(kLivingLimit) ? kYes : kNo;
}

// ---------------------------------------------------------------------------------------------
// WAttribIsland

WAttribIsland::WAttribIsland(WABSCollection* collection) : WAttribCount(collection, 58) {}

void WAttribIsland::SetCollection(WABSCollection* collection) {
    WAttribCount::SetCollection(collection);
    if (collection == nullptr) return;
    WIslands& islands = WIslands::Of(*collection);
    if (islands.IsCalculated()) return;
    ReportProgress(WIslands::kCalculatingMessage, 0, 0);
    islands.CalculateIslands();
    ReportProgress(WIslands::kCalculatingMessage, 1, 1);
}

int32_t WAttribIsland::IntValue(int32_t n) {
    if (m_collection == nullptr || n < 1) return 0;
    return WIslands::Of(*m_collection).IslandOf(n);
}

// ---------------------------------------------------------------------------------------------
// WAttribAvgGens

WAttribAvgGens::WAttribAvgGens(WABSCollection* collection, int code)
    : WAttrib(collection, code, kSortNumber) {}

double WAttribAvgGens::FloatValue(int32_t n) {
    if (m_collection == nullptr || n < 1 || n > m_collection->IndividualCount()) return 0.0;
    return m_code == 63 ? m_collection->AverageAncestorGenerations(n)
                        : m_collection->AverageDescendantGenerations(n);
}

std::string WAttribAvgGens::ValueText(int32_t n, int) {
    if (m_collection == nullptr || n < 1 || n > m_collection->IndividualCount()) return {};
    // printf writes the decimal separator of the current numeric locale.
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", FloatValue(n));
    return text;
}

}  // namespace kindrel
