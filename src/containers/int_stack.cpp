#include "containers/int_stack.h"

namespace kindrel {

void WIntStack::Push(std::int32_t v) {
    if (m_depth < m_highWater) {
        ++m_depth;
        m_values.SetValue(m_depth, v);
        return;
    }
    m_values.Add(v);
    ++m_highWater;
    ++m_depth;
}

std::int32_t WIntStack::Pop() {
    if (m_depth <= 0) return 0;
    const std::int32_t v = m_values.GetValue(m_depth);
    --m_depth;
    return v;
}

std::int32_t WIntStack::Peek(int n) const {
    if (n == 0) n = m_depth;
    // Slots above the depth hold popped values, which are not on the stack any more.
    if (n <= 0 || n > m_depth) return 0;
    return m_values.GetValue(n);
}

void WIntStack::Clear() {
    m_depth = 0;
    m_highWater = 0;
    m_values.Clear();
}

bool WIntStack::Contains(std::int32_t v) const {
    for (int i = 1; i <= m_depth; ++i) {
        if (m_values.GetValue(i) == v) return true;
    }
    return false;
}

std::string WIntStack::AsText() const {
    std::string text;
    for (int i = 1; i <= m_depth; ++i) {
        text += std::to_string(m_values.GetValue(i));
        text += ',';
    }
    return text;
}

void WIntFIFO::Put(std::int32_t v) {
    const int slotCount = m_links.RecordCount();
    int slot = 0;
    for (int i = m_freeHint; i <= slotCount; ++i) {
        if (m_links.GetValue(i) == 0) {
            slot = i;
            break;
        }
    }
    if (slot == 0) {
        m_values.Add(v);
        slot = m_links.Add(kTailLink);
    } else {
        m_values.SetValue(slot, v);
        m_links.SetValue(slot, kTailLink);
    }
    m_freeHint = slot + 1;
    // Linking through the tail (or starting at the head) also after Clear keeps every
    // queued value reachable.
    if (m_tail != 0) {
        m_links.SetValue(m_tail, slot);
    } else {
        m_head = slot;
    }
    m_tail = slot;
    ++m_count;
}

bool WIntFIFO::Get(std::int32_t& v) {
    if (m_head == 0) return false;
    v = m_values.GetValue(m_head);
    const std::int32_t next = m_links.GetValue(m_head);
    m_links.SetValue(m_head, 0);
    if (m_head < m_freeHint) m_freeHint = m_head;
    if (next == kTailLink || next <= 0) {
        m_head = 0;
        m_tail = 0;
    } else {
        m_head = next;
    }
    --m_count;
    return true;
}

void WIntFIFO::Clear() {
    m_values.Clear();
    m_links.Clear();
    m_count = 0;
    m_head = 0;
    m_tail = 0;
    m_freeHint = 1;
}

}  // namespace kindrel
