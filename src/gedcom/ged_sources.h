// GEDCOM readers of sources, citations, notes, repositories, addresses and the submitter,
// and the two functions that turn a NOTE or SOUR line into a note or source whether it
// points to a record or carries the text itself.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kindrel {

class WGEDCollection;

// The note of a NOTE line (or any line whose value reads as a note): the note record when
// the value is a pointer "@N1@" (none when no such record), else the line's own text with
// its CONC/CONT continuations and the NOTE lines directly below it. Null line: none.
std::unique_ptr<WABSNote> NoteFromLine(WGEDCollection& collection, const char* line);

// The source of a SOUR line: the source record for a pointer (none when no such record),
// else an inline source titled by the line's text. Null line: none.
std::unique_ptr<WABSSource> SourceFromLine(WGEDCollection& collection, const char* line);

// A source record, or a source written inline in a citation (record offset 0).
class WGEDSource : public WABSSource {
  public:
    // A source over a record head (inline false) or an inline SOUR line (inline true).
    WGEDSource(WGEDCollection& collection, const char* line, bool isInline);

    int32_t RepositoryNumber() override;
    std::string AuthorText() override;
    std::string TitleText() override;
    std::string PublicationText() override;
    std::string CallNumberText() override;
    std::string AbbreviationText() override;
    std::unique_ptr<WABSNote> Note() override;
    std::unique_ptr<WABSNote> SourceText() override;
    std::string RecordText() override;
    bool HasNoteFlag() override { return m_noteLine != nullptr; }
    bool HasSourceText() override { return m_textLine != nullptr; }
    bool HasRepository() override { return m_repoLine != nullptr; }

  private:
    enum Field { kAuthor = 0, kTitle, kPublication, kCallNumber, kAbbreviation, kFieldCount };
    std::string FieldText(Field field);

    WGEDCollection& m_collection;
    const char* m_head;
    bool m_inline;
    const char* m_lines[kFieldCount] = {};
    const char* m_repoLine = nullptr;
    const char* m_noteLine = nullptr;
    const char* m_textLine = nullptr;
    std::optional<std::string> m_texts[kFieldCount];
};

// A citation: a SOUR line under a record or event, with its PAGE and NOTE.
class WGEDCitation : public WABSCitation {
  public:
    // Scans the SOUR line's direct children.
    WGEDCitation(WGEDCollection& collection, const char* sourLine);

    std::string PageText() override;
    std::unique_ptr<WABSNote> Note() override;
    std::unique_ptr<WABSSource> Source() override;

  private:
    WGEDCollection& m_collection;
    const char* m_sourLine;
    const char* m_pageLine = nullptr;
    const char* m_noteLine = nullptr;
};

// A note record, read whole at construction.
class WGEDNote : public WABSNote {
  public:
    // Reads the text of the note record at head.
    WGEDNote(WGEDCollection& collection, const char* head);
};

// An address: the ADDR line and the address lines after it in the same record.
class WGEDAddress : public WABSAddress {
  public:
    // Scans from the ADDR line to the end of its record.
    WGEDAddress(WGEDCollection& collection, const char* addrLine);
    std::string AddressLine(int line) override;

  private:
    WGEDCollection& m_collection;
    const char* m_lines[kLineCount] = {};
    std::optional<std::string> m_texts[kLineCount];
};

// A repository record.
class WGEDRepo : public WABSRepo {
  public:
    // Scans the record for its NAME and ADDR lines.
    WGEDRepo(WGEDCollection& collection, const char* head);

    std::string RepoName() override;
    std::unique_ptr<WABSAddress> Address() override;
    std::unique_ptr<WABSNote> Note() override { return nullptr; }
    std::string RecordText() override;

  private:
    WGEDCollection& m_collection;
    const char* m_head;
    const char* m_nameLine = nullptr;
    const char* m_addrLine = nullptr;
    std::optional<std::string> m_name;
};

// The submitter record named by the header.
class WGEDSubmitter : public WABSSubmitter {
  public:
    // A submitter over its record head.
    WGEDSubmitter(WGEDCollection& collection, const char* head);
    std::string SubmitterField(int field) override;

  private:
    // The first line of the record (any level) with the tag, or null.
    const char* FirstLine(std::uint32_t tag) const;

    WGEDCollection& m_collection;
    const char* m_head;
    std::optional<std::vector<std::string>> m_address;
};

}  // namespace kindrel
