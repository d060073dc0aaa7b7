// What the machine itself provides to a portable viewer: the system's glibc and libstdc++
// versions and its shared libraries, found the way the dynamic loader finds them.
#pragma once

#include <string>
#include <vector>

namespace kindrel {

// Compares dotted version texts number by number ("2.9" < "2.34"); negative, 0 or positive.
int CompareVersions(const std::string& a, const std::string& b);

// The newest version that the ELF file at path defines with the given prefix ("GLIBC_",
// "GLIBCXX_"), without the prefix ("2.36"); empty when it defines none or cannot be read.
std::string NewestDefinedVersion(const std::string& path, const std::string& prefix);

// The system's shared libraries by name, read from the loader's cache (/etc/ld.so.cache) with
// the standard library folders as a fallback.
class WSystemLibraries {
  public:
    // Reads the loader's cache at cacheFile.
    explicit WSystemLibraries(const std::string& cacheFile = "/etc/ld.so.cache");
    // The path of the library with this soname for this machine's architecture; empty if none.
    std::string Find(const std::string& soname) const;

  private:
    std::vector<std::pair<std::string, std::string>> m_cached;  // soname, path
};

}  // namespace kindrel
