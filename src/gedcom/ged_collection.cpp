#include "gedcom/ged_collection.h"

#include "containers/errors.h"
#include "containers/regular_file.h"
#include "containers/ui_hooks.h"
#include "gedcom/charset.h"
#include "gedcom/ged_events.h"
#include "gedcom/ged_individual.h"
#include "gedcom/ged_lines.h"
#include "gedcom/ged_sources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

namespace kindrel {

namespace {

// Records between two calls of the event pump (and checks of the cancel flag).
constexpr int kPumpInterval = 500;
// Records between two progress reports.
constexpr int kProgressInterval = 4096;
// Header rows kept at most.
constexpr std::size_t kMaxHeaderRows = 100;
// Bytes examined by IsUnicodeFile for a UTF-16 file without a byte-order mark.
constexpr int kUnicodeProbe = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Maps a GEDCOM file. Record offsets are 32-bit, so a larger file is refused by its size,
// before it is mapped and read.
std::unique_ptr<WGEDTextMMF> MapGedcomText(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size > std::int64_t(UINT32_MAX)) {
        throw EFileTooLarge(fileName, info.st_size);
    }
    return std::make_unique<WGEDTextMMF>(fileName);
}

// The bucket of a level-0 record from the tag after its identifier (the kinds of
// RecordKind, from the bytes already found).
int BucketOfTag(const char* tag, const char* lineEnd) {
    while (tag < lineEnd && *tag == ' ') ++tag;
    if (tag >= lineEnd) return kBucketSubmitter;
    if (*tag == 'F') return kBucketFamily;
    if (lineEnd - tag < 4) return kBucketSubmitter;
    const std::uint32_t code =
        std::uint32_t(std::uint8_t(tag[0])) | std::uint32_t(std::uint8_t(tag[1])) << 8 |
        std::uint32_t(std::uint8_t(tag[2])) << 16 | std::uint32_t(std::uint8_t(tag[3])) << 24;
    switch (code) {
        case TagCode("INDI"):
            return kBucketIndividual;
        case TagCode("SOUR"):
            return kBucketSource;
        case TagCode("NOTE"):
            return kBucketNote;
        case TagCode("SUBN"):
            return kBucketSubmission;
        case TagCode("REPO"):
            return kBucketRepository;
        case TagCode("OBJE"):
            return kBucketObject;
        default:
            return kBucketSubmitter;
    }
}

// Every line break (CR LF, lone CR, lone LF) as CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string WithThousands(unsigned long long value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

int FileKindFromExtension(std::string_view extension) {
    if (extension == ".tmp" || extension == ".ged" || extension == ".sub") return kKindGedcom;
    if (extension == ".paf") return kKindPaf;
    if (extension == ".ftw") return kKindFtw;
    if (extension == ".tmg") return kKindTmg;
    return kKindNone;
}

bool IsUnicodeFile(const std::string& fileName) {
    const int fd = OpenRegularFile(fileName, O_RDONLY);
    if (fd < 0) return false;  // the mapping reports why
    unsigned char bytes[kUnicodeProbe];
    int n = 0;
    while (n < kUnicodeProbe) {
        const ssize_t got = ::pread(fd, bytes + n, std::size_t(kUnicodeProbe - n), n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        n += int(got);
    }
    ::close(fd);
    if (n >= 2 &&
        ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        return true;
    }
    // Without a mark: text of one-byte characters written as UTF-16 has a zero byte in every
    // other position (odd ones little-endian, even ones big-endian).
    const int pairs = n / 2;
    if (pairs < 2) return false;
    bool oddZero = true;
    bool evenZero = true;
    bool oddText = false;
    bool evenText = false;
    for (int k = 0; k < pairs; ++k) {
        const unsigned char even = bytes[2 * k];
        const unsigned char odd = bytes[2 * k + 1];
        oddZero = oddZero && odd == 0;
        evenZero = evenZero && even == 0;
        oddText = oddText || odd != 0;
        evenText = evenText || even != 0;
    }
    return (oddZero && evenText) || (evenZero && oddText);
}

std::unique_ptr<WGEDCollection> OpenGedcomCollection(const std::string& fileName,
                                                     std::string& error, int kind) {
    error.clear();
    const std::string lower = LowerCase(fileName);
    const std::size_t slash = lower.find_last_of('/');
    const std::size_t dot = lower.find_last_of('.');
    const std::string extension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? lower.substr(dot)
                                                                                : std::string();
    if (kind == kKindNone) kind = FileKindFromExtension(extension);
    if (kind != kKindGedcom) {
        error = "Unknown file format";
        return nullptr;
    }
    if (IsUnicodeFile(fileName)) {
        error = "Error: Cannot read unicode GEDCOM file\r" + fileName;
        return nullptr;
    }
    return std::make_unique<WGEDCollection>(fileName);
}

// ---------------------------------------------------------------------------------------------
// WGEDCollection

WGEDCollection::WGEDCollection(const std::string& fileName)
    : m_fileName(fileName), m_text(MapGedcomText(fileName)) {
    m_kind = kKindGedcom;
    m_textBase = m_text->TextStart();
    m_textEnd = m_text->TextEnd();
}

WGEDCollection::~WGEDCollection() {
    // The text goes first; the indexes and links follow with the members.
    m_text.reset();
}

void WGEDCollection::FlushStore() {
    if (m_text) m_text->Flush();
}

std::string WGEDCollection::FileSizeText() {
    return m_text ? WithThousands(static_cast<unsigned long long>(m_text->Size())) : std::string();
}

std::string WGEDCollection::FileDateText() {
    struct stat info {};
    if (::stat(m_fileName.c_str(), &info) != 0) return {};
    std::tm local{};
    const std::time_t when = info.st_mtime;
    if (::localtime_r(&when, &local) == nullptr) return {};
    static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%02d %s %04d, %d:%02d %s", local.tm_mday,
                  kMonths[local.tm_mon], local.tm_year + 1900, hour12, local.tm_min,
                  local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

int32_t WGEDCollection::Count(int bucket) const {
    if (bucket < 1 || bucket >= kBucketCount || !m_xrefs[std::size_t(bucket)]) return 0;
    return m_xrefs[std::size_t(bucket)]->RecordCount();
}

int32_t WGEDCollection::Find(int bucket, std::string_view id) {
    if (bucket < 1 || bucket >= kBucketCount || !m_xrefs[std::size_t(bucket)]) return 0;
    return m_xrefs[std::size_t(bucket)]->FindXref(id);
}

std::uint32_t WGEDCollection::OffsetOf(int bucket, int32_t n) const {
    if (bucket == kBucketIndividual) {
        if (!m_indIndex) throw EIndexError(n);
        return m_indIndex->OffsetAt(n);
    }
    if (bucket < 2 || bucket >= kBucketCount || !m_offsets[std::size_t(bucket)]) {
        throw EIndexError(n);
    }
    return m_offsets[std::size_t(bucket)]->OffsetAt(n);
}

const char* WGEDCollection::RecordHead(int bucket, int32_t n) const {
    const std::uint32_t offset = OffsetOf(bucket, n);
    return offset < std::uint64_t(m_textEnd - m_textBase) ? m_textBase + offset : nullptr;
}

const char* WGEDCollection::NextLevel0(const char* p) const {
    const char* q = FindLineBreak(p, m_textEnd);
    for (;;) {
        while (q < m_textEnd && IsBlank(*q)) ++q;
        if (q >= m_textEnd) return nullptr;
        if (*q == '0') return q;
        q = FindLineBreak(q, m_textEnd);
    }
}

bool WGEDCollection::LoadFile() {
    if (!m_text) return false;
    m_textBase = m_text->TextStart();
    m_textEnd = m_text->TextEnd();
    m_headerLine = nullptr;
    m_cancelled = false;
    const std::int64_t size = m_text->Size();
    const int individualHint = int(std::max<std::int64_t>(size / 150, 1024));
    const int familyHint = int(std::max<std::int64_t>(size / 400, 1024));
    m_indIndex = std::make_unique<WGEDIndIndex>(individualHint);
    m_xrefs[kBucketIndividual] = std::make_unique<WXREFIndex>(individualHint);
    m_offsets[kBucketFamily] = std::make_unique<WOffsetIndex>(familyHint);
    m_xrefs[kBucketFamily] = std::make_unique<WXREFIndex>(familyHint);
    for (int bucket = kBucketNote; bucket < kBucketCount; ++bucket) {
        m_offsets[std::size_t(bucket)] = std::make_unique<WOffsetIndex>(0);
        m_xrefs[std::size_t(bucket)] = std::make_unique<WXREFIndex>(0);
    }
    IndexRecords();
    if (!m_cancelled) BuildLinks();
    DetectCharSet();
    return !m_cancelled;
}

void WGEDCollection::IndexRecords() {
    const char* p = m_textBase;
    // A UTF-8 byte-order mark and leading blanks come before the first line.
    if (m_textEnd - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    while (p < m_textEnd && IsBlank(*p)) ++p;
    if (p >= m_textEnd) return;
    const char* record = *p == '0' ? p : NextLevel0(p);
    if (record == nullptr) return;
    // The header is the first record when it is HEAD; a file without one loses no record.
    if (LineTag(record, m_textEnd) == kTagHead) {
        m_headerLine = record;
        record = NextLevel0(record);
    }
    const std::int64_t size = m_textEnd - m_textBase;
    int counted = 0;
    for (; record != nullptr; record = NextLevel0(record)) {
        if (m_textEnd - record >= 4 && std::memcmp(record, "0 TR", 4) == 0) break;
        const char* lineEnd = FindLineBreak(record, m_textEnd);
        const char* at = record + 1;
        while (at < lineEnd && *at == ' ') ++at;
        if (at >= lineEnd || *at != '@') continue;
        const void* close = std::memchr(at + 1, '@', std::size_t(lineEnd - at - 1));
        if (close == nullptr) continue;
        const char* second = static_cast<const char*>(close);
        const std::string_view id(at + 1, std::size_t(second - at - 1));
        const int bucket = BucketOfTag(second + 1, lineEnd);
        const std::uint32_t offset = std::uint32_t(record - m_textBase);
        if (bucket == kBucketIndividual) {
            m_indIndex->AddIndividual(offset);
        } else {
            m_offsets[std::size_t(bucket)]->AddOffset(offset);
        }
        m_xrefs[std::size_t(bucket)]->AddXref(id);
        if (counted % kPumpInterval == 0) {
            PumpEvents();
            if (CancelRequested()) {
                m_cancelled = true;
                return;
            }
        }
        if (counted % kProgressInterval == 0) ReportProgress("Indexing records", offset, size);
        ++counted;
    }
    for (int bucket = 1; bucket < kBucketCount && !m_cancelled; ++bucket) {
        m_xrefs[std::size_t(bucket)]->SortIfNeeded();
        m_cancelled = CancelRequested();
    }
}

void WGEDCollection::BuildLinks() {
    const int32_t individuals = Count(kBucketIndividual);
    const int32_t families = Count(kBucketFamily);
    m_indLinks = std::make_unique<WIndLinks>(individuals);
    m_famLinks = std::make_unique<WFamLinks>(families);
    const long long total = (long long)individuals + families;

    // Individuals first: a family's children come in the file order of the individuals that
    // name it, then those named only by its CHIL lines.
    for (int32_t n = 1; n <= individuals; ++n) {
        if (n % kPumpInterval == 1) {
            PumpEvents();
            if (CancelRequested()) {
                m_cancelled = true;
                return;
            }
        }
        if (n % kProgressInterval == 1) ReportProgress("Linking families", n, total);
        const char* head = m_textBase + m_indIndex->OffsetAt(n);
        for (const char* line = NextInRecord(head, m_textEnd); line != nullptr;
             line = NextInRecord(line, m_textEnd)) {
            if (!IsLevelLine(line, m_textEnd, '1')) continue;
            const std::uint32_t tag = LineTag(line, m_textEnd);
            if (tag != kTagFamc && tag != kTagFams) continue;
            const std::optional<std::string_view> id = ExtractXref(line, m_textEnd, false);
            if (!id) continue;
            const int32_t f = FindFamily(*id);
            if (f <= 0) continue;
            if (tag == kTagFamc) {
                m_indLinks->AddParentFamily(n, f);
                m_famLinks->AddChild(f, n);
            } else {
                m_indLinks->AddSpouseFamily(n, f);
            }
        }
    }
    for (int32_t f = 1; f <= families; ++f) {
        if (f % kPumpInterval == 1) {
            PumpEvents();
            if (CancelRequested()) {
                m_cancelled = true;
                return;
            }
        }
        if (f % kProgressInterval == 1) ReportProgress("Linking families", individuals + f, total);
        const char* head = m_textBase + m_offsets[kBucketFamily]->OffsetAt(f);
        for (const char* line = NextInRecord(head, m_textEnd); line != nullptr;
             line = NextInRecord(line, m_textEnd)) {
            if (!IsLevelLine(line, m_textEnd, '1')) continue;
            const std::uint32_t tag = LineTag(line, m_textEnd);
            if (tag != kTagHusb && tag != kTagWife && tag != kTagChil) continue;
            const std::optional<std::string_view> id = ExtractXref(line, m_textEnd, false);
            if (!id) continue;
            const int32_t i = FindIndividual(*id);
            if (i <= 0) continue;
            if (tag == kTagHusb) {
                m_famLinks->SetHusband(f, i);
                m_indLinks->AddSpouseFamily(i, f);
            } else if (tag == kTagWife) {
                m_famLinks->SetWife(f, i);
                m_indLinks->AddSpouseFamily(i, f);
            } else {
                m_famLinks->AddChild(f, i);
                m_indLinks->AddParentFamily(i, f);
            }
        }
    }
}

void WGEDCollection::DetectCharSet() {
    m_charSetCode = kCharSetOther;
    m_codePage437 = false;
    std::string value = CharSetName();
    for (char& c : value) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (value == "ANSEL") {
        m_charSetCode = kCharSetAnsel;
    } else if (value == "UTF-8") {
        m_charSetCode = kCharSetUtf8;
    } else if (value == "IBMPC") {
        m_codePage437 = true;
    }
}

std::string WGEDCollection::CharSetName() const {
    if (m_headerLine == nullptr) return {};
    for (const char* line = NextInRecord(m_headerLine, m_textEnd); line != nullptr;
         line = NextInRecord(line, m_textEnd)) {
        if (IsLevelLine(line, m_textEnd, '1') && LineTag(line, m_textEnd) == kTagChar) {
            return std::string(TagValue(line, m_textEnd));
        }
    }
    return {};
}

std::string WGEDCollection::CharSetReading() const {
    if (m_charSetCode == kCharSetAnsel) return "ANSEL";
    if (m_charSetCode == kCharSetUtf8) return "UTF-8";
    if (m_codePage437) return "UTF-8 where valid, else IBM PC code page 437";
    return "UTF-8 where valid, else Windows-1252";
}

std::string WGEDCollection::ConvertText(std::string_view text) const {
    if (m_charSetCode == kCharSetAnsel) return AnselToUtf8(text);
    if (m_codePage437) return Utf8OrCp437ToUtf8(text);
    return Utf8OrCp1252ToUtf8(text);
}

std::string WGEDCollection::RecordTextOf(const char* head, bool crlf) const {
    if (head == nullptr) return {};
    const char* next = NextLevel0(head);
    const std::string_view raw(head, std::size_t((next != nullptr ? next : m_textEnd) - head));
    return ConvertText(crlf ? std::string_view(WithCrLf(raw)) : raw);
}

void WGEDCollection::AfterLoad() {
    if (m_indLinks) m_indLinks->OrderSpouseFamilies(*this);
}

std::unique_ptr<WABSIndividual> WGEDCollection::GetIndividual(int32_t n) {
    if (n == 0) return nullptr;
    auto individual = std::make_unique<WGEDIndividual>(*this);
    individual->Load(n);
    return individual;
}

std::unique_ptr<WABSMarriage> WGEDCollection::GetMarriage(int32_t n) {
    if (n == 0) return nullptr;
    return std::make_unique<WGEDMarriage>(*this, n);
}

bool WGEDCollection::Neighbours(int32_t x, bool up, std::vector<int32_t>& out) {
    // Outside the loaded records the record path reports the fault as before.
    if (!m_indLinks || !m_famLinks || x < 1 || x > IndividualCount())
        return WABSCollection::Neighbours(x, up, out);
    const WIndLinks& links = *m_indLinks;
    const WFamLinks& families = *m_famLinks;
    const int32_t count = up ? links.ParentFamilyCount(x) : links.SpouseFamilyCount(x);
    if (count <= 0) return false;
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t f = up ? links.ParentFamily(x, i) : links.SpouseFamily(x, i);
        if (f <= 0) continue;
        if (up) {
            if (const int32_t husband = families.Husband(f); husband > 0) out.push_back(husband);
            if (const int32_t wife = families.Wife(f); wife > 0) out.push_back(wife);
            continue;
        }
        const int32_t children = families.ChildCount(f);
        for (int32_t c = 1; c <= children; ++c)
            if (const int32_t child = families.Child(f, c); child > 0) out.push_back(child);
    }
    return true;
}

std::unique_ptr<WABSNote> WGEDCollection::GetNote(int32_t n) {
    if (n == 0) return nullptr;
    return std::make_unique<WGEDNote>(*this, RecordHead(kBucketNote, n));
}

std::unique_ptr<WABSSource> WGEDCollection::GetSource(int32_t n) {
    if (n == 0 || SourceCount() == 0) return nullptr;
    return std::make_unique<WGEDSource>(*this, RecordHead(kBucketSource, n), false);
}

std::unique_ptr<WABSRepo> WGEDCollection::GetRepo(int32_t n) {
    if (n == 0 || Count(kBucketRepository) == 0) return nullptr;
    return std::make_unique<WGEDRepo>(*this, RecordHead(kBucketRepository, n));
}

std::unique_ptr<WABSSubmitter> WGEDCollection::GetSubmitter() {
    if (m_headerLine == nullptr) return nullptr;
    for (const char* line = NextInRecord(m_headerLine, m_textEnd); line != nullptr;
         line = NextInRecord(line, m_textEnd)) {
        if (!IsLevelLine(line, m_textEnd, '1') || LineTag(line, m_textEnd) != kTagSubm) continue;
        const std::optional<std::string_view> id = ExtractXref(line, m_textEnd, false);
        if (!id) continue;
        const int32_t n = Find(kBucketSubmitter, *id);
        if (n == 0) return nullptr;
        return std::make_unique<WGEDSubmitter>(*this, RecordHead(kBucketSubmitter, n));
    }
    return nullptr;
}

std::vector<HeaderInfoRow> WGEDCollection::GetHeaderInfo() {
    std::vector<HeaderInfoRow> rows;
    if (m_headerLine == nullptr) return rows;
    const auto add = [&](const char* label, std::string value) {
        if (rows.size() < kMaxHeaderRows) rows.push_back({label, std::move(value), {}});
    };
    const auto value = [&](const char* line) { return ConvertText(TagValue(line, m_textEnd)); };
    for (const char* line = NextInRecord(m_headerLine, m_textEnd); line != nullptr;
         line = NextInRecord(line, m_textEnd)) {
        if (!IsLevelLine(line, m_textEnd, '1')) continue;
        switch (LineTag(line, m_textEnd)) {
            case kTagGedc:
                for (const char* sub = NextInRecord(line, m_textEnd); sub != nullptr && *sub == '2';
                     sub = NextInRecord(sub, m_textEnd)) {
                    const std::uint32_t tag = LineTag(sub, m_textEnd);
                    if (tag == kTagVers) add("GEDC Version", value(sub));
                    if (tag == kTagForm) add("GEDC Form", value(sub));
                }
                break;
            case kTagFile:
                add("File name", value(line));
                break;
            case kTagDate: {
                std::string date = value(line);
                const char* next = NextInRecord(line, m_textEnd);
                if (next != nullptr && LineTag(next, m_textEnd) == kTagTime) {
                    date += ' ';
                    date += value(next);
                }
                add("Date", std::move(date));
                break;
            }
            case kTagChar:
                add("Char Set", value(line));
                break;
            case kTagSour:
                add("Source", value(line));
                for (const char* sub = NextInRecord(line, m_textEnd);
                     sub != nullptr && !IsLevelLine(sub, m_textEnd, '1');
                     sub = NextInRecord(sub, m_textEnd)) {
                    const std::uint32_t tag = LineTag(sub, m_textEnd);
                    if (tag == kTagName) add("Source Name", value(sub));
                    if (tag == kTagVers) add("Source Version", value(sub));
                    if (tag == kTagCorp) add("Source Corp.", value(sub));
                    if (tag == kTagAddr) add("Source Address", value(sub));
                }
                break;
            case kTagDest:
                add("Destination", value(line));
                break;
            default:
                break;
        }
    }
    return rows;
}

std::string WGEDCollection::GetHeaderText() {
    return RecordTextOf(m_headerLine, true);
}

}  // namespace kindrel
