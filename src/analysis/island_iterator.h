// The individuals of one island, in ascending order, as a sortable collection iterator.
#pragma once

#include "analysis/collection_iterator.h"

#include <cstdint>
#include <string>

namespace kindrel {

class WIntArray;

class WIslandIterator : public WColSortIterator {
  public:
    // Builds at once: every individual whose entry in islandOf (the island number of each
    // individual; not owned, read only while building) equals island. Island 0 or a null
    // table gives an empty list.
    WIslandIterator(std::string fileName, WABSCollection* collection, int32_t island,
                    const WIntArray* islandOf);

    // Appends the island's individuals once; later calls do nothing.
    void Build() override;
    // The island number (discovery order) listed.
    int32_t Island() const { return m_island; }
    // The view position of an individual, 0 when it is not listed. A binary search while the
    // list is in its built (ascending) order, else PositionOf.
    int ViewPositionOf(int32_t individual);

  private:
    int32_t m_island;
    const WIntArray* m_islandOf;
    bool m_filled = false;
};

}  // namespace kindrel
