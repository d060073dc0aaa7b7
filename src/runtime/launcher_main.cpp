// The launcher of a portable self-viewing file: a statically linked program in front of the
// runtime bundle. It makes sure the bundled runtime is unpacked and intact, checks what the
// machine must provide itself, and runs the bundled kindrel-viewer on this file.
#include "runtime/runtime_cache.h"
#include "runtime/system_libs.h"
#include "services/self_view_trailer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kindrel {
namespace {

constexpr int kExitNoDisplay = 3;
constexpr int kExitSystem = 4;
constexpr int kExitUnpack = 5;
constexpr int kExitDamaged = 6;

// Variables the launcher sets for the viewer; their outer values travel as KINDREL_OUTER_<name>
// so that the viewer can give programs it starts the desktop's own.
const char* const kRuntimeVariables[] = {"LD_LIBRARY_PATH", "QT_PLUGIN_PATH",
                                         "QT_QPA_PLATFORM_PLUGIN_PATH"};

// Prints one sentence on stderr and returns code.
int Fail(int code, const std::string& sentence) {
    std::fprintf(stderr, "%s\n", sentence.c_str());
    return code;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool WantsHelpOrPlatform(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help") ||
            !std::strcmp(argv[i], "-platform"))
            return true;
    return false;
}

// Lines of a small text file in the runtime (none when it is missing).
std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    const WUniqueFd fd = OpenForReading(path);
    char buffer[16384];
    const ssize_t size = fd.IsOpen() ? ReadAt(fd.Get(), buffer, sizeof buffer, 0) : 0;
    std::string line;
    for (ssize_t i = 0; i < size; ++i) {
        if (buffer[i] != '\n') {
            line += buffer[i];
        } else if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// The end of the viewer part: the payload offset of a packed file, else the file's size.
long long ViewerPartEnd(int fd, long long size) {
    unsigned char tail[4] = {};
    if (size < kTrailerSize || ReadAt(fd, tail, 4, size - 4) != 4) return size;
    const uint32_t signature =
        tail[0] | tail[1] << 8 | tail[2] << 16 | static_cast<uint32_t>(tail[3]) << 24;
    if (signature != kTrailerSignature) return size;
    return ReadSelfViewTrailer(fd, "/proc/self/exe").trailer.payloadOffset;
}

// Runs the viewer as a child and removes the private runtime copy once it has ended.
int RunAndRemove(const std::string& viewer, std::vector<char*>& argv, const std::string& dir) {
    const pid_t child = ::fork();
    if (child < 0)
        return Fail(kExitUnpack, "The viewer could not be started: " + ErrorText(errno) + ".");
    if (child == 0) {
        ::execv(viewer.c_str(), argv.data());
        std::fprintf(stderr, "The viewer could not be started: %s.\n", std::strerror(errno));
        ::_exit(127);
    }
    // The terminal's Ctrl+C reaches the viewer itself; the launcher only waits.
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGQUIT, SIG_IGN);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    RemoveRuntimeFolder(dir);
    if (WIFSIGNALED(status)) {
        ::signal(WTERMSIG(status), SIG_DFL);
        ::raise(WTERMSIG(status));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int Launch(int argc, char** argv) {
    // The file itself stays open for the viewer, so a rename while it runs changes nothing.
    const int self = ::open("/proc/self/exe", O_RDONLY);
    struct stat st {};
    if (self < 0 || ::fstat(self, &st) != 0)
        return Fail(kExitDamaged, "This file cannot read itself: " + ErrorText(errno) + ".");

    RuntimeBundle bundle;
    try {
        if (!ReadRuntimeBundle(self, ViewerPartEnd(self, st.st_size), bundle))
            return Fail(kExitDamaged,
                        "This file carries no viewer runtime; pack it again with kindrel pack.");
    } catch (const KindrelError& error) {
        return Fail(kExitDamaged, std::string("This file is damaged: ") + error.what());
    }

    // What the machine must provide: a glibc as new as the build's and a display.
    const WSystemLibraries system;
    const std::string glibc = NewestDefinedVersion(system.Find("libc.so.6"), "GLIBC_");
    const std::string& floor = bundle.where.footer.glibcFloor;
    if (glibc.empty() || CompareVersions(glibc, floor) < 0)
        return Fail(kExitSystem,
                    "This computer's C library (glibc " + (glibc.empty() ? "not found" : glibc) +
                        ") is older than the glibc " + floor +
                        " that this viewer needs; open the file on a newer Linux (Debian 12, "
                        "Ubuntu 22.04, Fedora 36 or later).");
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM") &&
        !WantsHelpOrPlatform(argc, argv))
        return Fail(kExitNoDisplay,
                    "No display is available (DISPLAY and WAYLAND_DISPLAY are not set): open "
                    "this file on a desktop, or set QT_QPA_PLATFORM=offscreen to run it without "
                    "a screen.");

    ReadyRuntime runtime;
    try {
        runtime = PrepareRuntime(self, bundle, RuntimePlace::FromEnvironment());
    } catch (const EBundleError& error) {
        return Fail(kExitDamaged, std::string("This file is damaged: ") + error.what());
    } catch (const KindrelError& error) {
        return Fail(kExitUnpack, error.what());
    }
    if (!runtime.cacheProblem.empty())
        std::fprintf(stderr,
                     "Note: the cache cannot be used (%s); the viewer runs from a temporary copy "
                     "that is removed when it closes.\n",
                     runtime.cacheProblem.c_str());

    for (const std::string& soname : ReadLines(runtime.dir + "/system-libraries.txt"))
        if (system.Find(soname).empty()) {
            if (runtime.privateCopy) RemoveRuntimeFolder(runtime.dir);
            return Fail(kExitSystem, "This computer lacks the system library " + soname +
                                         ", which the viewer needs; install it with the "
                                         "system's package manager.");
        }

    // The bundled libstdc++ only when the system's is missing or older than the viewer needs,
    // so that system libraries built against a newer one (graphics drivers) keep working.
    std::string libraryPath = runtime.dir + "/lib";
    const std::string cxx = NewestDefinedVersion(system.Find("libstdc++.so.6"), "GLIBCXX_");
    if (cxx.empty() || CompareVersions(cxx, bundle.where.footer.cxxFloor) < 0) {
        const std::string& compatFloor = bundle.where.footer.compatGlibcFloor;
        if (CompareVersions(glibc, compatFloor) < 0) {
            if (runtime.privateCopy) RemoveRuntimeFolder(runtime.dir);
            return Fail(kExitSystem, "This computer's C++ library (GLIBCXX " +
                                         (cxx.empty() ? std::string("not found") : cxx) +
                                         ") is older than the viewer needs, and its glibc " +
                                         glibc + " is too old for the bundled one (glibc " +
                                         compatFloor + "); update the system's libstdc++.");
        }
        libraryPath += ":" + runtime.dir + "/lib/compat";
    }
    for (const char* name : kRuntimeVariables) {
        const std::string outer = std::string("KINDREL_OUTER_") + name;
        if (const char* value = std::getenv(name))
            ::setenv(outer.c_str(), value, 1);
        else
            ::unsetenv(outer.c_str());
    }
    if (const char* old = std::getenv("LD_LIBRARY_PATH"); old && *old)
        libraryPath += std::string(":") + old;
    ::setenv("LD_LIBRARY_PATH", libraryPath.c_str(), 1);
    ::setenv("QT_PLUGIN_PATH", (runtime.dir + "/plugins").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM_PLUGIN_PATH", (runtime.dir + "/plugins/platforms").c_str(), 1);
    ::setenv("KINDREL_RUNTIME", runtime.dir.c_str(), 1);
    if (runtime.lock.IsOpen())
        ::setenv("KINDREL_RUNTIME_LOCK", std::to_string(runtime.lock.Get()).c_str(), 1);

    const std::string viewer = runtime.dir + "/kindrel-viewer";
    const std::string selfPath = "/proc/self/fd/" + std::to_string(self);
    std::vector<char*> args{const_cast<char*>(viewer.c_str()), const_cast<char*>("--self-view"),
                            const_cast<char*>(selfPath.c_str())};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    if (runtime.privateCopy) return RunAndRemove(viewer, args, runtime.dir);
    // The shared lock on the runtime passes to the viewer with the process.
    const int lockFlags = ::fcntl(runtime.lock.Get(), F_GETFD);
    ::fcntl(runtime.lock.Get(), F_SETFD, lockFlags & ~FD_CLOEXEC);
    ::execv(viewer.c_str(), args.data());
    return Fail(kExitUnpack, "The viewer could not be started: " + ErrorText(errno) + ".");
}

}  // namespace
}  // namespace kindrel

int main(int argc, char** argv) {
    return kindrel::Launch(argc, argv);
}
