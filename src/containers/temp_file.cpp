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
    flock(fd, LOCK_SH | LOCK_NB);
    return TempFile{fd, std::string(name.data())};
}

}  // namespace kindrel
