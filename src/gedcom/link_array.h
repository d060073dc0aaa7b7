// Many short lists of numbers in one array of three-link chunks (WLinkArray), so that the
// children of every family and the extra families of every individual cost no heap block
// each.
#pragma once

#include "containers/array_index.h"

#include <cstdint>

namespace kindrel {

// Lists of links in chunks of three. A list is named by the position of its first chunk;
// slots fill in order, so the first empty slot (number 0) ends the list. Positions inside a
// list count from 1 over the whole chain. Invalid list positions read as 0 and writes to
// them are ignored.
class WLinkArray : public WABSArrayIndex {
  public:
    // Bytes per chunk: three links of (number, two attribute bytes) and the next chunk.
    static constexpr int kChunkSize = 28;
    // Links per chunk.
    static constexpr int kSlots = 3;

    // An empty array with room for initialCount chunks.
    explicit WLinkArray(int initialCount);

    // A new list holding one link; its position (the list's name), 0 for number 0.
    int NewList(std::int32_t number, std::uint8_t first, std::uint8_t second);
    // Appends a link to the list; false when the number is 0, the list does not exist, or
    // (without allowDuplicates) the number is already in the list.
    bool AppendLink(int list, bool allowDuplicates, std::uint8_t first, std::uint8_t second,
                    std::int32_t number);
    // The number at position (from 1) of the list, 0 when the list ends before it.
    std::int32_t LinkAt(int list, int position) const;
    // The link at position; false when the chunk for that position does not exist.
    bool GetLink(int list, int position, std::int32_t& number, std::uint8_t& first,
                 std::uint8_t& second) const;
    // Overwrites the link at position; false when the chunk for that position does not exist.
    bool SetLink(int list, int position, std::int32_t number, std::uint8_t first,
                 std::uint8_t second);
    // Overwrites the first link whose number is key; nothing when there is none.
    void ReplaceLink(int list, std::int32_t key, std::int32_t number, std::uint8_t first,
                     std::uint8_t second);
    // Position (from 1, over the whole list) of the first link whose number is key, or 0.
    int FindLink(int list, std::int32_t key) const;
    // Number of links in the list (0 for an invalid list).
    int ListLength(int list) const;

  private:
    // The chunk holding position, or 0; slot receives the slot index (0 to 2).
    int ChunkFor(int list, int position, int& slot) const;
    std::int32_t Number(int chunk, int slot) const;
    int NextChunk(int chunk) const;
    void Store(int chunk, int slot, std::int32_t number, std::uint8_t first, std::uint8_t second);
};

}  // namespace kindrel
