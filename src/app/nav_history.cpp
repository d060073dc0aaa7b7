#include "app/nav_history.h"

namespace kindrel {

void WNavHistory::Reset(int32_t previous) {
    m_back.Clear();
    m_forward.Clear();
    m_previous = previous;
}

bool WNavHistory::PushPreviousOntoBack() {
    if (!m_back.IsEmpty() && m_back.Peek() == m_previous) return false;
    m_back.Push(m_previous);
    return true;
}

void WNavHistory::UserMoved(int32_t individual) {
    PushPreviousOntoBack();
    m_previous = individual;
    m_forward.Clear();
}

bool WNavHistory::Jump(int32_t individual) {
    if (individual <= 0) return false;
    PushPreviousOntoBack();
    m_previous = individual;
    if (m_move) m_move(individual);
    return true;
}

bool WNavHistory::GoBack(int32_t active) {
    if (m_back.IsEmpty()) return false;
    if (m_back.Peek() == active) m_back.Pop();
    if (m_back.IsEmpty()) return false;
    m_forward.Push(m_previous);
    const int32_t target = m_back.Pop();
    // The jump pushes the individual being left onto back; that entry is discarded again.
    // When the jump pushed nothing (that individual was already on top) nothing is popped,
    // so no earlier entry of the history is lost.
    const bool willPush = target > 0 && (m_back.IsEmpty() || m_back.Peek() != m_previous);
    Jump(target);
    if (willPush) m_back.Pop();
    return true;
}

bool WNavHistory::GoForward(int32_t active) {
    if (m_forward.IsEmpty()) return false;
    if (m_forward.Peek() == active) m_forward.Pop();
    if (m_forward.IsEmpty()) return false;
    m_back.Push(m_previous);
    Jump(m_forward.Pop());
    return true;
}

}  // namespace kindrel
