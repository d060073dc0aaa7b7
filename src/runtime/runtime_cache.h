// The unpacked runtime of a portable viewer part: found in the user's cache and checked, or
// unpacked there once (safely, under a lock), or into a private temporary folder.
#pragma once

#include "runtime/runtime_bundle.h"
#include "services/posix_file.h"

#include <string>

namespace kindrel {

// The runtime could be neither found nor unpacked anywhere; what() is one sentence.
class ERuntimeError : public KindrelError {
  public:
    using KindrelError::KindrelError;
};

// Where runtimes go.
struct RuntimePlace {
    std::string cacheHome;  // $XDG_CACHE_HOME, else $HOME/.cache; empty when neither is usable
    std::string tempDir;    // for a private copy: $TMPDIR, else /tmp

    // The place named by the environment.
    static RuntimePlace FromEnvironment();
};

// A runtime ready to run.
struct ReadyRuntime {
    std::string dir;           // the folder holding kindrel-viewer, lib/ and plugins/
    bool privateCopy = false;  // a private temporary copy: remove it when the viewer ends
    bool unpacked = false;     // unpacked by this start (false: found in the cache)
    WUniqueFd lock;            // shared lock on the cached runtime; keep it while it runs
    std::string cacheProblem;  // why the cache was not used (empty when it was)
};

// Makes sure the runtime of bundle (read from fd) is unpacked and intact, and returns it.
// Cache: <cacheHome>/kindrel/runtime-<id>/ (0700), unpacked beside it into a temporary folder
// and renamed into place once complete; a damaged copy is unpacked afresh; concurrent starts
// serialise on <id>.lock. Unpacking also removes other runtimes unused for 30 days. A cache that is unusable (not writable, a file or symlink in the way,
// owned by someone else, full) gives a private temporary copy instead. Throws ERuntimeError
// when even that fails, EBundleError when the bundle itself is damaged.
ReadyRuntime PrepareRuntime(int fd, const RuntimeBundle& bundle, const RuntimePlace& place);

// True when the folder open at dirFd holds exactly the bundle's files, each with its size,
// mode and hash, and belongs to this user with no access for others.
bool VerifyRuntime(int dirFd, const BundleIndex& index);

// Removes a folder of ours and everything in it; symlinks inside are removed, not followed.
void RemoveRuntimeFolder(const std::string& dir);

}  // namespace kindrel
