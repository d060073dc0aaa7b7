#include "containers/ui_hooks.h"

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

void ReportProgress(const std::string& label, long long done, long long total) {
    if (Hooks().progress) Hooks().progress(label, done, total);
}

void ShowWarning(const std::string& message) {
    if (Hooks().warning) Hooks().warning(message);
}

void SetCancelRequested(bool on) { g_cancel.store(on, std::memory_order_relaxed); }

bool CancelRequested() { return g_cancel.load(std::memory_order_relaxed); }

}  // namespace kindrel
