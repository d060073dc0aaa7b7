// The per-individual rules. Each Evaluate obtains the individual's record once, answers from
// it (and from the collection's navigation), stores the answer and releases the record.
#include "highlight/hl_rules.h"

#include "containers/errors.h"
#include "model/collection.h"
#include "model/records.h"
#include "model/upper_case.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kindrel {

namespace {

// The text of code among the codes listed in order, or empty.
template <size_t N>
std::string WordFor(int code, const int (&codes)[N], const char* const (&words)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (codes[i] == code) return words[i];
    }
    return {};
}

// The name two individuals are compared by: the full name with prefix and suffix,
// upper-cased through the byte table; empty for an individual without a given name or
// surname, so that two unnamed children do not count as alike.
std::string ComparableName(WABSCollection& collection, int32_t n) {
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return {};
    const std::unique_ptr<WABSName> name = person->Name();
    if (!name || (name->GivenNames().empty() && name->Surname().empty())) return {};
    return UpperCaseBytes(person->FullName(true));
}

// The surname of n upper-cased through the byte table; empty without individual or surname.
std::string UpperSurname(WABSCollection& collection, int32_t n) {
    if (n == 0) return {};
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    return person ? UpperCaseBytes(WABSHLInd::PlainSurname(*person)) : std::string();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int32_t HLIntOr(std::string_view text, int32_t fallback) {
    int32_t value = 0;
    return ParseHLInt(text, value) ? value : fallback;
}

// ---------------------------------------------------------------------------------------------
// WHLNoDate

void WHLNoDate::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person) {
        SetResult(individual, false);
        return;
    }
    bool result = true;
    if (m_code == 10) {
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families && result; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(person->SpouseFamily(i));
            if (family && !family->DateText().empty()) result = false;
        }
    } else if (m_code >= 2 && m_code <= 8) {
        result = !person->HasDate(kHLVitalKinds[(m_code - 2) / 2]);
    }
    SetResult(individual, result);
}

std::string WHLNoDate::Describe() {
    static constexpr int kCodes[] = {2, 4, 6, 8, 10};
    static constexpr const char* kWords[] = {"birth date", "christening date", "death date",
                                             "burial date", "marriage date"};
    return (m_negated ? "with " : "with no ") + WordFor(m_code, kCodes, kWords);
}

// ---------------------------------------------------------------------------------------------
// WHLNoPlace

void WHLNoPlace::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person) {
        SetResult(individual, false);
        return;
    }
    bool result = true;
    if (m_code == 11) {
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families && result; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(person->SpouseFamily(i));
            if (family && !family->MarriagePlaceText().empty()) result = false;
        }
    } else if (m_code == 12) {
        for (const int kind : {kEventBirth, kEventDeath, kEventBurial, kEventChristening}) {
            if (!person->PlaceText(kind).empty()) {
                result = false;
                break;
            }
        }
    } else if (m_code >= 3 && m_code <= 9) {
        result = person->PlaceText(kHLVitalKinds[(m_code - 3) / 2]).empty();
    }
    SetResult(individual, result);
}

std::string WHLNoPlace::Describe() {
    static constexpr int kCodes[] = {3, 5, 7, 9, 11, 12};
    static constexpr const char* kWords[] = {"birth place",  "christening place", "death place",
                                             "burial place", "marriage place",    "place"};
    return (m_negated ? "with a " : "without a ") + WordFor(m_code, kCodes, kWords);
}

// ---------------------------------------------------------------------------------------------
// Names and parents

void WHLNoSurname::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    SetResult(individual, person && PlainSurname(*person).empty());
}

std::string WHLNoSurname::Describe() {
    return m_negated ? "with a surname" : "without a surname";
}

void WHLNoGivenName::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    SetResult(individual, person && person->GivenNames().empty());
}

std::string WHLNoGivenName::Describe() {
    return m_negated ? "with a given name" : "without a given name";
}

void WHLNoFather::Evaluate(int32_t individual) {
    const bool exists = m_collection != nullptr && Exists(individual);
    SetResult(individual, exists && m_collection->Father(individual) == 0);
}

std::string WHLNoFather::Describe() {
    return m_negated ? "with a father" : "without a father";
}

void WHLNoMother::Evaluate(int32_t individual) {
    const bool exists = m_collection != nullptr && Exists(individual);
    SetResult(individual, exists && m_collection->Mother(individual) == 0);
}

std::string WHLNoMother::Describe() {
    return m_negated ? "with a mother" : "without a mother";
}

