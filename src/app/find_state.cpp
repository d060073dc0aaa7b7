#include "app/find_state.h"

#include "analysis/collection_iterator.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <cctype>

namespace kindrel {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The number of a text of digits only, capped so that it never overflows; 0 otherwise.
int32_t DigitsValue(std::string_view text) {
    if (text.empty()) return 0;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
    }
    return static_cast<int32_t>(value);
}

}  // namespace

int FindOrderAttribute(FindOrder order) {
    switch (order) {
        case FindOrder::kRef:
            return 2;
        case FindOrder::kSurname:
            return 7;
        case FindOrder::kGiven:
            return 6;
        case FindOrder::kCustom:
            return 48;
        default:
            return 0;
    }
}

NameQuery SplitNameQuery(std::string_view query) {
    NameQuery split;
    const size_t comma = query.find(',');
    if (comma == std::string_view::npos) {
        split.surname = std::string(Trimmed(query));
    } else {
        split.surname = std::string(Trimmed(query.substr(0, comma)));
        split.givenNames = std::string(Trimmed(query.substr(comma + 1)));
    }
    return split;
}

// ---------------------------------------------------------------------------------------------
// WFindOrders

WFindOrders::WFindOrders(WABSCollection* collection) : m_collection(collection) {}

WFindOrders::~WFindOrders() = default;

void WFindOrders::Reset(WABSCollection* collection) {
    for (auto& order : m_orders) order.reset();
    m_collection = collection;
}

bool WFindOrders::IsReady(FindOrder order) const {
    const auto& it = m_orders[static_cast<int>(order)];
    if (!it) return false;
    return FindOrderAttribute(order) == 0 ? it->IsBuilt() : it->IsSorted();
}

WColSortIterator* WFindOrders::Order(FindOrder order) {
    if (!m_collection) return nullptr;
    const int k = static_cast<int>(order);
    if (k < 0 || k >= static_cast<int>(FindOrder::kCount)) return nullptr;
    auto& it = m_orders[k];
    if (!it) it = std::make_unique<WColSortIterator>(std::string(), m_collection);
    const int attribute = FindOrderAttribute(order);
    if (attribute == 0) {
        it->EnsureBuilt();  // the scroll order is the index order
    } else if (!it->IsSorted() && !it->IsSortRunning()) {
        if (onSort) onSort(true);
        try {
            it->SortDefault(attribute);
            // The searches compare the records themselves: the keys are not needed again.
            it->DropKeys();
        } catch (...) {
            if (onSort) onSort(false);
            throw;
        }
        if (onSort) onSort(false);
    }
    return it.get();
}

// ---------------------------------------------------------------------------------------------
// WFindState

void WFindState::SetKind(int kind) {
    m_kind = kind >= kIndex && kind <= kGiven ? kind : kIndex;
    Reset();
}

void WFindState::Reset() {
    m_first = m_current = 0;
    m_canStep = false;
}

FindOrder WFindState::OrderOfKind() const {
    switch (m_kind) {
        case kRef:
            return FindOrder::kRef;
        case kSurname:
            return FindOrder::kSurname;
        case kGiven:
            return FindOrder::kGiven;
        default:
            return FindOrder::kIndex;
    }
}

WColSortIterator* WFindState::CurrentOrder() {
    return m_orders ? m_orders->Order(OrderOfKind()) : nullptr;
}

int32_t WFindState::NumberAtRow(int row) {
    WColSortIterator* order = CurrentOrder();
    return order && row >= 1 && row <= order->Count() ? order->NumberAt(row) : 0;
}

int32_t WFindState::FindByRef(WABSCollection& collection, std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) return 0;
    const std::string typed(text);
    if (collection.Kind() == kKindGedcom) {
        if (const int32_t n = collection.FindIndividual("I" + typed); n > 0) return n;
    }
    if (const int32_t n = collection.FindIndividual(typed); n > 0) return n;
    std::string upper = typed;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != typed)
        if (const int32_t n = collection.FindIndividual(upper); n > 0) return n;
    return 0;
}

