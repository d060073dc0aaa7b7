// The sources of a collection in a chosen order: by number, by the note, text or repository
// marks, or by title, abbreviation, author, publication or call number.
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;

// Source key types of WSourceIterator::SortBy.
enum SourceKeyType : int {
    kSourceByNumber = 1,
    kSourceByNote = 2,
    kSourceByText = 3,
    kSourceByRepository = 4,
    kSourceByTitle = 5,
    kSourceByAbbreviation = 6,
    kSourceByAuthor = 7,
    kSourceByPublication = 8,
    kSourceByCallNumber = 9,
};

// An array of source numbers (records of 4 bytes) with a sort order and a view direction.
class WSourceIterator : public WABSIterator {
  public:
    // Every source of the collection (not owned; may be null) in number order.
    WSourceIterator(std::string fileName, WABSCollection* collection);

    // Sorts by a key type. The key type already in use only flips the view direction;
    // another one sorts the records (descending when ascending is false) and makes the view
    // ascending. Key types outside 1 to 9 sort by an empty key.
    void SortBy(int keyType, bool ascending);
    // The source at view position i (counted from the end in a descending view), 0 when i is
    // not a valid position.
    int32_t SourceAt(int i) const;
    // The key type in use (0 before the first sort).
    int KeyType() const { return m_keyType; }
    // 1 when the view is ascending, else 2.
    int Direction() const { return m_viewAscending ? 1 : 2; }
    // The collection's source count at construction.
    int32_t SourceCount() const { return m_sourceCount; }
    // True while a sort runs (the event pump may call back).
    bool IsSortRunning() const { return m_sortRunning; }

  private:
    // Number order 1, 2, ...
    void ResetRecords();
    // The key text of a source for the current key type.
    std::string KeyText(int32_t source) const;

    WABSCollection* m_collection;
    int32_t m_sourceCount = 0;
    bool m_viewAscending = true;
    int m_keyType = 0;
    bool m_compareAscending = true;
    bool m_sortRunning = false;
};

}  // namespace kindrel
