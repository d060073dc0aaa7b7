#include "containers/ui_hooks.h"

#include <chrono>

namespace kindrel {

namespace {
std::atomic<bool> g_cancel{false};
}

UiHooks& Hooks() {
    static UiHooks hooks;
    return hooks;
}

void PumpEvents() {
    if (Hooks().pumpEvents) Hooks().pumpEvents();
}

bool WPumpThrottle::Due() {
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    if (m_started && now - m_last < kIntervalNs) return false;
    m_started = true;
    m_last = now;
    return true;
}

void ReportProgress(const std::string& label, long long done, long long total) {
    if (Hooks().progress) Hooks().progress(label, done, total);
}

void ShowWarning(const std::string& message) {
    if (Hooks().warning) Hooks().warning(message);
}

void SetCancelRequested(bool on) { g_cancel.store(on, std::memory_order_relaxed); }

bool CancelRequested() { return g_cancel.load(std::memory_order_relaxed); }

}  // namespace kindrel
