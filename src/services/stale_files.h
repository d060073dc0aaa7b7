// Removal of temporary files "fmr*.tmp" left behind by viewers that ended abnormally.
#pragma once

#include <string>

namespace kindrel {

// What a cleanup did.
struct StaleCleanupResult {
    int deleted = 0;  // stale files removed
    int kept = 0;     // matching files left alone (locked, not ours, not regular files)
};

// Files younger than this are left alone: a viewer takes its shared lock just after creating
// a file, and a cleanup running in that instant must not delete it.
inline constexpr int kStaleMinAgeSeconds = 60;

// Deletes the "fmr*.tmp" files in folder that are regular files of the current user, at
// least minAgeSeconds old, and that no running viewer holds: each is locked exclusively
// without waiting (flock LOCK_EX|LOCK_NB) before it is removed, so a file under a shared
// lock survives.
StaleCleanupResult DeleteStaleTempFiles(const std::string& folder,
                                        int minAgeSeconds = kStaleMinAgeSeconds);

// The same for TemporaryDirectory().
StaleCleanupResult DeleteStaleTempFiles(int minAgeSeconds = kStaleMinAgeSeconds);

}  // namespace kindrel