// ---------------------------------------------------------------------------------------------
// WHLSex

void WHLSex::Prepare() {
    m_sex = m_parameter.empty() ? 'M' : m_parameter[0];
    FillResults(kHLUnknown);
}

void WHLSex::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    SetResult(individual, person && person->Sex() == m_sex);
}

std::string WHLSex::Describe() {
    switch (m_sex) {
        case 'M':
            return m_negated ? "not male" : "male";
        case 'F':
            return m_negated ? "not female" : "female";
        case 'U':
            return m_negated ? "with known sex type" : "with unknown sex type";
        default:
            return {};
    }
}

// ---------------------------------------------------------------------------------------------
// WHLHas

void WHLHas::Prepare() {
    m_limit = HLIntOr(m_parameter, 110);
    FillResults(kHLUnknown);
}

void WHLHas::Evaluate(int32_t individual) {
    bool result = false;
    if (m_code == 18) {
        result =
            m_collection != nullptr && Exists(individual) && m_collection->HasAnyNotes(individual);
    } else if (const std::unique_ptr<WABSIndividual> person = Individual(individual)) {
        const int age = person->Age();
        result = age >= 0 && age < m_limit;
    }
    SetResult(individual, result);
}

std::string WHLHas::Describe() {
    std::string text = m_negated ? "without " : "with ";
    if (m_code == 18) return text + "notes";
    return text + "an age (limit = " + std::to_string(m_limit) + ")";
}

// ---------------------------------------------------------------------------------------------
// WHLAFN

void WHLAFN::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    SetResult(individual, person && !person->AfnText().empty());
}

std::string WHLAFN::Describe() {
    return m_negated ? "without AFN" : "with AFN";
}

// ---------------------------------------------------------------------------------------------
// LDS

void WHLHasLDS::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person) {
        SetResult(individual, false);
        return;
    }
    bool result = false;
    switch (m_code) {
        case 31:
        case 32:
        case 33:
            result = person->HasLDSEvent(m_code - 31 + kEventLdsBaptism);
            break;
        case 34:
            result = m_collection->HasSpouseSealing(individual, 0);
            break;
        case 79:
        case 80:
        case 81:
            result = !person->LDSDateText(m_code - 79 + kEventLdsBaptism).empty();
            break;
        case 82:
            result = !m_collection->SealingDateText(individual, 1).empty();
            break;
        case 83:
        case 84:
        case 85:
            result = !person->LDSTempleText(m_code - 83 + kEventLdsBaptism, false).empty();
            break;
        case 86:
            result = !m_collection->SealingTempleText(individual, 1, false).empty();
            break;
        default:
            break;
    }
    SetResult(individual, result);
}

std::string WHLHasLDS::Describe() {
    static constexpr int kCodes[] = {31, 32, 33, 34, 79, 80, 81, 82, 83, 84, 85, 86};
    static constexpr const char* kWords[] = {
        "Baptism",       "Endowment",       "Sealed to Parents",       "Sealed to Spouse",
        "Baptism Date",  "Endowment Date",  "Sealed to Parents Date",  "Sealed to Spouse Date",
        "Baptism Place", "Endowment Place", "Sealed to Parents Place", "Sealed to Spouse Place"};
    return (m_negated ? "without LDS " : "with LDS ") + WordFor(m_code, kCodes, kWords);
}

void WHLLDS::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    const bool result = person && (person->HasLDSEvent(kEventLdsBaptism) ||
                                   person->HasLDSEvent(kEventLdsEndowment) ||
                                   person->HasLDSEvent(kEventLdsSealingToParents) ||
                                   m_collection->HasSpouseSealing(individual, 0));
    SetResult(individual, result);
}

std::string WHLLDS::Describe() {
    return m_negated ? "Individuals without LDS Events" : "Individuals with LDS Events";
}

// ---------------------------------------------------------------------------------------------
// Spouses and children

void WHLMarriedNoSpouse::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    bool result = false;
    if (person) {
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families && !result; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(person->SpouseFamily(i));
            if (family && family->OtherSpouse(individual) == 0) result = true;
        }
    }
    SetResult(individual, result);
}

std::string WHLMarriedNoSpouse::Describe() {
    return m_negated ? "married with spouse entered" : "married with no spouse entered";
}

void WHLMarriedSameName::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    bool result = false;
    if (person && person->SpouseFamilyCount() >= 2) {
        std::unordered_set<std::string> names;
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families && !result; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(person->SpouseFamily(i));
            if (!family) continue;
            const int32_t spouse = family->OtherSpouse(individual);
            if (spouse == 0) continue;
            std::string name = ComparableName(*m_collection, spouse);
            if (name.empty()) continue;
            if (!names.insert(std::move(name)).second) result = true;
        }
    }
    SetResult(individual, result);
}

