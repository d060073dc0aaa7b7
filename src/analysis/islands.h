// Islands: the division of all individuals into groups connected through parent, spouse and
// child links (and witness links), with the individuals and families of each group, its
// first individual, the order of the groups by size, and the restriction of the collection's
// view to one group ("Use Island").
//
// The tables belong to one collection: WIslands::Of(collection) answers the collection's own
// WIslands, attached to it on first use and destroyed with it. Island numbers (1, 2, ...)
// follow the order of discovery; everything a user sees is by position, 1 being the largest.
#pragma once

#include "analysis/island_iterator.h"
#include "containers/array_index.h"
#include "model/collection.h"

#include <cstdint>
#include <memory>

namespace kindrel {

class WIntArray;

// One record of WIslandSortIndex.
struct WIslandSortRecord {
    int32_t island;
    int32_t count;
};

// The islands ordered by size: one record (island number, individual count) per island.
class WIslandSortIndex : public WABSArrayIndex {
  public:
    // Records (1, 0), (2, 0) ... (islandCount, 0).
    explicit WIslandSortIndex(int32_t islandCount);
    // Adds one to the count of an island number; ignored for numbers out of range.
    void CountMember(int32_t island);
    // Sorts descending by count (the array's quicksort: equal counts keep no set order).
    void SortBySize();
    // The island number at a position, 0 when the position is not valid.
    int32_t IslandAt(int32_t position) const;
    // The counted individuals at a position, 0 when the position is not valid.
    int32_t CountAt(int32_t position) const;
};

class WIslands final : public WCollectionAttachment {
  public:
    // The message callers show around the first calculation.
    static constexpr const char* kCalculatingMessage = "Calculating Islands.  Please Wait...";
    // Steps (seed candidates and individuals reached) between two calls of the event pump.
    static constexpr int kPumpInterval = 50;
    // Individuals between two calls of the event pump while reading witness links.
    static constexpr int kWitnessPumpInterval = 2000;

    // The island tables of a collection, created and attached on first use.
    static WIslands& Of(WABSCollection& collection);
    // Tables for a collection (not owned); normally reached through Of.
    explicit WIslands(WABSCollection& collection);
    ~WIslands() override;

    // Whether witness links join islands (the setting "IslandWit", default on); takes effect
    // at the calculation.
    void SetUseWitnessLinks(bool on) { m_useWitnessLinks = on; }
    bool UseWitnessLinks() const { return m_useWitnessLinks; }

    // Calculates the tables once and answers the island count. A call while the calculation
    // runs (through the event pump) answers 0 at once.
    int32_t CalculateIslands();
    // True once the tables exist.
    bool IsCalculated() const { return m_calculated; }
    // True while the calculation runs.
    bool IsCalculating() const { return m_calculating; }
    // Number of islands, 0 before the calculation.
    int32_t IslandCount() const { return m_calculated ? m_islandCount : 0; }

    // Per island position (1 = largest): individuals, families, first (lowest-numbered)
    // individual; 0 before the calculation or for a position beyond the island count.
    int32_t IslandSize(int32_t position) const;
    int32_t IslandFamilyCount(int32_t position) const;
    int32_t IslandFirstIndividual(int32_t position) const;
    // The island position of an individual (calculating first), 0 when none.
    int32_t IslandOf(int32_t individual);
    // A new iterator over the island at a position (calculating first), or null when the
    // position is not an island's.
    std::unique_ptr<WIslandIterator> IslandIterator(int32_t position);
    // Restricts the collection's view to the island at a position: an active restriction is
    // removed first; otherwise the islands are calculated. A position that is not an
    // island's leaves the view unrestricted.
    void UseIsland(int32_t position);
    // Removes the restriction.
    void ClearIsland();
    // The position of the island in use, 0 when the view is not restricted by these tables.
    int32_t IslandInUse() const;

    // Discovery-order island numbers (0 before the calculation or when out of range).
    int32_t IslandNumberOf(int32_t individual) const;
    int32_t FamilyIslandNumberOf(int32_t family) const;
    // The island number at a position and the position of an island number.
    int32_t IslandNumberAt(int32_t position) const;
    int32_t PositionOfIsland(int32_t island) const;
    // The sort index, or null before the calculation.
    const WIslandSortIndex* SortIndex() const { return m_sortIndex.get(); }

  private:
    struct Tables;
    // Builds every table into `tables`; the calculation's body.
    void Calculate(Tables& tables);

    WABSCollection& m_collection;
    bool m_useWitnessLinks = true;
    bool m_calculating = false;
    bool m_calculated = false;
    int32_t m_islandCount = 0;
    std::unique_ptr<WIntArray> m_islandOfIndividual;
    std::unique_ptr<WIntArray> m_islandOfFamily;
    std::unique_ptr<WIntArray> m_individualCount;  // per island number
    std::unique_ptr<WIntArray> m_familyCount;      // per island number
    std::unique_ptr<WIntArray> m_firstIndividual;  // per island number
    std::unique_ptr<WIntArray> m_positionOf;       // per island number: its position
    std::unique_ptr<WIslandSortIndex> m_sortIndex;
    // The restriction installed in the collection (owned there), and its position.
    WViewRestriction* m_restriction = nullptr;
    int32_t m_positionInUse = 0;
};

}  // namespace kindrel
