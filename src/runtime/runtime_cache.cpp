#include "runtime/runtime_cache.h"

#include "containers/temp_file.h"

#define XXH_INLINE_ALL
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

namespace kindrel {

namespace {

constexpr size_t kHashChunk = 1 << 20;
// How long a start waits for another start that is unpacking the same runtime.
constexpr auto kLockWait = std::chrono::seconds(20);
constexpr auto kLockPoll = std::chrono::milliseconds(20);
// Other runtimes unused for this long are removed when a new one is unpacked.
constexpr auto kUnusedAge = std::chrono::hours(24 * 30);

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A folder is ours to use when this user owns it and nobody else may write to it.
bool IsOurs(const struct stat& st) {
    return st.st_uid == ::geteuid() && (st.st_mode & 022) == 0;
}

// Creates path and its missing parents with mode 0700 (the cache folders of the user).
bool MakeFolders(const std::string& path, int& err) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty() && parent != path && !MakeFolders(parent.string(), err)) return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        err = errno;
        return false;
    }
    return true;
}

bool FileMatches(int fd, const BundleEntry& entry, std::vector<char>& buffer) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        static_cast<uint64_t>(st.st_size) != entry.size || (st.st_mode & 07777) != entry.mode)
        return false;
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    uint64_t done = 0;
    while (done < entry.size) {
        const ssize_t got = ReadAt(fd, buffer.data(), buffer.size(), static_cast<off_t>(done));
        if (got <= 0) return false;
        XXH3_64bits_update(&state, buffer.data(), static_cast<size_t>(got));
        done += static_cast<uint64_t>(got);
    }
    return done == entry.size && XXH3_64bits_digest(&state) == entry.hash;
}

// Walks the folder at dirFd and checks that it holds only the expected files and folders.
bool OnlyExpected(int dirFd, const std::string& prefix, const std::set<std::string>& files,
                  const std::set<std::string>& folders, size_t& filesSeen) {
    const int copy = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!dir) {
        if (copy >= 0) ::close(copy);
        return false;
    }
    bool ok = true;
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = prefix + name;
        if (files.count(path)) {
            ++filesSeen;
            continue;
        }
        if (!folders.count(path)) {
            ok = false;
            break;
        }
        const WUniqueFd sub(
            ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!sub.IsOpen() || ::fstat(sub.Get(), &st) != 0 || !IsOurs(st) ||
            !OnlyExpected(sub.Get(), path + "/", files, folders, filesSeen)) {
            ok = false;
            break;
        }
    }
    ::closedir(dir);
    return ok;
}