std::string WHLMarriedSameName::Describe() {
    return m_negated ? "married with spouses with different names"
                     : "married with spouses with same names";
}

void WHLChildSameName::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person) {
        SetResult(individual, false);
        return;
    }
    // The pairs (other parent, child's name) in family and child order.
    struct Pair {
        int32_t otherParent;
        std::string name;
    };
    std::vector<Pair> pairs;
    const int32_t families = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= families; ++i) {
        const std::unique_ptr<WABSMarriage> family =
            m_collection->GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        const int32_t other = family->OtherSpouse(individual);
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) {
            const int32_t child = family->Child(c);
            if (child <= 0) continue;
            std::string name = ComparableName(*m_collection, child);
            if (!name.empty()) pairs.push_back({other, std::move(name)});
        }
    }
    // The first equal pair (i, j) in the order i < j: i is the earliest first occurrence of a
    // name that occurs again, j that name's second occurrence. Sorting the positions by name
    // finds it without comparing every pair.
    std::vector<size_t> order(pairs.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&pairs](size_t a, size_t b) { return pairs[a].name < pairs[b].name; });
    size_t bestI = pairs.size();
    size_t bestJ = pairs.size();
    for (size_t k = 0; k + 1 < order.size(); ++k) {
        // order[k] is the first occurrence of its name when the entry before differs.
        if (k > 0 && pairs[order[k - 1]].name == pairs[order[k]].name) continue;
        if (pairs[order[k + 1]].name != pairs[order[k]].name) continue;
        if (order[k] < bestI) {
            bestI = order[k];
            bestJ = order[k + 1];
        }
    }
    if (bestI == pairs.size()) {
        SetResult(individual, false);
        return;
    }
    SetResult(individual, true);
    if (pairs[bestI].otherParent > 0) SetResult(pairs[bestI].otherParent, true);
    if (pairs[bestJ].otherParent > 0) SetResult(pairs[bestJ].otherParent, true);
}

std::string WHLChildSameName::Describe() {
    return m_negated ? "with no children having the same name"
                     : "with children having the same name";
}

// ---------------------------------------------------------------------------------------------
// WHLDate

WHLDate::WHLDate(WABSCollection* collection, int code)
    : WABSHLInd(collection, code), m_date("TODAY") {}

void WHLDate::Prepare() {
    FillResults(kHLUnknown);
    m_date.SetText(m_parameter);
    m_qualifier = m_date.Qualifier();
    if (!m_date.IsSet() || !m_date.IsClean() || m_date.Year() == 0) {
        // Nothing can be compared with a date that could not be read; answer false meanwhile.
        FillResults(kHLFalse);
        throw KindrelError("Condition " + std::to_string(m_code) + ": the date \"" + m_parameter +
                           "\" could not be read.");
    }
}

void WHLDate::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person || m_code < 39 || m_code > 42) {
        SetResult(individual, false);
        return;
    }
    const std::unique_ptr<WABSEvent> event = person->Event(kHLVitalKinds[m_code - 39], 1);
    const WDate* date = event ? event->Date() : nullptr;
    // A date that could not be read has no place in time: it is neither before nor after.
    if (date == nullptr || !date->IsSet() || !date->IsClean()) {
        SetResult(individual, false);
        return;
    }
    bool result = false;
    switch (m_qualifier) {
        case WDate::kQualBef:
            result = m_date.Compare(date) > 0;
            break;
        case WDate::kQualAft:
            result = m_date.Compare(date) < 0;
            break;
        case WDate::kQualAbt: {
            WDate moved = *date;
            if (!moved.SubtractYears(5) || m_date.Compare(moved) <= 0) break;
            result = moved.AddYears(10) && m_date.Compare(moved) < 0;
            break;
        }
        default:
            result = m_date.Compare(date) == 0;
            break;
    }
    SetResult(individual, result);
}

std::string WHLDate::Describe() {
    static constexpr const char* kWords[] = {"birth date", "christening date", "death date",
                                             "burial date"};
    std::string text = m_negated ? "with not " : "with ";
    if (m_code >= 39 && m_code <= 42) text += kWords[m_code - 39];
    text += ' ';
    if (m_qualifier != WDate::kQualBef && m_qualifier != WDate::kQualAft &&
        m_qualifier != WDate::kQualAbt) {
        text += "= ";
    }
    return text + m_date.Text();
}

