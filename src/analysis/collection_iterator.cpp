#include "analysis/collection_iterator.h"

#include "analysis/attrib.h"
#include "analysis/attrib_columns.h"
#include "analysis/sort_keys.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/display_options.h"
#include "model/records.h"

#include <cstring>
#include <utility>

namespace kindrel {

namespace {

// Events are pumped this often while the highlighted list is built.
constexpr int kMarkPumpInterval = 250;

// Compares text with query over at most the query's length, both in their sort form (accents
// folded, ASCII letters upper-cased) so that a find agrees with the order of a text sort; a
// text shorter than the query sorts first.
int ComparePrefixFolded(std::string_view text, std::string_view query) {
    const std::string foldedQuery = FoldSortKey(query);
    const std::string foldedText = FoldSortKey(text);
    const int result =
        std::string_view(foldedText).substr(0, foldedQuery.size()).compare(foldedQuery);
    return (result > 0) - (result < 0);
}

// Restores a display option when it goes out of scope.
class PreSufOff {
  public:
    PreSufOff() : m_saved(Display().preSuf) { Display().preSuf = false; }
    ~PreSufOff() { Display().preSuf = m_saved; }
    PreSufOff(const PreSufOff&) = delete;
    PreSufOff& operator=(const PreSufOff&) = delete;

