// The GEDCOM collection: a mapped GEDCOM file indexed by record identifier, with the
// individual-to-family links, answering every question through the readers that decode
// records on demand. Entry: OpenGedcomCollection, then LoadFile and AfterLoad.
#pragma once

#include "gedcom/fam_links.h"
#include "gedcom/ged_indexes.h"
#include "gedcom/text_mmf.h"
#include "model/collection.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// Record buckets: the kinds of level-0 records with an identifier.
enum GedBucket : int {
    kBucketIndividual = 1,
    kBucketFamily = 2,
    kBucketNote = 3,
    kBucketSource = 4,
    kBucketSubmitter = 5,  // submitters and every record with an unknown or missing tag
    kBucketSubmission = 6,
    kBucketRepository = 7,
    kBucketObject = 8,
    kBucketCount = 9,  // one past the last bucket
};

// The file kind of an extension (lower-case, with its dot): ".tmp", ".ged", ".sub" give 1
// (GEDCOM), ".paf" 2, ".ftw" 4, ".tmg" 5, anything else 0.
int FileKindFromExtension(std::string_view extension);

// True when the file opens and starts as UTF-16: a byte-order mark of either order, or no
// mark but a zero byte in every other position of its first bytes. Throws ENotRegularFile
// for a folder, named pipe, device or socket (without waiting on it).
bool IsUnicodeFile(const std::string& fileName);

// A new collection over the file, or null with the reason in error: "Unknown file format"
// when the kind (0: from the extension) is not GEDCOM, "Error: Cannot read unicode GEDCOM
// file\r" + the name for UTF-16 files. Mapping errors raise EFileError, a name that is not a
// regular file ENotRegularFile, a file over 4 GB EFileTooLarge (before it is mapped).
std::unique_ptr<class WGEDCollection> OpenGedcomCollection(const std::string& fileName,
                                                           std::string& error, int kind = 0);

class WGEDCollection : public WABSCollection {
  public:
    // Maps the file (EFileError on failure, also for an empty file or one of 4 GiB or more);
    // nothing is indexed until LoadFile.
    explicit WGEDCollection(const std::string& fileName);
    ~WGEDCollection() override;

    // --- WABSCollection ---
    void FlushStore() override;
    std::string FileSizeText() override;
    std::string FileDateText() override;
    void AfterLoad() override;
    std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) override;
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t n) override;
    std::unique_ptr<WABSSubmitter> GetSubmitter() override;
    std::unique_ptr<WABSNote> GetNote(int32_t n) override;
    std::unique_ptr<WABSSource> GetSource(int32_t n) override;
    std::unique_ptr<WABSRepo> GetRepo(int32_t n) override;
    int32_t IndividualCount() override { return Count(kBucketIndividual); }
    int32_t FamilyCount() override { return Count(kBucketFamily); }
    int32_t NoteCount() override { return Count(kBucketNote); }
    int32_t SourceCount() override { return Count(kBucketSource); }
    std::vector<HeaderInfoRow> GetHeaderInfo() override;
    std::string GetHeaderText() override;
    std::string InfoText() override { return "N/A"; }
    bool LoadFile() override;
    int32_t FindIndividual(std::string_view id) override { return Find(kBucketIndividual, id); }
    int32_t FindFamily(std::string_view id) override { return Find(kBucketFamily, id); }
    int32_t FindNote(std::string_view id) override { return Find(kBucketNote, id); }
    int32_t FindSource(std::string_view id) override { return Find(kBucketSource, id); }
    int32_t FindRepo(std::string_view id) override { return Find(kBucketRepository, id); }

    // --- For the readers ---
    // The text in the file's character set converted to UTF-8.
    std::string ConvertText(std::string_view text) const;
    // The mapped text.
    const WGEDTextMMF& Text() const { return *m_text; }
    // The level-0 line of record n of a bucket; EIndexError outside 1..count.
    const char* RecordHead(int bucket, int32_t n) const;
    // Number of records in a bucket (0 before loading).
    int32_t Count(int bucket) const;
    // The record number of an identifier in a bucket, 0 when not found.
    int32_t Find(int bucket, std::string_view id);
    // The individual index with the line caches.
    WGEDIndIndex& IndividualIndex() { return *m_indIndex; }
    // The individual-to-family links.
    const WIndLinks& IndividualLinks() const { return *m_indLinks; }
    // The family links.
    WFamLinks& FamilyLinks() { return *m_famLinks; }
    // The header record's level-0 line, or null (no HEAD record, or not loaded).
    const char* HeaderLine() const { return m_headerLine; }
    // The value of the header's CHAR line as written (empty when there is none).
    std::string CharSetName() const;
    // How the text is read: "ANSEL", "UTF-8", "IBM PC (code page 437)" or "Windows-1252".
    std::string CharSetReading() const;
    // True when the header's CHAR is IBMPC (bytes that are not UTF-8 read as code page 437).
    bool IsCodePage437() const { return m_codePage437; }
    // The file's name.
    const std::string& FileName() const { return m_fileName; }
    // The whole record from its level-0 line, line breaks as CR LF, converted.
    std::string RecordTextOf(const char* head, bool crlf) const;

  protected:
    // From the link tables: no record is read.
    bool Neighbours(int32_t x, bool up, std::vector<int32_t>& out) override;

  private:
    // One pass over the level-0 lines: offsets and identifiers per bucket.
    void IndexRecords();
    // Individuals to families and families to members.
    void BuildLinks();
    // The character set from the header's CHAR line.
    void DetectCharSet();
    // The level-0 line after p (indented ones included), or null.
    const char* NextLevel0(const char* p) const;
    // The offset index of a bucket (the individual index for bucket 1 has none).
    std::uint32_t OffsetOf(int bucket, int32_t n) const;

    std::string m_fileName;
    std::unique_ptr<WGEDTextMMF> m_text;
    const char* m_textBase = nullptr;
    const char* m_textEnd = nullptr;
    std::unique_ptr<WFamLinks> m_famLinks;
    std::unique_ptr<WIndLinks> m_indLinks;
    std::unique_ptr<WGEDIndIndex> m_indIndex;
    std::array<std::unique_ptr<WOffsetIndex>, kBucketCount> m_offsets;
    std::array<std::unique_ptr<WXREFIndex>, kBucketCount> m_xrefs;
    const char* m_headerLine = nullptr;
    bool m_codePage437 = false;
    bool m_cancelled = false;
};

}  // namespace kindrel
