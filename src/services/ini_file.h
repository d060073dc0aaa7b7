// A classic sectioned key=value settings file held as its lines, so that changing one
// key leaves every other line, comment, section and unknown key as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// One ini document. Sections and keys match without regard to ASCII case; the first of
// duplicate sections or keys wins. Reading is tolerant: CRLF or LF, spaces around '=' and
// names, a UTF-8 byte order mark, lines that are neither section nor key (kept as they are).
class WIniFile {
  public:
    // An empty document.
    WIniFile() = default;

    // Parses text.
    static WIniFile Parse(std::string_view text);

    // Loads fileName; a missing file gives an empty document. Throws EFileError when the
    // file exists but cannot be read.
    static WIniFile Load(const std::string& fileName);

    // The value of key in section, or nothing when either is absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets key in section: replaces the first such key, or adds it at the end of the first
    // such section, or adds the section at the end. Line breaks in value become spaces.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The document as text, with the line ending style it was read with.
    std::string ToText() const;

    // Writes the document to fileName atomically: a temporary file in the same folder
    // (created with the folder if needed), synced, then renamed over the old file, whose
    // permissions it keeps. Throws EFileError on failure, leaving the old file untouched.
    void SaveAtomically(const std::string& fileName) const;

  private:
    // Index of the first header line of section, or -1.
    long FindSection(std::string_view section) const;

    std::vector<std::string> m_lines;
    bool m_crlf = false;
    bool m_bom = false;
};

}  // namespace kindrel