  private:
    bool m_saved;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// WCollectionIterator

WCollectionIterator::WCollectionIterator(std::string fileName, WABSCollection* collection,
                                         int initialCount)
    : WABSIterator(std::move(fileName), kRecordSize, initialCount), m_collection(collection) {}

WCollectionIterator::~WCollectionIterator() = default;

void WCollectionIterator::EnsureBuilt() {
    if (m_built) return;
    // Marked first: a Build that pumps events must not be started a second time.
    m_built = true;
    Build();
}

int32_t WCollectionIterator::RawNumberAt(int i) const {
    const char* record = Item(i);
    if (record == nullptr) return 0;
    int32_t n;
    std::memcpy(&n, record, sizeof n);
    return n;
}

int32_t WCollectionIterator::NumberAt(int i) {
    return RawNumberAt(i);
}

int32_t WCollectionIterator::FirstNumber() {
    return First() != nullptr ? NumberAt(Position()) : 0;
}

int32_t WCollectionIterator::NextNumber() {
    return Next() != nullptr ? NumberAt(Position()) : 0;
}

int32_t WCollectionIterator::PrevNumber() {
    return Prev() != nullptr ? NumberAt(Position()) : 0;
}

int32_t WCollectionIterator::LastNumber() {
    return Last() != nullptr ? NumberAt(Position()) : 0;
}

int WCollectionIterator::PositionOf(int32_t individual) {
    const int count = Count();  // builds the sortable forms
    if (individual == 0) return 0;
    // Numbers are unique in an iterator: find the raw record, then its view position.
    for (int p = 1; p <= count; ++p) {
        if (RawNumberAt(p) == individual) return ViewPositionOfRaw(p);
    }
    return 0;
}

int WCollectionIterator::FindText(const std::function<int(int32_t individual)>& compareRecord) {
    const int count = Count();
    if (count < 1) return 0;
    bool found = false;
    const int nearest = FindNearestBy(
        [&](const void* record) {
            int32_t n;
            std::memcpy(&n, record, sizeof n);
            return compareRecord(n);
        },
        found);
    if (!found) return ViewPositionOfRaw(nearest);
    // The records are in ascending order, so the matches are one run around the one found;
    // its end is found by halving too (a run of a common prefix may be long). A view that reads
    // backwards shows the last raw match first.
    const auto matches = [&](int p) { return compareRecord(RawNumberAt(p)) == 0; };
    if (ViewPositionOfRaw(1) == 1) {
        int low = 1, high = nearest;  // the first match lies in low..high
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (matches(middle))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }
    int low = nearest, high = count;  // the last match lies in low..high
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (matches(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return ViewPositionOfRaw(low);
}

int WCollectionIterator::CompareName(int32_t n, std::string_view surname,
                                     std::string_view givenNames) {
    if (m_collection == nullptr) return -1;
    const std::unique_ptr<WABSIndividual> individual = m_collection->GetIndividual(n);
    if (!individual) return -1;
    const std::unique_ptr<WABSName> name = individual->Name();
    const std::string surnameText = name ? PlainSurname(*name) : std::string();
    const int bySurname = ComparePrefixFolded(surnameText, surname);
    if (bySurname != 0) return bySurname;
    return ComparePrefixFolded(name ? name->GivenNames() : std::string(), givenNames);
}

int WCollectionIterator::CompareFullName(int32_t n, std::string_view text) {
    if (m_collection == nullptr) return -1;
    const std::unique_ptr<WABSIndividual> individual = m_collection->GetIndividual(n);
    if (!individual) return -1;
    return ComparePrefixFolded(individual->FullName(false), text);
}

int WCollectionIterator::CompareRefNumber(int32_t n, std::string_view text) {
    if (m_collection == nullptr) return -1;
    const std::unique_ptr<WABSIndividual> individual = m_collection->GetIndividual(n);
    if (!individual) return -1;
    return ComparePrefixFolded(individual->RefNumberText(), text);
}

int WCollectionIterator::FindByName(std::string_view surname, std::string_view givenNames) {
    return FindText([&](int32_t n) { return CompareName(n, surname, givenNames); });
}

int WCollectionIterator::FindByFullName(std::string_view text) {
    return FindText([&](int32_t n) { return CompareFullName(n, text); });
}

int WCollectionIterator::FindByIdText(std::string_view text) {
    return FindText([&](int32_t n) {
        if (m_collection == nullptr) return -1;
        const std::unique_ptr<WABSIndividual> individual = m_collection->GetIndividual(n);
        if (!individual) return -1;
        return ComparePrefixFolded(individual->IdText(), text);
    });
}

int WCollectionIterator::FindByRefNumber(std::string_view text) {
    return FindText([&](int32_t n) { return CompareRefNumber(n, text); });
}

// ---------------------------------------------------------------------------------------------
// WColSortIterator

namespace {

// The column code of the index (the individual's number).
constexpr int kIndexCode = 1;

}  // namespace

WColSortIterator::WColSortIterator(std::string fileName, WABSCollection* collection,
                                   int initialCount)
    : WCollectionIterator(std::move(fileName), collection, initialCount),
      m_individualCount(collection != nullptr ? collection->IndividualCount() : 0) {}

WColSortIterator::~WColSortIterator() = default;

int WColSortIterator::Count() const {
    // Building is the lazy first step of every read; the records are not otherwise changed.
    const_cast<WColSortIterator*>(this)->EnsureBuilt();
    return RecordCount();
}

char* WColSortIterator::GoTo(int i) {
    EnsureBuilt();
    return WCollectionIterator::GoTo(i);
}

void WColSortIterator::Build() {
    if (m_collection == nullptr) return;
    const int32_t count = m_collection->ViewCount();
    if (count < 1) return;
    if (m_collection->ViewRestriction() == nullptr) {
        // The whole file in order: fill the records in one pass.
        Clear();
        SetCount(count);
        for (int32_t i = 1; i <= count; ++i) std::memcpy(RecordAt(i), &i, sizeof i);
        Touch();
        return;
    }
    for (int32_t i = 1; i <= count; ++i) AddNumber(m_collection->ViewToIndividual(i));
}

int32_t WColSortIterator::NumberAt(int i) {
    EnsureBuilt();
    if (!m_ascending) i = RecordCount() - i + 1;
    return RawNumberAt(i);
}

int WColSortIterator::ViewPositionOfRaw(int p) {
    if (p < 1) return 0;
    return m_ascending ? p : RecordCount() - p + 1;
}

void WColSortIterator::SortBy(WAttrib* attribute, bool toggle) {
    if (attribute == nullptr || m_sortRunning) return;
    if (IsSorted() && attribute->Code() == m_sortCode) {
        if (toggle) m_ascending = !m_ascending;
        return;
    }
    // What a cancelled sort restores: the records are written only at the end of a sort.
    const bool wasAscending = m_ascending;
    if (toggle) m_ascending = true;
    m_sortRunning = true;
    struct RunningGuard {
        bool& flag;
        ~RunningGuard() { flag = false; }
    } guard{m_sortRunning};

    EnsureBuilt();
    const bool wasSorted = IsSorted();
    const int previousCode = m_sortCode;
    std::unique_ptr<WAttribKeyArray> previousKeys = std::move(m_keys);
    m_cancelled = false;
    m_sortCode = attribute->Code();
    Touch();
    if (m_sortCode == kIndexCode) {
        // The index is the individual's number: records already in ascending numbers (the
        // whole file in order, as built) are that sort, and need no keys.
        bool ascending = true;
        for (int p = 2, count = RecordCount(); p <= count && ascending; ++p)
            ascending = RawNumberAt(p - 1) < RawNumberAt(p);
        if (ascending) {
            MarkSorted();
            return;
        }
    }
    m_keys = CreateKeyArray(this, attribute, m_individualCount);
    if (!m_keys) return;
    m_keys->Fill();
    m_keys->SortIterator();
    if (!m_keys->Cancelled()) return;
    m_cancelled = true;
    m_keys = std::move(previousKeys);
    m_sortCode = previousCode;
    m_ascending = wasAscending;
    if (wasSorted) MarkSorted();
}

void WColSortIterator::DropKeys() {
    if (!m_sortRunning) m_keys.reset();
}

void WColSortIterator::ForgetSort() {
    if (m_sortRunning) return;
    m_sortCode = 0;
    m_keys.reset();
}

void WColSortIterator::SortDefault(int kind) {
    if (IsSorted()) return;
    std::unique_ptr<WAttrib> attribute;
    switch (kind) {
        case 1:
        case 2:
        case 48:
        case 6:
        case 7:
            attribute = CreateAttrib(kind, m_collection);
            break;
        default:
            return;
    }
    const PreSufOff preSufOff;
    SortBy(attribute.get(), true);
}

// ---------------------------------------------------------------------------------------------
// WColHLIterator

WColHLIterator::WColHLIterator(std::string fileName, MarksIndividual marks,
                               WABSCollection* collection, int initialCount)
    : WColSortIterator(std::move(fileName), collection, initialCount), m_marks(std::move(marks)) {
    EnsureBuilt();
}

void WColHLIterator::Build() {
    if (m_collection == nullptr || !m_marks) return;
    const int32_t count = m_collection->ViewCount();
    for (int32_t i = 1; i <= count; ++i) {
        if (i % kMarkPumpInterval == 0) PumpEvents();
        const int32_t n = m_collection->ViewToIndividual(i);
        if (m_marks(n)) AddNumber(n);
    }
}

}  // namespace kindrel
