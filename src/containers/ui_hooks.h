// Hooks through which long work in the core talks to whatever front end is running:
// the event pump (keeps a window responsive), progress, the cancel flag and warnings.
// The core never calls a toolkit directly; the application installs these at start-up.
// Without an installed hook each call does nothing (the command line installs its own).
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace kindrel {

struct UiHooks {
    // Lets the user interface process pending events (QCoreApplication::processEvents).
    std::function<void()> pumpEvents;
    // Reports progress of long work: a short label, done and total units (total 0 = unknown).
    std::function<void(const std::string& label, long long done, long long total)> progress;
    // Shows a warning that does not stop the work (a message box, or a line on stderr).
    std::function<void(const std::string& message)> warning;
};

// The installed hooks; one set for the process.
UiHooks& Hooks();

// Calls the installed event pump, if any.
void PumpEvents();

// Decides when an event pump that is called very often (every few dozen keys of a sort)
// processes events: at most once per interval, so that the window stays responsive without
// the pump's own cost dominating the work.
class WPumpThrottle {
  public:
    static constexpr long long kIntervalNs = 15'000'000;
    // True when the interval has passed since the last true answer (the first call is due).
    bool Due();

  private:
    long long m_last = 0;
    bool m_started = false;
};
// Calls the installed progress hook, if any.
void ReportProgress(const std::string& label, long long done, long long total);
// Calls the installed warning hook, if any.
void ShowWarning(const std::string& message);

// The cancel flag of the wait dialog: set by Cancel (or Ctrl+C), read by long work.
void SetCancelRequested(bool on);
bool CancelRequested();

}  // namespace kindrel
