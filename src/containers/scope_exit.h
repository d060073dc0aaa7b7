// Runs a clean-up action when a scope ends, normally or by an exception.
#pragma once

#include <utility>

namespace kindrel {

// Calls the action from its destructor; used where a walk must leave shared working state
// (flags, busy marks) clear even when a record getter throws.
template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};

}  // namespace kindrel
