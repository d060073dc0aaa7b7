#include "services/stale_files.h"

#include "containers/temp_file.h"
#include "services/posix_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>
#include <string_view>

namespace kindrel {

namespace {

bool IsTempName(std::string_view name) {
    return name.size() >= 7 && name.substr(0, 3) == "fmr" && name.substr(name.size() - 4) == ".tmp";
}

// Removes folder/name when it is a stale file of ours; true when it was removed.
bool RemoveIfStale(int dirFd, const char* name, int minAgeSeconds) {
    struct stat before {};
    if (::fstatat(dirFd, name, &before, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(before.st_mode) || before.st_uid != ::geteuid()) return false;
    if (minAgeSeconds > 0 && ::time(nullptr) - before.st_ctim.tv_sec < minAgeSeconds) return false;
    const WUniqueFd fd(
        ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.IsOpen()) return false;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return false;  // a viewer holds it
    // Remove the name only while it still names the file we locked.
    struct stat locked {
    }, now{};
    if (::fstat(fd.Get(), &locked) != 0 || ::fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (locked.st_dev != now.st_dev || locked.st_ino != now.st_ino) return false;
    return ::unlinkat(dirFd, name, 0) == 0;
}

}  // namespace

StaleCleanupResult DeleteStaleTempFiles(const std::string& folder, int minAgeSeconds) {
    StaleCleanupResult result;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return result;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempName(entry->d_name)) continue;
        if (RemoveIfStale(dirFd, entry->d_name, minAgeSeconds))
            ++result.deleted;
        else
            ++result.kept;
    }
    ::closedir(dir);
    return result;
}

StaleCleanupResult DeleteStaleTempFiles(int minAgeSeconds) {
    return DeleteStaleTempFiles(TemporaryDirectory(), minAgeSeconds);
}

}  // namespace kindrel