// ---------------------------------------------------------------------------------------------
// WHLInt

void WHLInt::Prepare() {
    m_comparison = 1;
    m_value = -1;
    if (!m_parameter.empty() && IsDigit(m_parameter[0])) {
        m_comparison = m_parameter[0] - '0';
        m_value = HLIntOr(std::string_view(m_parameter).substr(1), -1);
    } else {
        m_value = HLIntOr(m_parameter, -1);
    }
    FillResults(kHLUnknown);
}

void WHLInt::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person || m_value < 0) {
        SetResult(individual, false);
        return;
    }
    int64_t n = -1;
    switch (m_code) {
        case 44:
            n = person->Age();
            break;
        case 45:
            n = person->SpouseFamilyCount();
            break;
        case 46:
            n = m_collection->ParentCount(individual);
            break;
        case 47:
            n = m_collection->TotalChildren(individual);
            break;
        case 48:
            n = m_collection->SonCount(individual);
            break;
        case 49:
            n = m_collection->DaughterCount(individual);
            break;
        case 50:
            n = m_collection->AncestorTotal(individual);
            break;
        case 51:
            n = m_collection->DescendantTotal(individual);
            break;
        case 78:
            n = person->ParentFamilyCount();
            break;
        default:
            break;
    }
    bool result = false;
    if (n >= 0) {
        switch (m_comparison) {
            case 1:
                result = n == m_value;
                break;
            case 2:
                result = n < m_value;
                break;
            case 3:
                result = n <= m_value;
                break;
            case 4:
                result = n > m_value;
                break;
            case 5:
                result = n >= m_value;
                break;
            default:
                break;
        }
    }
    SetResult(individual, result);
}

std::string WHLInt::Describe() {
    static constexpr int kCodes[] = {44, 45, 46, 47, 48, 49, 50, 51, 78};
    static constexpr const char* kWords[] = {"age",         "# marriages",   "# parents",
                                             "# children",  "# sons",        "# daughters",
                                             "# ancestors", "# descendants", "# families"};
    static constexpr const char* kPlain[] = {" = ", " < ", " <= ", " > ", " >= "};
    static constexpr const char* kNegated[] = {" <> ", " >= ", " > ", " <= ", " < "};
    std::string text = "with " + WordFor(m_code, kCodes, kWords);
    if (m_comparison >= 1 && m_comparison <= 5) {
        text += (m_negated ? kNegated : kPlain)[m_comparison - 1];
    }
    return text + std::to_string(m_value);
}

// ---------------------------------------------------------------------------------------------
// WHLWarning

void WHLWarning::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    const std::string own = person ? UpperCaseBytes(PlainSurname(*person)) : std::string();
    if (own.empty()) {
        SetResult(individual, false);
        return;
    }
    bool result = false;
    if (m_code >= 53 && m_code <= 55) {
        // A parent is known when there is one and its surname is not empty.
        const std::string father = UpperSurname(*m_collection, m_collection->Father(individual));
        const std::string mother = UpperSurname(*m_collection, m_collection->Mother(individual));
        if (m_code == 53) {
            result = !father.empty() && father != own;
        } else if (m_code == 54) {
            result = !father.empty() && !mother.empty() && own != father && own != mother;
        } else if (!father.empty()) {
            result = own != father && !mother.empty() && own == mother;
        } else {
            result = !mother.empty() && own == mother;
        }
    } else if (m_code == 56) {
        const int32_t families = person->SpouseFamilyCount();
        for (int32_t i = 1; i <= families; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(person->SpouseFamily(i));
            if (!family) continue;
            const int32_t spouse = family->OtherSpouse(individual);
            if (spouse == 0) continue;
            const std::string theirs = UpperSurname(*m_collection, spouse);
            if (theirs.empty() || theirs != own) continue;
            // Only a match is passed on: a spouse whose surname differs from this one may
            // still share it with another partner, which its own evaluation finds.
            SetResult(spouse, true);
            result = true;
        }
    }
    SetResult(individual, result);
}

std::string WHLWarning::Describe() {
    std::string text;
    if (m_code == 53 || m_code == 54) {
        text = m_negated ? "with surname not different than " : "with surname different than ";
    } else {
        text = m_negated ? "with surname not same as " : "with surname same as ";
    }
    static constexpr int kCodes[] = {53, 54, 55, 56};
    static constexpr const char* kWords[] = {"father", "parents", "mother", "spouse"};
    return text + WordFor(m_code, kCodes, kWords);
}

