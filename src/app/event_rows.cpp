#include "app/event_rows.h"

#include "app/person_colours.h"
#include "gedcom/individual_report.h"
#include "model/collection.h"
#include "model/date.h"
#include "model/records.h"
#include "services/options.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace kindrel {

namespace {

// The indent of child and spouse-sealing rows under their marriage outside chronological mode.
constexpr const char* kIndent = "     ";
constexpr const char* kCreatedPrefix = "[Created by Kindrel] ";
constexpr const char* kSameDateAge = "-----";
constexpr int kKindUserId = 3;

// An event kind with the type text of its row.
struct KindType {
    int kind;
    const char* type;
};
constexpr KindType kVitalRows[] = {{kEventBirth, "Birth"},
                                   {kEventChristening, "Christening"},
                                   {kEventDeath, "Death"},
                                   {kEventBurial, "Burial"}};
constexpr KindType kLdsRows[] = {{kEventLdsBaptism, "LDS Baptism"},
                                 {kEventLdsEndowment, "LDS Endowment"},
                                 {kEventLdsSealingToParents, "LDS Sealed To Parents"}};

// The date every age of the page is measured from.
struct Reference {
    std::optional<WDate> date;  // none without a birth or christening date with a year
    bool bracketed = false;     // the christening stands in for the birth
};

bool SameParts(const WDatePart& a, const WDatePart& b) {
    return a.calendar == b.calendar && a.eraMark == b.eraMark && a.day == b.day &&
           a.month == b.month && a.year == b.year;
}

// The two dates say the same: the same text, or the same parsed value.
bool SameDate(const WDate& a, const WDate& b) {
    if (a.Text() == b.Text()) return true;
    return a.IsClean() && b.IsClean() && a.Qualifier() == b.Qualifier() &&
           a.SecondQualifier() == b.SecondQualifier() && SameParts(a.FirstPart(), b.FirstPart()) &&
           SameParts(a.SecondPart(), b.SecondPart());
}

// A copy of the event's date when it is set and has a year.
std::optional<WDate> DateWithYear(WABSEvent* event) {
    if (event == nullptr) return std::nullopt;
    const WDate* date = event->Date();
    if (date == nullptr || !date->IsSet() || date->Year() == 0) return std::nullopt;
    return *date;
}

// "Male", "Female" or "Unknown" for a sex letter.
const char* SexWord(char sex) {
    if (sex == 'M' || sex == 'm') return "Male";
    if (sex == 'F' || sex == 'f') return "Female";
    return "Unknown";
}

// Builds the rows of one individual in the order of the list; each Add... appends one row.
class RowBuilder {
  public:
    RowBuilder(WABSCollection& collection, WHLGroup* group, const WEventRowOptions& options)
        : m_collection(collection), m_group(group), m_options(options) {}

    std::vector<WEventRow> Build(int32_t n, bool withSexAndModify) {
        const std::unique_ptr<WABSIndividual> person = m_collection.GetIndividual(n);
        if (!person) return {};
        m_n = n;
        FindReference(*person);
        AddIdentifier(*person);
        AddName(*person);
        if (withSexAndModify) {
            Fixed("Sex").information = SexWord(person->Sex());
            Fixed("Modify Date").date = person->ChangeDateText();
        }
        const size_t fixedRows = m_rows.size();
        for (const KindType& vital : kVitalRows)
            AddEvent(person->Event(vital.kind, 1).get(), vital.type);
        if (m_options.useLds) {
            for (const KindType& lds : kLdsRows)
                AddEvent(person->LDSEvent(lds.kind).get(), lds.type);
        }
        const int32_t events = person->EventCount(kEventOther);
        for (int32_t i = 1; i <= events; ++i) {
            const std::unique_ptr<WABSEvent> event = person->Event(kEventOther, i);
            if (event) AddEvent(event.get(), EventLabel(*event));
        }
        const int32_t witnesses = person->WitnessCount();
        for (int32_t j = 1; j <= witnesses; ++j) AddWitness(*person, j);
        AddParents(*person);
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families; ++i) AddFamily(i, person->SpouseFamily(i));
        if (m_options.chronological) SortEventRowsChronologically(m_rows, fixedRows);
        return std::move(m_rows);
    }