int WFindState::StartRow() {
    WColSortIterator* order = CurrentOrder();
    if (!order || order->Count() < 1 || m_query.empty()) return 0;
    WABSCollection* collection = m_orders->Collection();
    switch (m_kind) {
        case kIndex: {
            const int32_t n = DigitsValue(m_query);
            if (n < 1 || n > collection->IndividualCount()) return 0;
            return collection->IndividualToView(n);
        }
        case kRef: {
            int32_t n = FindByRef(*collection, m_query);
            if (n > 0) return order->PositionOf(n);
            // Identifiers that do not start with "I": an equal identifier in the REF order.
            const std::string wanted(Trimmed(m_query));
            for (int row = order->FindByIdText(wanted); row >= 1 && row <= order->Count();
                 ++row) {
                const std::unique_ptr<WABSIndividual> person =
                    collection->GetIndividual(order->NumberAt(row));
                const std::string id = person ? person->IdText() : std::string();
                if (SameIgnoringCase(id, wanted)) return row;
                if (!SameIgnoringCase(std::string_view(id).substr(0, wanted.size()), wanted))
                    break;
            }
            return 0;
        }
        case kSurname: {
            const NameQuery split = SplitNameQuery(m_query);
            return std::max(1, order->FindByName(split.surname, split.givenNames));
        }
        default: {
            const int row = order->FindByFullName(Trimmed(m_query));
            return std::clamp(row, 1, order->Count());
        }
    }
}

int32_t WFindState::Search(std::string_view text) {
    m_query = std::string(text);
    Reset();
    if (Trimmed(text).empty() || !m_orders || !m_orders->Collection()) return 0;
    const int row = StartRow();
    if (row < 1) return 0;
    m_first = m_current = row;
    m_canStep = true;
    return NumberAtRow(row);
}

bool WFindState::RowMatches(int row) {
    WColSortIterator* order = CurrentOrder();
    if (!order || row < 1 || row > order->Count()) return false;
    const int32_t n = order->NumberAt(row);
    switch (m_kind) {
        case kSurname: {
            const NameQuery split = SplitNameQuery(m_query);
            if (split.surname.empty()) return false;
            return order->CompareName(n, split.surname, split.givenNames) == 0;
        }
        case kGiven: {
            const std::string_view query = Trimmed(m_query);
            return !query.empty() && order->CompareFullName(n, query) == 0;
        }
        default:
            return true;
    }
}

int32_t WFindState::Next() {
    WColSortIterator* order = CurrentOrder();
    if (!order || order->Count() < 1) return 0;
    if (m_first == 0 || m_current == 0) {
        const int row = StartRow();
        if (row < 1 && (m_kind == kIndex || m_kind == kRef)) return 0;
        m_first = m_current = std::max(1, row);
        m_canStep = true;
    }
    ++m_current;
    if (m_current <= order->Count() && RowMatches(m_current)) return NumberAtRow(m_current);
    m_current = m_first;  // wrap to the first match
    return NumberAtRow(m_current);
}

int32_t WFindState::Previous() {
    WColSortIterator* order = CurrentOrder();
    if (!order || m_first == 0 || m_current == 0) return 0;
    --m_current;
    if (m_current >= m_first && RowMatches(m_current)) return NumberAtRow(m_current);
    // Before the first match: go to the last match of the run.
    const int count = order->Count();
    for (int d = m_first + 1; d <= count; ++d)
        if (!RowMatches(d)) {
            m_current = d - 1;
            return NumberAtRow(m_current);
        }
    m_current = count;
    return NumberAtRow(m_current);
}

std::string WFindState::RefillText(int32_t individual) {
    m_query.clear();
    Reset();
    WABSCollection* collection = m_orders ? m_orders->Collection() : nullptr;
    if (!collection || individual < 1 || individual > collection->IndividualCount()) return {};
    std::string text;
    if (m_kind == kIndex) {
        text = std::to_string(individual);
    } else if (const std::unique_ptr<WABSIndividual> person =
                   collection->GetIndividual(individual)) {
        if (m_kind == kRef) {
            text = person->IdText();
        } else if (const std::unique_ptr<WABSName> name = person->Name()) {
            text = m_kind == kSurname ? name->Surname() : name->GivenNames();
        }
    }
    m_query = text;
    // A name can be stepped through from here; a number or REF waits for a search.
    m_canStep = (m_kind == kSurname || m_kind == kGiven) && !Trimmed(text).empty();
    return text;
}

