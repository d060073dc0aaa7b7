// Unique temporary files "fmr*.tmp" in the system temporary directory, and their removal
// when a signal ends the process.
#pragma once

#include <string>

namespace kindrel {

// An open temporary file: created atomically (mkstemps, mode 0600) and held with a shared
// advisory lock, so the stale-file cleanup of another viewer leaves it alone.
struct TempFile {
    int fd = -1;
    std::string path;
};

// Creates a new empty "fmr*.tmp" file in TemporaryDirectory() and records its name for
// RemoveTempFilesNow. Throws EFileError on failure.
TempFile CreateTempFile();

// Deletes a file made by CreateTempFile and forgets its name.
void RemoveTempFile(const std::string& path);

// Forgets the name of a file made by CreateTempFile without deleting it (it is kept).
void ForgetTempFile(const std::string& path);

// Deletes every temporary file this process still holds. Async-signal-safe: it only reads a
// fixed table and calls unlink.
void RemoveTempFilesNow() noexcept;

// Installs handlers for SIGTERM and SIGHUP (and SIGINT when withInterrupt) that delete the
// temporary files this process holds and then end it by the same signal.
void InstallTerminationCleanup(bool withInterrupt);

// The handler InstallTerminationCleanup installs, for a program that handles one of those
// signals itself and wants the same ending.
void TerminateWithCleanup(int signalNumber);

// The directory for temporary files (honours TMPDIR).
std::string TemporaryDirectory();

}  // namespace kindrel
