#include "containers/temp_file.h"

#include "containers/errors.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace kindrel {

namespace {

// The names of the temporary files this process holds, in a fixed table that a signal
// handler can read. A slot is free, being written (skipped by the handler) or in use.
constexpr int kSlotCount = 64;
enum : int { kSlotFree = 0, kSlotWriting = 1, kSlotUsed = 2 };

struct TempSlot {
    std::atomic<int> state{kSlotFree};
    char path[PATH_MAX];
};

TempSlot g_slots[kSlotCount];

void Remember(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= PATH_MAX) return;
    for (TempSlot& slot : g_slots) {
        int expected = kSlotFree;
        if (!slot.state.compare_exchange_strong(expected, kSlotWriting)) continue;
        std::memcpy(slot.path, path, length + 1);
        slot.state.store(kSlotUsed);
        return;
    }
    // A full table only means that a signal could leave this file for the stale-file cleanup.
}

}  // namespace

std::string TemporaryDirectory() {
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec);
    if (ec) return "/tmp";
    return dir.string();
}

TempFile CreateTempFile() {
    std::string pattern = TemporaryDirectory() + "/fmrXXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // The ending signals wait until the new name is recorded, so that none can end the
    // process between the two and leave the file behind.
    sigset_t ending, before;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    sigaddset(&ending, SIGINT);
    pthread_sigmask(SIG_BLOCK, &ending, &before);
    // mkstemps creates the file with O_EXCL and mode 0600: no window in which another
    // process could take the name.
    const int fd = mkstemps(name.data(), 4);
    if (fd >= 0) Remember(name.data());
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (fd < 0) throw EFileError(pattern);
    // The shared lock tells other viewers' stale-file cleanup that the file is in use; the
    // cleanup also leaves files younger than a minute alone, which covers this instant.
    // Nobody else can hold an exclusive lock on a file this new, so failure is not expected.
    std::string path(name.data());
    if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
        close(fd);
        RemoveTempFile(path);
        throw EFileError(path);
    }
    return TempFile{fd, std::move(path)};
}

void ForgetTempFile(const std::string& path) {
    for (TempSlot& slot : g_slots) {
        if (slot.state.load() != kSlotUsed || path != slot.path) continue;
        slot.state.store(kSlotFree);
        return;
    }
}

void RemoveTempFile(const std::string& path) {
    // Unlink first: a signal in between then finds a name that is already gone.
    ::unlink(path.c_str());
    ForgetTempFile(path);
}

void RemoveTempFilesNow() noexcept {
    for (TempSlot& slot : g_slots) {
        if (slot.state.load() == kSlotUsed) ::unlink(slot.path);
    }
}

void TerminateWithCleanup(int signalNumber) {
    RemoveTempFilesNow();
    // End by the same signal, so the parent sees how the program ended.
    std::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void InstallTerminationCleanup(bool withInterrupt) {
    struct sigaction action {};
    action.sa_handler = TerminateWithCleanup;
    sigemptyset(&action.sa_mask);
    // The other ending signals wait while one handler runs.
    sigaddset(&action.sa_mask, SIGTERM);
    sigaddset(&action.sa_mask, SIGHUP);
    sigaddset(&action.sa_mask, SIGINT);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    if (withInterrupt) sigaction(SIGINT, &action, nullptr);
}

}  // namespace kindrel
