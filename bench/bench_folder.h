// The private folder of a benchmark run that opens the viewer window: its settings
// (XDG_CONFIG_HOME) and temporary files (TMPDIR) go there, so a run neither reads nor changes
// the user's; the caller removes it at the end.
#pragma once

#include <stdlib.h>
#include <filesystem>
#include <string>

namespace bench {

// Makes the folder and points the environment at it; empty when it could not be made.
inline std::string PrivateRunFolder(const char* name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) return {};
    ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    ::setenv("TMPDIR", pattern.c_str(), 1);
    return pattern;
}

}  // namespace bench
