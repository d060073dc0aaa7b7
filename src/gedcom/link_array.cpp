#include "gedcom/link_array.h"

#include <cstring>

namespace kindrel {

namespace {

constexpr int kNextOffset = 24;

}  // namespace

WLinkArray::WLinkArray(int initialCount) : WABSArrayIndex("", false, kChunkSize, initialCount) {}

std::int32_t WLinkArray::Number(int chunk, int slot) const {
    std::int32_t number;
    std::memcpy(&number, RecordAt(chunk) + slot * 8, sizeof number);
    return number;
}

int WLinkArray::NextChunk(int chunk) const {
    std::int32_t next;
    std::memcpy(&next, RecordAt(chunk) + kNextOffset, sizeof next);
    // A chain only ever points forward (chunks are appended), which also rules out loops.
    return next > chunk && next <= RecordCount() ? next : 0;
}

void WLinkArray::Store(int chunk, int slot, std::int32_t number, std::uint8_t first,
                       std::uint8_t second) {
    char* at = RecordAt(chunk) + slot * 8;
    std::memcpy(at, &number, sizeof number);
    at[4] = char(first);
    at[5] = char(second);
}

int WLinkArray::NewList(std::int32_t number, std::uint8_t first, std::uint8_t second) {
    if (number == 0) return 0;
    const int chunk = Add(nullptr);
    Store(chunk, 0, number, first, second);
    return chunk;
}

bool WLinkArray::AppendLink(int list, bool allowDuplicates, std::uint8_t first, std::uint8_t second,
                            std::int32_t number) {
    if (number == 0 || !IsValidIndex(list)) return false;
    int chunk = list;
    for (;;) {
        for (int slot = 0; slot < kSlots; ++slot) {
            const std::int32_t here = Number(chunk, slot);
            if (here == 0) {
                Store(chunk, slot, number, first, second);
                return true;
            }
            if (!allowDuplicates && here == number) return false;
        }
        const int next = NextChunk(chunk);
        if (next == 0) break;
        chunk = next;
    }
    const int added = Add(nullptr);
    Store(added, 0, number, first, second);
    const std::int32_t link = added;
    std::memcpy(RecordAt(chunk) + kNextOffset, &link, sizeof link);
    return true;
}

int WLinkArray::ChunkFor(int list, int position, int& slot) const {
    if (position < 1 || !IsValidIndex(list)) return 0;
    int chunk = list;
    for (int skip = (position - 1) / kSlots; skip > 0 && chunk != 0; --skip) {
        chunk = NextChunk(chunk);
    }
    slot = (position - 1) % kSlots;
    return chunk;
}

std::int32_t WLinkArray::LinkAt(int list, int position) const {
    int slot = 0;
    const int chunk = ChunkFor(list, position, slot);
    return chunk != 0 ? Number(chunk, slot) : 0;
}

bool WLinkArray::GetLink(int list, int position, std::int32_t& number, std::uint8_t& first,
                         std::uint8_t& second) const {
    int slot = 0;
    const int chunk = ChunkFor(list, position, slot);
    if (chunk == 0) return false;
    const char* at = RecordAt(chunk) + slot * 8;
    std::memcpy(&number, at, sizeof number);
    first = std::uint8_t(at[4]);
    second = std::uint8_t(at[5]);
    return true;
}

bool WLinkArray::SetLink(int list, int position, std::int32_t number, std::uint8_t first,
                         std::uint8_t second) {
    int slot = 0;
    const int chunk = ChunkFor(list, position, slot);
    if (chunk == 0) return false;
    Store(chunk, slot, number, first, second);
    return true;
}

void WLinkArray::ReplaceLink(int list, std::int32_t key, std::int32_t number, std::uint8_t first,
                             std::uint8_t second) {
    const int position = FindLink(list, key);
    if (position > 0) SetLink(list, position, number, first, second);
}

int WLinkArray::FindLink(int list, std::int32_t key) const {
    if (!IsValidIndex(list)) return 0;
    int position = 0;
    for (int chunk = list; chunk != 0; chunk = NextChunk(chunk)) {
        for (int slot = 0; slot < kSlots; ++slot) {
            const std::int32_t here = Number(chunk, slot);
            if (here == 0) return 0;
            ++position;
            if (here == key) return position;
        }
    }
    return 0;
}

int WLinkArray::ListLength(int list) const {
    if (!IsValidIndex(list)) return 0;
    int length = 0;
    for (int chunk = list; chunk != 0; chunk = NextChunk(chunk)) {
        for (int slot = 0; slot < kSlots; ++slot) {
            if (Number(chunk, slot) == 0) return length;
            ++length;
        }
    }
    return length;
}

}  // namespace kindrel