  private:
    WEventRow& Fixed(const std::string& type) {
        WEventRow& row = m_rows.emplace_back();
        row.type = type;
        return row;
    }

    // A row that shows only its type; none in chronological mode.
    void TypeOnly(const std::string& type) {
        if (!m_options.chronological) Fixed(type);
    }

    void Colour(WEventRow& row, int32_t individual) {
        const WColourPair colours = PersonColours(m_group, individual);
        row.background = colours.background;
        row.text = colours.text;
    }

    std::string AgeAt(const WDate* date) const {
        return m_reference.date ? EventAgeText(&*m_reference.date, m_reference.bracketed, date)
                                : std::string();
    }

    void FindReference(WABSIndividual& person) {
        const std::unique_ptr<WABSEvent> birth = person.Event(kEventBirth, 1);
        m_reference.date = DateWithYear(birth.get());
        m_reference.bracketed = false;
        if (m_reference.date) return;
        const std::unique_ptr<WABSEvent> christening = person.Event(kEventChristening, 1);
        m_reference.date = DateWithYear(christening.get());
        m_reference.bracketed = m_reference.date.has_value();
    }

    void AddIdentifier(WABSIndividual& person) {
        const int kind = m_collection.Kind();
        WEventRow& row = Fixed(std::string(kind == kKindGedcom ? "REF / AFN /" : "RIN / AFN /") +
                               (kind == kKindUserId ? " User ID" : " Custom"));
        row.information =
            person.IdText() + " / " + person.AfnText() + " / " + person.RefNumberText();
        row.notes = person.NoteText();
        row.sources = person.CitationsText();
    }

    void AddName(WABSIndividual& person) {
        WEventRow& row = Fixed("Name");
        row.link = m_n;
        row.information = person.FullName(true);
        if (const std::unique_ptr<WABSName> name = person.Name()) {
            row.notes = name->NoteText();
            row.sources = name->CitationsText();
        }
        Colour(row, m_n);
    }

    // The row of an event, or a type-only row when it is missing.
    void AddEvent(WABSEvent* event, const std::string& type) {
        if (event == nullptr) {
            TypeOnly(type);
            return;
        }
        WEventRow& row = Fixed(type);
        row.date = event->DateText();
        row.sortKey = event->SortDateText();
        row.information = event->PlaceText();
        row.age = AgeAt(event->Date());
        row.notes = event->NoteText();
        row.sources = event->CitationsText();
    }

    // The row of a person: birth date, summary, age at their birth, their colours.
    void AddPerson(int32_t individual, const std::string& type) {
        WEventRow& row = Fixed(type);
        row.link = individual;
        Colour(row, individual);
        const std::unique_ptr<WABSIndividual> person = m_collection.GetIndividual(individual);
        if (!person) return;
        const std::unique_ptr<WABSEvent> birth = person->Event(kEventBirth, 1);
        if (birth) {
            row.date = birth->DateText();
            row.age = AgeAt(birth->Date());
        }
        row.sortKey = row.date;
        row.information = person->SummaryText();
        row.notes = person->NoteText();
        row.sources = person->CitationsText();
    }

    // Witness link j. The record interface names only the people of a link, not the event
    // witnessed, so the row leads to its principal and names them.
    void AddWitness(WABSIndividual& person, int32_t j) {
        WWitnessLink link;
        if (!person.Witness(j, link) || link.first <= 0) {
            TypeOnly("Witness");
            return;
        }
        WEventRow& row = Fixed("Witness");
        row.link = link.first;
        row.information = m_collection.DisplayNameOf(link.first);
        Colour(row, link.first);
    }

