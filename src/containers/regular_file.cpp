#include "containers/regular_file.h"

#include "containers/errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace kindrel {

std::string FileKindText(unsigned int mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

int OpenRegularFile(const std::string& path, int flags) {
    // O_NONBLOCK: opening a named pipe without a writer would otherwise wait for one forever.
    // O_NOCTTY: a terminal named by mistake does not become ours.
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw ENotRegularFile(path, FileKindText(info.st_mode));
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

}  // namespace kindrel