// ---------------------------------------------------------------------------------------------
// The Find Individual dialog

FindOrder FindOrderOfMode(int mode) {
    switch (mode) {
        case 1:
            return FindOrder::kIndex;
        case 2:
            return FindOrder::kRef;
        case 4:
            return FindOrder::kGiven;
        case 5:
            return FindOrder::kCustom;
        default:
            return FindOrder::kSurname;
    }
}

FindGridRow FindGridCells(WABSCollection& collection, int32_t individual, int mode) {
    FindGridRow row;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return row;
    row.index = std::to_string(individual);
    row.id = mode == 5 ? person->RefNumberText() : person->IdText();
    const std::unique_ptr<WABSName> name = person->Name();
    const std::string given = name ? name->GivenNames() : std::string();
    const std::string surname = name ? name->Surname() : std::string();
    if (mode == 3)
        row.name = surname + ", " + given;
    else
        row.name = given.empty() ? surname : given + " " + surname;
    if (person->HasDate(kEventBirth))
        row.birth = person->DateText(kEventBirth);
    else if (person->HasDate(kEventChristening))
        row.birth = "[" + person->DateText(kEventChristening) + "]";
    return row;
}

std::string FindDialogText(WABSCollection& collection, int32_t individual, int mode) {
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return {};
    switch (mode) {
        case 1:
            return std::to_string(individual);
        case 2:
            return person->IdText();
        case 5:
            return person->RefNumberText();
        default:
            return FindGridCells(collection, individual, mode).name;
    }
}

int FindDialogRow(WFindOrders& orders, int mode, std::string_view text) {
    if (Trimmed(text).empty() || !orders.Collection()) return 0;
    WColSortIterator* order = orders.Order(FindOrderOfMode(mode));
    if (!order || order->Count() < 1) return 0;
    if (mode == 5) return std::clamp(order->FindByRefNumber(Trimmed(text)), 1, order->Count());
    if (mode == 1) {
        int32_t n = DigitsValue(Trimmed(text));
        if (n < 1) return 0;
        WABSCollection& collection = *orders.Collection();
        n = std::min(n, collection.IndividualCount());
        // With an island in use a number outside it finds nothing.
        const int row = collection.IndividualToView(n);
        return row > 0 ? row : 0;
    }
    WFindState find(&orders);
    find.SetKind(mode == 2 ? WFindState::kRef : mode == 3 ? WFindState::kSurname
                                                         : WFindState::kGiven);
    find.Search(text);
    return find.CurrentRow();
}

std::vector<MarriageEntry> MarriageEntries(WABSCollection& collection, int32_t individual) {
    std::vector<MarriageEntry> entries;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(individual);
    if (!person) return entries;
    const int32_t families = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= families; ++i) {
        const std::unique_ptr<WABSMarriage> family =
            collection.GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        MarriageEntry spouse;
        spouse.individual = family->OtherSpouse(individual);
        spouse.text = spouse.individual != 0
                          ? "Spouse: " + collection.FullNameOf(spouse.individual)
                          : std::string("Spouse: <Not Entered>");
        entries.push_back(std::move(spouse));
        family->OrderChildren();
        for (int32_t c = 1; c <= family->ChildCount(); ++c) {
            const int32_t child = family->Child(c);
            const std::unique_ptr<WABSIndividual> kid = collection.GetIndividual(child);
            if (!kid) continue;
            MarriageEntry entry;
            entry.individual = child;
            entry.child = true;
            entry.hasChildren = collection.HasChildren(child);
            const int year = kid->EventYear(kEventBirth);
            if (year != 0) entry.year = std::to_string(year);
            entry.text = kid->FullName(false);
            if (entry.text.empty()) entry.text = "<No Given Name>";
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

}  // namespace kindrel