    void AddParents(WABSIndividual& person) {
        const int32_t count = person.ParentFamilyCount();
        for (int32_t i = 1; i <= count; ++i) {
            int32_t family = 0;
            int fatherCode = 0;
            int motherCode = 0;
            if (!person.ParentFamilyLink(i, family, fatherCode, motherCode)) continue;
            const std::unique_ptr<WABSMarriage> marriage = m_collection.GetMarriage(family);
            if (!marriage) continue;
            // With several parent families the first one is marked as the preferred.
            const std::string mark = i == 1 && count > 1 ? " (P)" : "";
            if (const int32_t father = marriage->Husband())
                AddPerson(father, WABSCollection::RelationText(fatherCode) + mark);
            if (const int32_t mother = marriage->Wife())
                AddPerson(mother, WABSCollection::RelationText(motherCode) + mark);
        }
    }

    void AddFamily(int32_t i, int32_t family) {
        const std::unique_ptr<WABSMarriage> marriage = m_collection.GetMarriage(family);
        if (!marriage) return;
        const bool chrono = m_options.chronological;
        const std::string numbered =
            "Marriage " + std::to_string(i) + " (" + std::to_string(marriage->ChildCount()) + ")";
        const int32_t spouse = marriage->OtherSpouse(m_n);
        const std::string place = marriage->MarriagePlaceText();
        if (spouse > 0) {
            // A family the program made itself has no events of its own to order.
            if (!(chrono && marriage->Reserved())) {
                WEventRow& row = Fixed(chrono ? "Marriage" : numbered);
                row.link = spouse;
                row.date = marriage->DateText();
                row.sortKey = marriage->SortDateText();
                row.age = AgeAt(marriage->Date());
                row.information = std::string(marriage->Reserved() ? kCreatedPrefix : "") +
                                  m_collection.FullNameOf(spouse) + ", m. " + row.date +
                                  (place.empty() ? "" : ", " + place);
                row.notes = marriage->NoteText();
                row.sources = marriage->CitationsText();
                Colour(row, spouse);
            }
            if (m_options.useLds) {
                const std::string type =
                    std::string(chrono ? "" : kIndent) + "LDS Sealed to Spouse";
                AddEvent(marriage->Sealing().get(), type);
            }
        } else {
            WEventRow& row = Fixed(numbered);
            row.date = marriage->DateText();
            row.sortKey = marriage->SortDateText();
            row.age = AgeAt(marriage->Date());
            if (!row.date.empty() || !place.empty())
                row.information = "m. " + row.date + (place.empty() ? "" : ", " + place);
            row.notes = marriage->NoteText();
            row.sources = marriage->CitationsText();
        }
        AddChildren(*marriage, family);
    }

    void AddChildren(WABSMarriage& marriage, int32_t family) {
        marriage.OrderChildren();
        const bool husband = marriage.Husband() == m_n;
        const int32_t count = marriage.ChildCount();
        for (int32_t j = 1; j <= count; ++j) {
            const int32_t child = marriage.Child(j);
            if (child <= 0) continue;
            std::string word = "Child";
            if (const std::unique_ptr<WABSIndividual> kid = m_collection.GetIndividual(child)) {
                // The child's own link to this family says how this parent is related.
                const int32_t links = kid->ParentFamilyCount();
                for (int32_t k = 1; k <= links; ++k) {
                    int32_t linked = 0;
                    int fatherCode = 0;
                    int motherCode = 0;
                    if (!kid->ParentFamilyLink(k, linked, fatherCode, motherCode) ||
                        linked != family)
                        continue;
                    word = WABSCollection::RelationText(WABSCollection::ChildRelationCode(
                        husband ? fatherCode : motherCode, kid->Sex()));
                    break;
                }
            }
            AddPerson(child, (m_options.chronological ? "" : kIndent) + word);
        }
    }

    WABSCollection& m_collection;
    WHLGroup* m_group;
    WEventRowOptions m_options;
    int32_t m_n = 0;
    Reference m_reference;
    std::vector<WEventRow> m_rows;
};

// The order of a dated row's qualifier among rows of the same day: before ("Bef") first, then
// "Cal", "Abt" and "Cir", "Est", the plain date (and the ranges, which equal everything), after
// ("Aft") last. This extends every strict step of the date comparison's qualifier table to
// one total order, so equal keys are a plain tie and the sort stays consistent.
int QualifierRank(int qualifier) {
    switch (qualifier) {
        case WDate::kQualBef:
            return 0;
        case WDate::kQualCal:
            return 1;
        case WDate::kQualAbt:
        case WDate::kQualCir:
            return 2;
        case WDate::kQualEst:
            return 3;
        case WDate::kQualAft:
            return 5;
        default:
            return 4;
    }
}

