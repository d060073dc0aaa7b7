#include "services/atomic_output.h"

#include "services/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <exception>
#include <filesystem>
#include <thread>

namespace kindrel {

namespace {

std::string FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path().string() : std::string(".");
}

// Makes the rename itself durable; a folder that cannot be synced is no failure of the write.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

EOutputError::EOutputError(const std::string& target, const std::string& reason)
    : KindrelError("Cannot write \"" + target + "\": " + reason + "."), m_reason(reason) {}

WAtomicOutput::WAtomicOutput(const std::string& target, mode_t newFileMode, bool keepReplacedMode)
    : m_shownName(target), m_target(target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path(target);
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) path = resolved;
    }
    m_target = path.string();
    struct stat old {};
    const bool exists = ::stat(m_target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) throw EOutputError(m_shownName, "it is a folder");
    if (exists && !S_ISREG(old.st_mode)) throw EOutputError(m_shownName, "it is not a file");
    m_mode = exists && keepReplacedMode ? (old.st_mode & 07777)
                                        : (newFileMode & ~CurrentUmask() & 07777);
    std::string pattern =
        (fs::path(FolderOf(path)) / ("." + path.filename().string() + ".XXXXXX")).string();
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) Fail(errno);
    m_temp = pattern;
}

WAtomicOutput::~WAtomicOutput() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
}

void WAtomicOutput::Write(const void* data, size_t size) {
    if (!WriteAll(m_fd, data, size)) Fail(errno);
}

void WAtomicOutput::Commit() {
    if (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0) Fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) Fail(errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) Fail(errno);
    m_temp.clear();
    SyncFolder(FolderOf(std::filesystem::path(m_target)));
}

void WAtomicOutput::Commit(const std::function<void()>& whileWaiting) {
    if (!whileWaiting) {
        Commit();
        return;
    }
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    // Only the worker touches this object until it has finished.
    std::thread worker([&] {
        try {
            Commit();
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true, std::memory_order_release);
    });
    while (!finished.load(std::memory_order_acquire)) {
        whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void WAtomicOutput::Fail(int err) const {
    throw EOutputError(m_shownName, ErrorText(err));
}

}  // namespace kindrel