WUniqueFd OpenFolder(int atFd, const std::string& name) {
    return WUniqueFd(::openat(atFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Unpacks into a fresh folder made by mkdtemp from pattern; the folder is removed on failure.
std::string UnpackInto(std::string pattern, int fd, const RuntimeBundle& bundle) {
    if (!::mkdtemp(pattern.data()))
        throw ERuntimeWriteError("cannot create " + Quoted(pattern) + " (" + ErrorText(errno) + ")",
                                 errno);
    try {
        const WUniqueFd dirFd = OpenFolder(AT_FDCWD, pattern);
        if (!dirFd.IsOpen()) throw ERuntimeWriteError("cannot open " + Quoted(pattern), errno);
        UnpackRuntimeBundle(fd, bundle, dirFd.Get());
    } catch (...) {
        RemoveRuntimeFolder(pattern);
        throw;
    }
    return pattern;
}

// Removes the other runtimes in base that no start has used for kUnusedDays (their lock
// file's time) and that no viewer runs from (their lock is free), so that the cache does not
// grow with every build a receiver is sent.
void RemoveUnusedRuntimes(const std::string& base, int baseFd, const std::string& keep) {
    const auto now = std::chrono::system_clock::now();
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(base, ec)) {
        const std::string name = item.path().filename().string();
        const std::string suffix = ".lock";
        if (name.rfind("runtime-", 0) != 0 || name.size() <= suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string runtime = name.substr(0, name.size() - suffix.size());
        if (runtime == keep) continue;
        const WUniqueFd lock(::openat(baseFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!lock.IsOpen() || ::fstat(lock.Get(), &st) != 0 || st.st_uid != ::geteuid() ||
            now - std::chrono::system_clock::from_time_t(st.st_mtime) < kUnusedAge ||
            ::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        RemoveRuntimeFolder(base + "/" + runtime);
        ::unlinkat(baseFd, name.c_str(), 0);
    }
}

// The cached runtime under <cacheHome>/kindrel, or an exception saying why the cache is not
// usable (ERuntimeWriteError, ERuntimeError).
ReadyRuntime FromCache(int fd, const RuntimeBundle& bundle, const RuntimePlace& place) {
    if (place.cacheHome.empty())
        throw ERuntimeError("no cache folder is known (neither XDG_CACHE_HOME nor HOME is set)");
    const std::string base = place.cacheHome + "/kindrel";
    int err = 0;
    if (!MakeFolders(base, err))
        throw ERuntimeWriteError("cannot create " + Quoted(base) + " (" + ErrorText(err) + ")",
                                 err);
    const WUniqueFd baseFd = OpenFolder(AT_FDCWD, base);
    struct stat st {};
    if (!baseFd.IsOpen() || ::fstat(baseFd.Get(), &st) != 0)
        throw ERuntimeError(Quoted(base) + " is not a folder of this user");
    if (!IsOurs(st))
        throw ERuntimeError(Quoted(base) + " belongs to another user or is writable by others");

    const std::string name = "runtime-" + bundle.where.footer.RuntimeIdHex();
    const std::string lockName = name + ".lock";
    ReadyRuntime ready;
    ready.dir = base + "/" + name;
    ready.lock.Reset(::openat(baseFd.Get(), lockName.c_str(),
                              O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!ready.lock.IsOpen() || ::fstat(ready.lock.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid())
        throw ERuntimeWriteError("cannot open the lock file " + Quoted(base + "/" + lockName) +
                                     " (" + ErrorText(errno) + ")",
                                 errno);
    const int lock = ready.lock.Get();
    const auto verified = [&] {
        const WUniqueFd dirFd = OpenFolder(baseFd.Get(), name);
        return dirFd.IsOpen() && VerifyRuntime(dirFd.Get(), bundle.index);
    };

    // The common case: the runtime is there and intact; readers share the lock.
    if (::flock(lock, LOCK_SH) == 0 && verified()) {
        ::futimens(lock, nullptr);  // the lock file's time tells when the runtime was last used
        return ready;
    }
    ::flock(lock, LOCK_UN);

    // Missing or damaged: take the lock alone to unpack. Meanwhile another start may be
    // unpacking it (then it turns up intact) or viewers may still run from a damaged copy.
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0) break;
        if (::flock(lock, LOCK_SH | LOCK_NB) == 0) {
            if (verified()) return ready;
            ::flock(lock, LOCK_UN);
        }
        if (std::chrono::steady_clock::now() > deadline)
            throw ERuntimeError("the cached runtime " + Quoted(ready.dir) +
                                " is damaged and still in use");
        std::this_thread::sleep_for(kLockPoll);
    }
    if (!verified()) {
        // Left-overs of an unpacking that crashed; only starts holding this lock make them.
        const std::string tempPrefix = "." + name + ".";
        std::error_code ec;
        for (const auto& item : std::filesystem::directory_iterator(base, ec))
            if (item.path().filename().string().rfind(tempPrefix, 0) == 0)
                RemoveRuntimeFolder(item.path().string());

        const std::string temp = UnpackInto(base + "/" + tempPrefix + "XXXXXX", fd, bundle);
        // Swap the fresh folder with whatever is in the way (a damaged copy, a file, a
        // symlink), then remove that; the name never points at a half-written runtime.
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, ready.dir.c_str(), RENAME_NOREPLACE) !=
            0) {
            const int noReplace = errno;
            bool swapped = false;
            if (noReplace == EEXIST)
                swapped = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, ready.dir.c_str(),
                                      RENAME_EXCHANGE) == 0;
            if (!swapped && (noReplace == EINVAL || noReplace == ENOSYS || noReplace == EEXIST)) {
                // Filesystems without renameat2 flags: move the old one aside first.
                std::string aside = base + "/" + tempPrefix + "old.XXXXXX";
                WUniqueFd placeholder(::mkstemp(aside.data()));
                ::unlink(aside.c_str());
                swapped = (::rename(ready.dir.c_str(), aside.c_str()) == 0 || errno == ENOENT) &&
                          ::rename(temp.c_str(), ready.dir.c_str()) == 0;
                if (swapped) RemoveRuntimeFolder(aside);
            } else if (swapped) {
                RemoveRuntimeFolder(temp);  // now the old contents
            }
            if (!swapped) {
                const int e = errno;
                RemoveRuntimeFolder(temp);
                throw ERuntimeWriteError(
                    "cannot move the runtime into " + Quoted(ready.dir) + " (" + ErrorText(e) + ")",
                    e);
            }
        }
        ready.unpacked = true;
        RemoveUnusedRuntimes(base, baseFd.Get(), name);
    }
    // Keep a shared lock while the viewer runs, so no later start replaces it under us.
    ::flock(lock, LOCK_SH);
    ::futimens(lock, nullptr);
    return ready;
}

}  // namespace

RuntimePlace RuntimePlace::FromEnvironment() {
    RuntimePlace place;
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    // Relative values are ignored, as the base directory convention asks.
    if (xdg && xdg[0] == '/')
        place.cacheHome = xdg;
    else if (home && home[0] == '/')
        place.cacheHome = std::string(home) + "/.cache";
    place.tempDir = TemporaryDirectory();
    return place;
}

bool VerifyRuntime(int dirFd, const BundleIndex& index) {
    struct stat st {};
    if (::fstat(dirFd, &st) != 0 || !S_ISDIR(st.st_mode) || !IsOurs(st) || (st.st_mode & 077) != 0)
        return false;
    std::set<std::string> files, folders;
    for (const BundleEntry& entry : index.entries) {
        files.insert(entry.path);
        for (size_t slash = entry.path.find('/'); slash != std::string::npos;
             slash = entry.path.find('/', slash + 1))
            folders.insert(entry.path.substr(0, slash));
    }
    size_t seen = 0;
    if (!OnlyExpected(dirFd, "", files, folders, seen) || seen != files.size()) return false;
    std::vector<char> buffer(kHashChunk);
    for (const BundleEntry& entry : index.entries) {
        const WUniqueFd file(
            ::openat(dirFd, entry.path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!file.IsOpen() || !FileMatches(file.Get(), entry, buffer)) return false;
    }
    return true;
}

void RemoveRuntimeFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

ReadyRuntime PrepareRuntime(int fd, const RuntimeBundle& bundle, const RuntimePlace& place) {
    std::string problem;
    try {
        return FromCache(fd, bundle, place);
    } catch (const ERuntimeWriteError& error) {
        problem = error.what();
    } catch (const ERuntimeError& error) {
        problem = error.what();
    }
    // The cache cannot be used: a private copy for this run only.
    ReadyRuntime ready;
    ready.privateCopy = true;
    ready.unpacked = true;
    ready.cacheProblem = problem;
    try {
        ready.dir = UnpackInto(place.tempDir + "/kindrel-runtime-XXXXXX", fd, bundle);
    } catch (const ERuntimeWriteError& error) {
        throw ERuntimeError("The viewer's runtime could not be unpacked, neither into the cache (" +
                            problem + ") nor into a temporary folder (" + error.what() + ").");
    }
    return ready;
}

}  // namespace kindrel