// A row's place in the chronological order, parsed once from its sort key.
struct ChronoKey {
    bool dated = false;
    int year = 0, month = 0, day = 0, rank = 0;
    const WEventRow* row = nullptr;
    std::size_t index = 0;  // the row's position before sorting
};

ChronoKey KeyOf(const WEventRow& row, std::size_t index) {
    ChronoKey key;
    key.row = &row;
    key.index = index;
    if (row.sortKey.empty()) return key;
    const WDate date(row.sortKey);
    if (!date.IsSet() || !date.IsClean() || date.Year() == 0) return key;
    key.dated = true;
    key.year = date.Year();
    key.month = date.Month();
    key.day = date.Day();
    key.rank = QualifierRank(date.Qualifier());
    return key;
}

// A strict weak order: undated rows before dated ones; dated rows by (year, month, day,
// qualifier rank), undated ones by sort-key text; then both by type text. Every part is a
// total order of integers or byte strings, so the whole is one too.
bool ChronoLess(const ChronoKey& a, const ChronoKey& b) {
    if (a.dated != b.dated) return b.dated;
    if (a.dated) {
        if (a.year != b.year) return a.year < b.year;
        if (a.month != b.month) return a.month < b.month;
        if (a.day != b.day) return a.day < b.day;
        if (a.rank != b.rank) return a.rank < b.rank;
    } else if (const int c = a.row->sortKey.compare(b.row->sortKey); c != 0) {
        return c < 0;
    }
    return a.row->type < b.row->type;
}

}  // namespace

WEventRowOptions WEventRowOptions::FromSettings(WOptions& options) {
    WEventRowOptions result;
    result.chronological = options.ReadBool(Opt::Chrono);
    result.useLds = options.ReadBool(Opt::UseLDS);
    return result;
}

std::vector<WEventRow> BuildEventRows(WABSCollection& collection, int32_t n, bool withSexAndModify,
                                      WHLGroup* group, const WEventRowOptions& options) {
    return RowBuilder(collection, group, options).Build(n, withSexAndModify);
}

void RecolourEventRows(std::vector<WEventRow>& rows, WHLGroup* group) {
    for (WEventRow& row : rows) {
        const WColourPair colours = PersonColours(group, row.link);
        row.background = colours.background;
        row.text = colours.text;
    }
}

void SortEventRowsChronologically(std::vector<WEventRow>& rows, std::size_t from) {
    if (from >= rows.size()) return;
    std::vector<ChronoKey> keys;
    keys.reserve(rows.size() - from);
    for (std::size_t i = from; i < rows.size(); ++i) keys.push_back(KeyOf(rows[i], i));
    std::stable_sort(keys.begin(), keys.end(), ChronoLess);
    std::vector<WEventRow> sorted;
    sorted.reserve(keys.size());
    for (const ChronoKey& key : keys) sorted.push_back(std::move(rows[key.index]));
    std::move(sorted.begin(), sorted.end(), rows.begin() + static_cast<std::ptrdiff_t>(from));
}

std::string EventAgeText(const WDate* reference, bool bracketed, const WDate* date) {
    if (reference == nullptr || date == nullptr || !reference->IsSet() || !date->IsSet() ||
        reference->Year() == 0 || date->Year() == 0)
        return {};
    if (SameDate(*reference, *date)) return kSameDateAge;
    WDateDiff diff;
    if (!diff.Compute(reference, date)) return {};
    // A positive day count means the reference lies after the date (a parent's birth). The
    // difference counts exact spans right only from the earlier date, so measure from there.
    const bool before = diff.Days() > 0;
    if (before) diff.Compute(date, reference);
    std::string age = diff.AgeText();
    if (before && diff.Years() != 0) age = "-" + age;
    return bracketed ? "[" + age + "]" : age;
}

}  // namespace kindrel
