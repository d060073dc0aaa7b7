// Unique temporary files "fmr*.tmp" in the system temporary directory.
#pragma once

#include <string>

namespace kindrel {

// An open temporary file: created atomically (mkstemps, mode 0600) and held with a shared
// advisory lock, so the stale-file cleanup of another viewer leaves it alone.
struct TempFile {
    int fd = -1;
    std::string path;
};

// Creates a new empty "fmr*.tmp" file in TemporaryDirectory(). Throws EFileError on failure.
TempFile CreateTempFile();

// The directory for temporary files (honours TMPDIR).
std::string TemporaryDirectory();

}  // namespace kindrel
