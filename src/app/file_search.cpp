#include "app/file_search.h"

#include <fnmatch.h>
#include <filesystem>
#include <system_error>

namespace kindrel {

namespace fs = std::filesystem;

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool MatchesAny(const std::string& name, const std::vector<std::string>& masks) {
    for (const std::string& mask : masks)
        if (::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
    return false;
}

// Pseudo file systems whose walk is endless or meaningless.
bool IsSystemFolder(const fs::path& path) {
    const std::string text = path.lexically_normal().string();
    return text == "/proc" || text == "/sys" || text == "/dev";
}

}  // namespace

std::vector<std::string> SplitMasks(const std::string& masks) {
    std::vector<std::string> result;
    size_t start = 0;
    while (start <= masks.size()) {
        size_t end = masks.find_first_of(";,", start);
        if (end == std::string::npos) end = masks.size();
        std::string mask = Trim(masks.substr(start, end - start));
        if (!mask.empty()) result.push_back(std::move(mask));
        start = end + 1;
    }
    return result;
}

bool MatchesMasks(const std::string& fileName, const std::vector<std::string>& include,
                  const std::vector<std::string>& exclude) {
    if (!include.empty() && !MatchesAny(fileName, include)) return false;
    return !MatchesAny(fileName, exclude);
}

FileSearchResult RunFileSearch(const FileSearchOptions& options, const std::atomic<bool>& stop,
                               const std::function<void(const std::string& path)>& found,
                               const std::function<void(const std::string& folder)>& entering) {
    FileSearchResult result;
    const std::vector<std::string> include = SplitMasks(options.includeMasks);
    const std::vector<std::string> exclude = SplitMasks(options.excludeMasks);
    // An explicit stack instead of recursion: deep trees cannot exhaust the thread's stack.
    std::vector<fs::path> pending;
    for (auto it = options.folders.rbegin(); it != options.folders.rend(); ++it)
        if (!it->empty()) pending.emplace_back(*it);
    while (!pending.empty()) {
        if (stop.load(std::memory_order_relaxed)) {
            result.stopped = true;
            return result;
        }
        const fs::path folder = std::move(pending.back());
        pending.pop_back();
        std::error_code ec;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        if (ec) continue;
        ++result.foldersVisited;
        if (entering) entering(folder.string());
        std::vector<fs::path> subFolders;
        for (const fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) break;
            if (stop.load(std::memory_order_relaxed)) {
                result.stopped = true;
                return result;
            }
            const fs::directory_entry& entry = *it;
            const std::string name = entry.path().filename().string();
            std::error_code typeError;
            if (entry.is_symlink(typeError)) continue;
            if (entry.is_directory(typeError)) {
                if (options.subDirectories && !MatchesAny(name, exclude) &&
                    !IsSystemFolder(entry.path()))
                    subFolders.push_back(entry.path());
            } else if (entry.is_regular_file(typeError) && MatchesMasks(name, include, exclude)) {
                ++result.found;
                if (found) found(entry.path().string());
            }
        }
        // Sub-folders are visited in the order they were listed.
        for (auto sub = subFolders.rbegin(); sub != subFolders.rend(); ++sub)
            pending.push_back(std::move(*sub));
    }
    return result;
}

}  // namespace kindrel