// ---------------------------------------------------------------------------------------------
// WHLALive

void WHLALive::Prepare() {
    m_limit = HLIntOr(m_parameter, 110);
    FillResults(kHLUnknown);
}

void WHLALive::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    SetResult(individual, person && person->IsLiving(m_limit));
}

std::string WHLALive::Describe() {
    return std::string(m_negated ? "are not alive" : "are alive") +
           " (Age limit = " + std::to_string(m_limit) + ")";
}

// ---------------------------------------------------------------------------------------------
// Sources and notes

void WHLHasSource::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    bool result = false;
    if (person) {
        if (m_code == 66) {
            result = m_collection->HasAnySources(individual);
        } else if (m_code == 67) {
            const std::unique_ptr<WABSName> name = person->Name();
            result = name && name->CitationCount() > 0;
        } else if (m_code >= 68 && m_code <= 71) {
            const std::unique_ptr<WABSEvent> event = person->Event(kHLVitalKinds[m_code - 68], 1);
            result = event && event->CitationCount() > 0;
        } else if (m_code == 99) {
            result = m_collection->HasFamilySources(individual);
        }
    }
    SetResult(individual, result);
}

std::string WHLHasSource::Describe() {
    static constexpr int kCodes[] = {66, 67, 68, 69, 70, 71, 99};
    static constexpr const char* kWords[] = {"a source",           "name source",  "birth source",
                                             "christening source", "death source", "burial source",
                                             "marriage source"};
    return (m_negated ? "without " : "with ") + WordFor(m_code, kCodes, kWords);
}

void WHLHasNote::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    bool result = false;
    if (person) {
        if (m_code == 72) {
            const std::unique_ptr<WABSName> name = person->Name();
            result = name && !name->NoteText().empty();
        } else if (m_code >= 73 && m_code <= 76) {
            const std::unique_ptr<WABSEvent> event = person->Event(kHLVitalKinds[m_code - 73], 1);
            result = event && event->HasNote();
        } else if (m_code == 77) {
            result = m_collection->HasAnyNotes(individual);
        } else if (m_code == 100) {
            result = m_collection->HasFamilyNotes(individual);
        }
    }
    SetResult(individual, result);
}

std::string WHLHasNote::Describe() {
    static constexpr int kCodes[] = {72, 73, 74, 75, 76, 77, 100};
    static constexpr const char* kWords[] = {"name note",    "birth note",  "christening note",
                                             "death note",   "burial note", "any note",
                                             "marriage note"};
    return (m_negated ? "without " : "with ") + WordFor(m_code, kCodes, kWords);
}

// ---------------------------------------------------------------------------------------------
// WHLLDSDate

void WHLLDSDate::Prepare() {
    m_status = HLIntOr(m_parameter, 1);
    m_statusWord.clear();
    if (m_status >= 2 && m_code >= 87 && m_code <= 90) {
        // Word n - 1 of the kind's status list (words separated by ";").
        const std::string list = WABSLDSEvent::StatusList(m_code - 87 + kEventLdsBaptism);
        int32_t word = 1;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(';', start);
            if (end == std::string::npos) end = list.size();
            if (word == m_status - 1) {
                m_statusWord = list.substr(start, end - start);
                break;
            }
            ++word;
            start = end + 1;
        }
    }
    FillResults(kHLUnknown);
}

void WHLLDSDate::Evaluate(int32_t individual) {
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person || m_code < 87 || m_code > 90) {
        SetResult(individual, false);
        return;
    }
    const std::unique_ptr<WABSLDSEvent> ordinance =
        m_code == 90 ? m_collection->FamilyLDSEvent(individual, 1)
                     : person->LDSEvent(m_code - 87 + kEventLdsBaptism);
    bool result = false;
    if (ordinance && ordinance->HasDate()) {
        const WDate* date = ordinance->Date();
        if (m_status == 1) {
            result = date->IsClean();
        } else if (m_status >= 2) {
            result = !m_statusWord.empty() && date->Text() == m_statusWord;
        }
    }
    SetResult(individual, result);
}

std::string WHLLDSDate::Describe() {
    static constexpr const char* kWords[] = {"Baptism date", "Endowment date",
                                             "Sealed to Parents date", "Sealed to Spouse date"};
    std::string text = "where LDS ";
    if (m_code >= 87 && m_code <= 90) text += kWords[m_code - 87];
    text += m_negated ? " is not " : " is ";
    return text + (m_status == 1 ? std::string("a date") : m_statusWord);
}

}  // namespace kindrel
