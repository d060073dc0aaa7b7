// The disk file search: walks folders for files whose names match include masks and no
// exclude mask. Plain C++ so that it runs on a worker thread and is tested without a window.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace kindrel {

// What to search for.
struct FileSearchOptions {
    std::vector<std::string> folders;    // where to start
    std::string includeMasks = "*.ged";  // wildcard masks separated by ";" (or ",")
    std::string excludeMasks;            // the same; a match excludes a file or a folder
    bool subDirectories = true;          // "Search sub-directories"
};

// What a search did.
struct FileSearchResult {
    long long found = 0;
    long long foldersVisited = 0;
    bool stopped = false;  // the stop flag ended the walk early
};

// Splits a mask list at ";" and ",", trims blanks and drops empty entries.
std::vector<std::string> SplitMasks(const std::string& masks);

// True when fileName (no folder) matches one of include (all names when include is empty) and
// none of exclude. Masks use "*", "?" and "[...]" and ignore letter case.
bool MatchesMasks(const std::string& fileName, const std::vector<std::string>& include,
                  const std::vector<std::string>& exclude);

// Walks the folders: every regular file that matches is reported through found (full path),
// in directory order. Symbolic links are not followed, unreadable folders are skipped, and
// folders matching an exclude mask are not entered, nor are /proc, /sys and /dev. The stop
// flag is read before every entry; entering (optional) is told each folder as it is opened.
FileSearchResult RunFileSearch(const FileSearchOptions& options, const std::atomic<bool>& stop,
                               const std::function<void(const std::string& path)>& found,
                               const std::function<void(const std::string& folder)>& entering = {});

}  // namespace kindrel
