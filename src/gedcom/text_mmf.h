// Read-only mapped text files: WMMFReadOnly (the mapping), WTextMMF (line navigation) and
// WGEDTextMMF (GEDCOM record heads). Pointers handed out point into the mapping and are
// valid as long as the object; every scan stops at TextEnd().
#pragma once

#include "containers/mmf.h"
#include "gedcom/gedcom_line.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// An existing file mapped whole, read-only (PROT_READ, MAP_PRIVATE). A missing or empty file
// throws EFileError. Move-only.
class WMMFReadOnly : public WMMF {
  public:
    // Maps the file; throws EFileError with its name on failure.
    explicit WMMFReadOnly(std::string fileName);
};

// A mapped text file with line navigation.
class WTextMMF : public WMMFReadOnly {
  public:
    // Maps the file and examines its first line break.
    explicit WTextMMF(std::string fileName);

    // First byte of the text.
    const char* TextStart() const noexcept { return Base(); }
    // One past the last byte of the text.
    const char* TextEnd() const noexcept { return Base() + Size(); }
    // The whole text.
    std::string_view Text() const noexcept { return std::string_view(Base(), std::size_t(Size())); }
    // Offset of p from the start of the text.
    std::int64_t OffsetOf(const char* p) const noexcept { return p - Base(); }
    // The byte at offset, or null when the offset is outside the text.
    const char* AtOffset(std::int64_t offset) const noexcept {
        return offset >= 0 && offset < Size() ? Base() + offset : nullptr;
    }
    // Start of the line after the one containing p, or null (see kindrel::NextLine).
    const char* NextLine(const char* p, bool skipBlank) const {
        return kindrel::NextLine(p, TextEnd(), skipBlank);
    }
    // The next level-0 line after p, or null (see kindrel::NextRecord).
    const char* NextRecord(const char* p) const { return kindrel::NextRecord(p, TextEnd()); }
    // True when the first line break of the file is a line feed.
    bool UsesLF() const noexcept { return m_usesLF; }

    // LineValue bounded by this text.
    std::string_view LineValue(const char* p) const { return kindrel::LineValue(p, TextEnd()); }
    // TagValue (value from line offset 6) bounded by this text.
    std::string_view TagValue(const char* line) const { return kindrel::TagValue(line, TextEnd()); }
    // LineLevel bounded by this text.
    int LineLevel(const char* p) const { return kindrel::LineLevel(p, TextEnd()); }
    // The tag code at line offsets 2 to 5 (0 for a short line).
    std::uint32_t LineTag(const char* line) const { return kindrel::LineTag(line, TextEnd()); }
    // ReadText (CONC/CONT continued value) bounded by this text.
    std::vector<std::string> ReadText(const char* p) const {
        return kindrel::ReadText(p, TextEnd());
    }
    // EventDateValue bounded by this text.
    std::optional<std::string_view> EventDateValue(const char* p, bool stepFirst) const {
        return kindrel::EventDateValue(p, TextEnd(), stepFirst);
    }
    // ReadEventPlace bounded by this text.
    std::string_view ReadEventPlace(const char* p) const {
        return kindrel::ReadEventPlace(p, TextEnd());
    }

  private:
    // Examined once when the file is opened.
    bool m_usesLF = false;
};

// A mapped GEDCOM file: adds the record-head functions.
class WGEDTextMMF : public WTextMMF {
  public:
    // Maps the GEDCOM file; throws EFileError with its name on failure.
    explicit WGEDTextMMF(std::string fileName);

    // The identifier between the first two '@' of the line from p (see kindrel::ExtractXref).
    std::optional<std::string_view> ExtractXref(const char* p, bool dropFirst) const {
        return kindrel::ExtractXref(p, TextEnd(), dropFirst);
    }
    // The record from p up to the next level-0 line, or to the end of the file.
    std::string_view RawRecordText(const char* p) const {
        return kindrel::RawRecordText(p, TextEnd());
    }
    // The kind of the level-0 line at p (a GedRecordKind).
    int RecordKind(const char* p) const { return kindrel::RecordKind(p, TextEnd()); }
};

}  // namespace kindrel
