// The family link table: husband, wife and children of every family, filled by the GEDCOM
// load and read by the family records; it puts a family's children into birth order once.
#pragma once

#include "containers/array_index.h"
#include "gedcom/link_array.h"

#include <cstdint>

namespace kindrel {

class WABSCollection;

// One record per family (1-based family numbers), created zero-filled for the family
// count. Invalid family numbers read as 0 and writes to them are ignored.
class WFamLinks : public WABSArrayIndex {
  public:
    // Flag of a family whose children are in birth order.
    static constexpr std::int32_t kBirthOrder = 2;

    // A table of familyCount empty families.
    explicit WFamLinks(int familyCount);

    // Stores the husband (replacing an earlier one).
    void SetHusband(std::int32_t family, std::int32_t individual);
    // Stores the wife (replacing an earlier one).
    void SetWife(std::int32_t family, std::int32_t individual);
    // Adds a child unless it is already listed (or 0); clears the birth-order flag.
    void AddChild(std::int32_t family, std::int32_t individual);
    // The husband, 0 when none.
    std::int32_t Husband(std::int32_t family) const;
    // The wife, 0 when none.
    std::int32_t Wife(std::int32_t family) const;
    // Number of children.
    std::int32_t ChildCount(std::int32_t family) const;
    // Child i (1 to ChildCount), else 0.
    std::int32_t Child(std::int32_t family, std::int32_t i) const;
    // True once SortChildren has ordered the family.
    bool ChildrenInBirthOrder(std::int32_t family) const;
    // Puts the children into birth order once: ascending birth dates (the collection's
    // birth events), children without a birth date after them, ties and undated children
    // in their stored order.
    void SortChildren(std::int32_t family, WABSCollection& collection);
    // The chunk store of the child lists.
    const WLinkArray& ChildLists() const { return m_children; }

  private:
    struct Record {
        std::int32_t husband;
        std::int32_t wife;
        std::int32_t childCount;
        std::int32_t firstChunk;
        std::int32_t flags;
    };
    static_assert(sizeof(Record) == 20);

    bool Read(std::int32_t family, Record& record) const;
    void Write(std::int32_t family, const Record& record);

    WLinkArray m_children;
};

}  // namespace kindrel
