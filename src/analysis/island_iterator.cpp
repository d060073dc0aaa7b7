// The island iterator: built once from the island-of-individual table.
#include "analysis/island_iterator.h"

#include "containers/int_array.h"

#include <utility>

namespace kindrel {

WIslandIterator::WIslandIterator(std::string fileName, WABSCollection* collection, int32_t island,
                                 const WIntArray* islandOf)
    : WColSortIterator(std::move(fileName), collection), m_island(island), m_islandOf(islandOf) {
    EnsureBuilt();
}

void WIslandIterator::Build() {
    if (m_filled) return;
    m_filled = true;
    if (!m_islandOf || m_island == 0) return;
    const int count = m_islandOf->RecordCount();
    for (int i = 1; i <= count; ++i) {
        if (m_islandOf->GetValue(i) == m_island) AddNumber(i);
    }
}

int WIslandIterator::ViewPositionOf(int32_t individual) {
    EnsureBuilt();
    if (SortAttributeCode() != 0 || !IsAscending()) return PositionOf(individual);
    // Built in ascending order and not sorted since.
    int lo = 1;
    int hi = RecordCount();
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int32_t n = RawNumberAt(mid);
        if (n == individual) return mid;
        if (n < individual) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return 0;
}

}  // namespace kindrel
