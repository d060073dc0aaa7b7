// The one way files are written in place of others: under a temporary name beside the target,
// synced and renamed over it once complete, so a reader sees the old file or the whole new
// one, and a failure (full disk, a size limit, a cancel) leaves the old file untouched.
#pragma once

#include "containers/errors.h"

#include <sys/types.h>
#include <cstddef>
#include <functional>
#include <string>

namespace kindrel {

// Writing the file failed: what() is "Cannot write "<target>": <reason>.", Reason() the
// reason alone.
class EOutputError : public KindrelError {
  public:
    EOutputError(const std::string& target, const std::string& reason);
    const std::string& Reason() const { return m_reason; }

  private:
    std::string m_reason;
};

class WAtomicOutput {
  public:
    // Creates the temporary file beside target (a symbolic link's target: the link stays).
    // newFileMode is the mode a new file gets less the umask; a file that is replaced keeps
    // its own mode unless keepReplacedMode is false. Throws EOutputError when target is a
    // folder or nothing can be created beside it.
    explicit WAtomicOutput(const std::string& target, mode_t newFileMode = 0666,
                           bool keepReplacedMode = true);
    WAtomicOutput(const WAtomicOutput&) = delete;
    WAtomicOutput& operator=(const WAtomicOutput&) = delete;
    // Removes the temporary file unless Commit put it in place.
    ~WAtomicOutput();

    // The temporary file's descriptor (for writers that write themselves) and name.
    int Fd() const { return m_fd; }
    const std::string& TempName() const { return m_temp; }
    // The file that Commit replaces (the link's target for a symbolic link).
    const std::string& Target() const { return m_target; }

    // Appends size bytes; throws EOutputError with the system's reason.
    void Write(const void* data, size_t size);
    // Sets the mode, syncs, closes and renames the file over the target; throws EOutputError
    // (the temporary file is then removed and the target left as it was).
    void Commit();
    // As Commit, with the syncs (which wait for the disk, a second or more for a large file
    // on a slow one) run on a worker thread while whileWaiting is called every few
    // milliseconds on this one (a window's event pump).
    void Commit(const std::function<void()>& whileWaiting);
    // Throws EOutputError for err (errno value) naming the target; for writers using Fd().
    [[noreturn]] void Fail(int err) const;

  private:
    std::string m_shownName;  // the name the caller gave, used in messages
    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    mode_t m_mode = 0;
};

}  // namespace kindrel
