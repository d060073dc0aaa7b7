#include "containers/temp_file.h"

#include "containers/errors.h"

#include <filesystem>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace kindrel {

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
    // mkstemps creates the file with O_EXCL and mode 0600: no window in which another
    // process could take the name.
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) throw EFileError(pattern);
    // The shared lock tells other viewers' stale-file cleanup that the file is in use; the
    // cleanup also leaves files younger than a minute alone, which covers this instant.
    // Nobody else can hold an exclusive lock on a file this new, so failure is not expected.
    if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
        close(fd);
        unlink(name.data());
        throw EFileError(std::string(name.data()));
    }
    return TempFile{fd, std::string(name.data())};
}

}  // namespace kindrel
