// Walks over the individuals of a collection: an array of individual numbers built on first use
// (WCollectionIterator), its sortable form that orders the numbers by any list attribute
// (WColSortIterator), and the form that keeps only the individuals a predicate marks
// (WColHLIterator, used for the highlighted individuals).
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kindrel {

class WABSCollection;
class WAttrib;
class WAttribKeyArray;

// An array of individual numbers (records of 4 bytes) with a build step. Subclasses define
// Build; every reader builds first where the form says so. Positions are 1-based, 0 = none.
class WCollectionIterator : public WABSIterator {
  public:
    // Bytes per record: one 32-bit individual number.
    static constexpr int kRecordSize = 4;

    // An empty, unbuilt iterator over a collection (not owned; may be null). fileName names
    // the store (empty: anonymous); initialCount reserves room.
    WCollectionIterator(std::string fileName, WABSCollection* collection, int initialCount);
    ~WCollectionIterator() override;

    // Number of records (the sortable form builds first).
    int Count() const override { return RecordCount(); }
    // Fills the records; runs once through EnsureBuilt.
    virtual void Build() = 0;
    // The individual at the position that First, Next, Prev or Last reaches, read as NumberAt
    // reads it; 0 when the walk ran off the records.
    virtual int32_t FirstNumber();
    virtual int32_t NextNumber();
    virtual int32_t PrevNumber();
    virtual int32_t LastNumber();
    // The individual at position i (1-based), 0 when i is not a valid position.
    virtual int32_t NumberAt(int i);

    // Runs Build once.
    void EnsureBuilt();
    // True once Build has run.
    bool IsBuilt() const { return m_built; }
    // The collection walked (may be null).
    WABSCollection* Collection() const { return m_collection; }

    // On a list sorted by name (code 7): the first position whose surname starts with surname
    // and, among those, whose given names start with givenNames (compared in sort form: case
    // and accents ignored); without a match, the position where such a name would stand (0
    // for an empty list).
    int FindByName(std::string_view surname, std::string_view givenNames);
    // On a list sorted by full name (code 6): the same over the full name without prefix
    // and suffix.
    int FindByFullName(std::string_view text);
    // On a list sorted by custom identifier (code 48): the same over the REFN text.
    int FindByRefNumber(std::string_view text);
    // On a list sorted by identifier (code 2): the same over IdText.
    int FindByIdText(std::string_view text);
    // The comparisons of FindByName, FindByFullName and FindByRefNumber for one individual
    // against the query: 0 when the individual's name (identifier) starts with it.
    int CompareName(int32_t individual, std::string_view surname, std::string_view givenNames);
    int CompareFullName(int32_t individual, std::string_view text);
    int CompareRefNumber(int32_t individual, std::string_view text);
    // The first position whose NumberAt is individual, 0 when the individual is not listed.
    int PositionOf(int32_t individual);

  protected:
    // Appends one individual number.
    void AddNumber(int32_t individual) { Add(&individual); }
    // The raw record at position i (no build, no direction); 0 when i is not valid.
    int32_t RawNumberAt(int i) const;
    // The view position of raw position p (the same unless a view reads backwards).
    virtual int ViewPositionOfRaw(int p) { return p; }
    // Binary search over the raw records with compareRecord(individual) (the record against the
    // searched text); answers a view position (see FindByName).
    int FindText(const std::function<int(int32_t individual)>& compareRecord);

    WABSCollection* m_collection;
    bool m_built = false;
};

// The individuals of the view (file order, restricted to the island in use), sortable by any
// list attribute. Ascending order is sorted; descending order is the ascending order read
// backwards, so both show equal keys in mirrored order.
class WColSortIterator : public WCollectionIterator {
  public:
    // An unbuilt iterator over a collection (not owned; may be null).
    WColSortIterator(std::string fileName, WABSCollection* collection, int initialCount = 0);
    ~WColSortIterator() override;

    // Builds first.
    int Count() const override;
    // Builds first.
    char* GoTo(int i) override;
    // Appends ViewToIndividual(i) for i from 1 to ViewCount.
    void Build() override;
    // Builds first; in a descending view reads position Count() - i + 1.
    int32_t NumberAt(int i) override;

    // Sorts by an attribute. On the attribute already sorted by, toggle flips the direction
    // and nothing is recomputed; otherwise the keys are computed once, the records sorted
    // ascending, and toggle makes the view ascending. Null does nothing; a call while a sort
    // of this iterator runs (the event pump re-entering) returns at once.
    // The cancel flag (set from the event pump) stops a sort and restores the order, the
    // attribute and the direction it found (LastSortCancelled).
    void SortBy(WAttrib* attribute, bool toggle);
    // True when the last SortBy was cancelled.
    bool LastSortCancelled() const { return m_cancelled; }
    // Forgets the attribute sorted by, so that the next SortBy sorts afresh (keys that depend
    // on a reference individual that changed). The order stays.
    void ForgetSort();
    // Frees the keys of the last sort (they take far more memory than the order); the order,
    // its direction and the attribute it was sorted by stay. A later sort by that attribute
    // only flips the direction, as before.
    void DropKeys();
    // Unless already sorted: sorts by the index (kind 1), identifier (2, 48) or name (6, 7)
    // attribute, with name prefixes and suffixes left out meanwhile. Other kinds do nothing.
    void SortDefault(int kind);
    // The view's direction.
    bool IsAscending() const { return m_ascending; }
    // Sets the view's direction (no re-sort needed).
    void SetAscending(bool ascending) { m_ascending = ascending; }
    // The code of the attribute last sorted by (0 = none).
    int SortAttributeCode() const { return m_sortCode; }
    // The collection's individual count at construction (the size of the key arrays).
    int IndividualCount() const { return m_individualCount; }
    // The keys of the last sort, or null.
    const WAttribKeyArray* KeyArray() const { return m_keys.get(); }
    // True while SortBy runs.
    bool IsSortRunning() const { return m_sortRunning; }

  protected:
    int ViewPositionOfRaw(int p) override;

  private:
    std::unique_ptr<WAttribKeyArray> m_keys;
    bool m_ascending = true;
    int m_sortCode = 0;
    int m_individualCount = 0;
    bool m_sortRunning = false;
    bool m_cancelled = false;
};

// The individuals of the view that a predicate marks (the highlighted individuals), in view
// order, sortable as WColSortIterator. Built at construction.
class WColHLIterator : public WColSortIterator {
  public:
    // Answers whether individual n is marked.
    using MarksIndividual = std::function<bool(int32_t n)>;

    // Builds at once: every individual of the view that marks answers true for.
    WColHLIterator(std::string fileName, MarksIndividual marks, WABSCollection* collection,
                   int initialCount = 0);

    // Appends the marked individuals of the view, pumping events every 250 individuals.
    void Build() override;

  private:
    MarksIndividual m_marks;
};

}  // namespace kindrel
