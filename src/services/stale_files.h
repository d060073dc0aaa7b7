// Removal of temporary files "fmr*.tmp" left behind by viewers that ended abnormally.
#pragma once

#include <string>

namespace kindrel {

// What a cleanup did.
struct StaleCleanupResult {
    int deleted = 0;  // stale files removed
    int kept = 0;     // matching files left alone (locked, not ours, not regular files)
};

// Deletes the "fmr*.tmp" files in folder that are regular files of the current user and
// that no running viewer holds: each is locked exclusively without waiting
// (flock LOCK_EX|LOCK_NB) before it is removed, so a file under a shared lock survives.
StaleCleanupResult DeleteStaleTempFiles(const std::string& folder);

// The same for TemporaryDirectory().
StaleCleanupResult DeleteStaleTempFiles();

}  // namespace kindrel
