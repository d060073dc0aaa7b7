#include "analysis/sort_keys.h"

#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "containers/ui_hooks.h"
#include "model/date.h"
#include "model/upper_case.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kindrel {

namespace {

// Events are pumped every this many key computations.
constexpr int kFillPumpInterval = 50;
// Progress is reported every this many key computations.
constexpr int kFillProgressInterval = 16384;

// A zero record as long as the longest key record.
constexpr char kZeroRecord[64] = {};

// ---------------------------------------------------------------------------------------------
// Fold table

// U+00C0 to U+00FF: the base letter of each accented letter of Latin-1, '.' where the letter
// stays as it is (multiplication and division signs, thorn, eth).
constexpr std::string_view kLatin1Fold =
    "AAAAAAACEEEEIIII"   // C0-CF
    "DNOOOOO.OUUUUY.B"   // D0-DF
    "aaaaaaaceeeeiiii"   // E0-EF
    ".nooooo.ouuuuy.y";  // F0-FF
static_assert(kLatin1Fold.size() == 64);

// U+0100 to U+017F (Latin Extended-A): base letters of the letters with diacritics; '.' for
// ligatures and letters without a plain base (kra, eng, long s).
constexpr std::string_view kLatinExtendedAFold =
    "AAAAAACCCCCCCCDD"   // 0100-010F
    "DDEEEEEEEEEEGGGG"   // 0110-011F
    "GGGGHHHHIIIIIIII"   // 0120-012F
    "II..JJKK.LLLLLLL"   // 0130-013F
    "LLLNNNNNN...OOOO"   // 0140-014F
    "OO..RRRRRRSSSSSS"   // 0150-015F
    "SSTTTTTTUUUUUUUU"   // 0160-016F
    "UUUUWWYYYZZZZZZ.";  // 0170-017F
static_assert(kLatinExtendedAFold.size() == 128);

// The ASCII letter a code point folds to, or 0 when it stays as it is.
char FoldCodePoint(char32_t c) {
    if (c >= 0xC0 && c <= 0xFF) {
        const char letter = kLatin1Fold[c - 0xC0];
        return letter == '.' ? 0 : letter;
    }
    if (c >= 0x100 && c <= 0x17F) {
        const char letter = kLatinExtendedAFold[c - 0x100];
        return letter == '.' ? 0 : letter;
    }
    switch (c) {
        case 0xAF:  // macron, as the Windows-1252 table has it
            return 'y';
        case 0x218:  // S and T with comma below (Romanian)
        case 0x219:
            return 'S';
        case 0x21A:
        case 0x21B:
            return 'T';
        default:
            return 0;
    }
}

// Length of the UTF-8 sequence at text[i] and its code point; 1 and the byte itself for a byte
// that does not start a well-formed sequence.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 1;
    char32_t c = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        codePoint = lead;
        return 1;
    }
    if (i + length > text.size()) {
        codePoint = lead;
        return 1;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            codePoint = lead;
            return 1;
        }
        c = (c << 6) | (next & 0x3F);
    }
    codePoint = c;
    return length;
}

// ---------------------------------------------------------------------------------------------
// Date keys

// The qualifier order of WDate::Compare for two clean dates with equal numbers, read once from
// WDate itself so that the two can never disagree.
struct QualifierMatrix {
    int8_t order[12][12] = {};

    QualifierMatrix() {
        static constexpr std::array<std::string_view, 12> kWords = {
            "",     "BEF ", "AFT ", "BET ", "FROM ", "TO ",
            "ABT ", "EST ", "CIR ", "CAL ", "INT ",  "AND "};
        std::array<WDate, 12> dates;
        for (size_t q = 0; q < kWords.size(); ++q) {
            dates[q].SetText(std::string(kWords[q]) + "1900");
        }
        for (size_t a = 0; a < kWords.size(); ++a) {
            for (size_t b = 0; b < kWords.size(); ++b) {
                order[a][b] = static_cast<int8_t>(dates[a].Compare(dates[b]));
            }
        }
    }
};

const QualifierMatrix& Qualifiers() {
    static const QualifierMatrix matrix;
    return matrix;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// ---------------------------------------------------------------------------------------------
// Records of the key arrays

struct AgeRecord {
    int32_t years;
    uint8_t hasValue;
    uint8_t approximate;
    uint8_t living;
    uint8_t pad;
};
static_assert(sizeof(AgeRecord) == 8);

WAgeKey AgeKeyOf(const char* record) {
    AgeRecord r;
    std::memcpy(&r, record, sizeof r);
    return WAgeKey{r.hasValue != 0, r.approximate != 0, r.years, r.living != 0};
}

int32_t IntOf(const char* record) {
    int32_t v;
    std::memcpy(&v, record, sizeof v);
    return v;
}

double FloatOf(const char* record) {
    double v;
    std::memcpy(&v, record, sizeof v);
    return v;
}

int32_t NumberOfRecord(const void* record) {
    int32_t n;
    std::memcpy(&n, record, sizeof n);
    return n;
}

inline int CompareInts(int32_t a, int32_t b) {
    return (a > b) - (a < b);
}

inline int CompareFloats(double a, double b) {
    return (a > b) - (a < b);
}

inline int CompareTextRecords(const char* a, const char* b) {
    // Keys are NUL-padded to the full record, so a plain comparison of the records orders
    // them byte by byte with a prefix first.
    return Sign(std::memcmp(a, b, kTextKeyLength + 1));
}

inline int CompareDateRecords(const char* a, const char* b) {
    // Fields read in place: the records of the store need not be aligned for WDateKey.
    uint8_t kindA;
    uint8_t kindB;
    std::memcpy(&kindA, a + offsetof(WDateKey, kind), 1);
    std::memcpy(&kindB, b + offsetof(WDateKey, kind), 1);
    if (kindA != kindB) return kindA < kindB ? -1 : 1;
    if (kindA == WDateKey::kEmpty) return 0;
    if (kindA == WDateKey::kUnclean) return Sign(std::memcmp(a, b, kDateKeyLength + 1));
    int64_t numberA;
    int64_t numberB;
    std::memcpy(&numberA, a + offsetof(WDateKey, number), sizeof numberA);
    std::memcpy(&numberB, b + offsetof(WDateKey, number), sizeof numberB);
    if (numberA != numberB) return numberA < numberB ? -1 : 1;
    const auto qa = static_cast<uint8_t>(a[offsetof(WDateKey, qualifier)]);
    const auto qb = static_cast<uint8_t>(b[offsetof(WDateKey, qualifier)]);
    if (qa == qb || qa >= 12 || qb >= 12) return 0;
    return Qualifiers().order[qa][qb];
}

// Records events are pumped after while merging.
constexpr size_t kMergePumpInterval = 65536;
// Runs of this length are sorted by insertion before merging.
constexpr size_t kInsertionRun = 16;

// A stable merge sort that only ever compares records inside the ranges it merges, so any
// compare function is safe, also one whose "equal" is not transitive (the date order: a range
// equals a plain date and a "before" date that are not equal to each other). Records with
// equal keys keep their order. less(a, b): a sorts strictly before b.
template <class Record, class Less>
bool MergeSortRecords(Record* records, Record* buffer, size_t n, Less less) {
    for (size_t start = 0; start < n; start += kInsertionRun) {
        if (start % kMergePumpInterval == 0 && start > 0) {
            PumpEvents();
            if (CancelRequested()) return false;
        }
        const size_t end = std::min(n, start + kInsertionRun);
        for (size_t i = start + 1; i < end; ++i) {
            const Record x = records[i];
            size_t j = i;
            while (j > start && less(x, records[j - 1])) {
                records[j] = records[j - 1];
                --j;
            }
            records[j] = x;
        }
    }
    if (n <= kInsertionRun) return true;
    Record* from = records;
    Record* to = buffer;
    size_t merged = 0;
    for (size_t width = kInsertionRun; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(n, lo + width);
            const size_t hi = std::min(n, lo + 2 * width);
            size_t i = lo;
            size_t j = mid;
            size_t k = lo;
            while (i < mid && j < hi) to[k++] = less(from[j], from[i]) ? from[j++] : from[i++];
            while (i < mid) to[k++] = from[i++];
            while (j < hi) to[k++] = from[j++];
            merged += hi - lo;
            if (merged >= kMergePumpInterval) {
                merged = 0;
                PumpEvents();
                if (CancelRequested()) return false;
            }
        }
        std::swap(from, to);
    }
    if (from != records) std::copy(from, from + n, records);
    return true;
}

// The first eight bytes of a text key as a number that orders as the bytes do.
uint64_t LeadingBytes(const char* key) {
    uint64_t value;
    std::memcpy(&value, key, sizeof value);
    if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
    return value;
}

// Sort records of the key types: the key inline (or its leading bytes), then the individual.
struct TextSortRecord {
    // The first 24 key bytes, eight a word, ordered as the bytes are; the rest is read from
    // the key array only when these are equal.
    static constexpr int kWords = 3;
    static constexpr int kInlineBytes = 8 * kWords;
    uint64_t words[kWords];
    int32_t n;
};

struct IntSortRecord {
    int32_t key;
    int32_t n;
};

struct FloatSortRecord {
    double key;
    int32_t n;
};

struct AgeSortRecord {
    uint64_t order;  // the age order packed into one number
    int32_t n;
};

struct DateSortRecord {
    int64_t number;
    char text[kDateKeyLength + 1];
    uint8_t kind;
    uint8_t qualifier;
    int32_t n;
};

// The age order of CompareAgeKeys as one number: no value first (all equal), then years,
// exact before approximate, and among approximate ages the living mark last.
uint64_t AgeOrder(const WAgeKey& key) {
    if (!key.hasValue) return 0;
    const uint64_t years = static_cast<uint32_t>(key.years);
    return (uint64_t(1) << 40) | (years << 2) | (key.approximate ? 2u : 0u) |
           (key.approximate && key.living ? 1u : 0u);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Text fold

std::string_view CutAtCharacter(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

void FoldSortKeyInto(std::string_view text, char (&key)[kTextKeyLength + 1]) {
    std::memset(key, 0, sizeof key);
    const std::array<unsigned char, 256>& upper = UpperCaseTable();
    size_t out = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (out + 1 > kTextKeyLength) break;
            key[out++] = static_cast<char>(upper[byte]);
            ++i;
            continue;
        }
        char32_t codePoint;
        const size_t length = DecodeUtf8(text, i, codePoint);
        const char folded = length > 1 ? FoldCodePoint(codePoint) : 0;
        if (folded != 0) {
            if (out + 1 > kTextKeyLength) break;
            key[out++] = static_cast<char>(upper[static_cast<unsigned char>(folded)]);
        } else {
            if (out + length > kTextKeyLength) break;
            std::memcpy(key + out, text.data() + i, length);
            out += length;
        }
        i += length;
    }
}

std::string FoldSortKey(std::string_view text) {
    char key[kTextKeyLength + 1];
    FoldSortKeyInto(text, key);
    return std::string(key);
}

// ---------------------------------------------------------------------------------------------
// Age keys

WAgeKey ParseAgeKey(std::string_view text) {
    WAgeKey key;
    if (text.empty()) return key;
    // A bracketed age (christening or burial stood in) keeps its marks inside the brackets.
    std::string_view inner = text;
    if (!inner.empty() && inner.front() == '[') inner.remove_prefix(1);
    if (!inner.empty() && inner.back() == ']') inner.remove_suffix(1);
    key.approximate = !inner.empty() && inner.front() == '~';
    key.living = !inner.empty() && inner.back() == '?';
    int64_t value = 0;
    bool anyDigit = false;
    for (const char c : text) {
        if (c < '0' || c > '9') continue;
        anyDigit = true;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) return WAgeKey{};
    }
    if (!anyDigit) return WAgeKey{};
    key.hasValue = true;
    key.years = static_cast<int32_t>(value);
    return key;
}

int CompareAgeKeys(const WAgeKey& a, const WAgeKey& b) {
    if (!a.hasValue || !b.hasValue) {
        if (a.hasValue == b.hasValue) return 0;
        return a.hasValue ? 1 : -1;
    }
    if (a.years != b.years) return a.years < b.years ? -1 : 1;
    if (a.approximate != b.approximate) return a.approximate ? 1 : -1;
    if (a.approximate && a.living != b.living) return a.living ? 1 : -1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Date keys

WDateKey MakeDateKey(std::string_view sortText) {
    WDateKey key;
    const std::string_view cut = CutAtCharacter(sortText, kDateKeyLength);
    if (cut.empty()) return key;
    const WDate date(cut);
    const std::string& text = date.Text();
    std::memcpy(key.text, text.data(), std::min<size_t>(text.size(), kDateKeyLength));
    if (!date.IsClean()) {
        key.kind = WDateKey::kUnclean;
        return key;
    }
    key.kind = WDateKey::kClean;
    const WDatePart& first = date.FirstPart();
    const int64_t year = first.eraMark ? -static_cast<int64_t>(first.year) : first.year;
    key.number = year * 4294967296LL + static_cast<int64_t>(first.month) * 65536 + first.day;
    key.qualifier = static_cast<uint8_t>(date.Qualifier());
    return key;
}

int CompareDateKeys(const WDateKey& a, const WDateKey& b) {
    return CompareDateRecords(reinterpret_cast<const char*>(&a), reinterpret_cast<const char*>(&b));
}

int CompareDateTexts(std::string_view a, std::string_view b) {
    const std::string_view cutA = CutAtCharacter(a, kDateKeyLength);
    const std::string_view cutB = CutAtCharacter(b, kDateKeyLength);
    if (cutA.empty() || cutB.empty()) {
        if (cutA.empty() == cutB.empty()) return 0;
        return cutA.empty() ? -1 : 1;
    }
    const WDate dateA(cutA);
    const WDate dateB(cutB);
    return dateA.Compare(dateB);
}

// ---------------------------------------------------------------------------------------------
// WAttribKeyArray

WAttribKeyArray::WAttribKeyArray(WColSortIterator* iterator, WAttrib* attribute, int count,
                                 int recordSize)
    : WABSArrayIndex(std::string(), false, recordSize, count < 0 ? 0 : count),
      m_iterator(iterator),
      m_attribute(attribute),
      m_keyCount(count < 0 ? 0 : count),
      m_zero(kZeroRecord) {
    SetCount(m_keyCount);
}

void WAttribKeyArray::Fill() {
    m_filled = 0;
    m_cancelled = false;
    if (m_iterator == nullptr || m_attribute == nullptr) return;
    const int count = m_iterator->Count();
    ReportProgress(kSortingMessage, 0, count);
    // The keys are computed in ascending individual numbers, not in the iterator's order:
    // after a sort that order jumps all over the file, and reading the records in file order
    // is what keeps a second sort of a million individuals as fast as the first.
    std::vector<uint64_t> members((static_cast<size_t>(m_keyCount) + 64) / 64, 0);
    int64_t memberCount = 0;
    for (int p = 1; p <= count; ++p) {
        const char* record = m_iterator->Item(p);
        if (record == nullptr) break;
        const int32_t n = NumberOfRecord(record);
        if (n < 1 || n > m_keyCount) continue;
        uint64_t& word = members[static_cast<size_t>(n) / 64];
        const uint64_t bit = uint64_t{1} << (n % 64);
        if ((word & bit) == 0) ++memberCount;
        word |= bit;
    }
    for (size_t w = 0; w < members.size(); ++w) {
        for (uint64_t word = members[w]; word != 0; word &= word - 1) {
            const auto n = static_cast<int32_t>(w * 64 + static_cast<size_t>(std::countr_zero(word)));
            ++m_filled;
            if (m_filled % kFillPumpInterval == 0) {
                PumpEvents();
                if (CancelRequested()) {
                    m_cancelled = true;
                    return;
                }
            }
            if (m_filled % kFillProgressInterval == 0)
                ReportProgress(kSortingMessage, m_filled * count / memberCount, count);
            FillKey(n);
        }
    }
    ReportProgress(kSortingMessage, count, count);
}

template <class Record, class MakeRecord, class Less>
void WAttribKeyArray::SortWith(MakeRecord makeRecord, Less less) {
    if (m_iterator == nullptr || m_cancelled) return;
    const int count = m_iterator->RecordCount();
    if (count < 1) return;
    // The sort runs over small records that carry the key (or its leading bytes) inline with
    // the individual number: comparisons read neighbouring memory instead of key records
    // anywhere in the key array, which is what makes a sort of a million keys fast.
    // Both halves of the merge live in the arrays' store, which moves to a mapped temporary
    // file when large, like the key arrays themselves.
    static_assert(std::is_trivially_copyable_v<Record> && alignof(Record) <= 16);
    WABSArrayIndex store(std::string(), false, int(sizeof(Record)), 2 * count);
    store.SetCount(2 * count);
    Record* const records = reinterpret_cast<Record*>(store.Item(1));
    Record* const buffer = reinterpret_cast<Record*>(store.Item(count + 1));
    for (int p = 1; p <= count; ++p) {
        if (p % static_cast<int>(kMergePumpInterval) == 0) PumpEvents();
        const int32_t n = NumberOfRecord(m_iterator->Item(p));
        records[p - 1] = makeRecord(n, KeyOf(n));
    }
    // Cancelled: the iterator's records were not touched.
    if (!MergeSortRecords(records, buffer, static_cast<size_t>(count), less)) {
        m_cancelled = true;
        return;
    }
    for (int p = 1; p <= count; ++p) m_iterator->SetItem(p, &records[p - 1].n);
    m_iterator->MarkSorted();
}

// ---------------------------------------------------------------------------------------------
// Text keys

WAttribStrArray::WAttribStrArray(WColSortIterator* iterator, WAttrib* attribute, int count)
    : WAttribKeyArray(iterator, attribute, count, kTextKeyLength + 1) {}

void WAttribStrArray::FillKey(int32_t n) {
    char key[kTextKeyLength + 1];
    FoldSortKeyInto(m_attribute->ValueText(n, 1), key);
    std::memcpy(RecordAt(n), key, sizeof key);
}

void WAttribStrArray::SortIterator() {
    SortWith<TextSortRecord>(
        [](int32_t n, const char* key) {
            TextSortRecord record;
            for (int w = 0; w < TextSortRecord::kWords; ++w)
                record.words[w] = LeadingBytes(key + 8 * w);
            record.n = n;
            return record;
        },
        [this](const TextSortRecord& a, const TextSortRecord& b) {
            for (int w = 0; w < TextSortRecord::kWords; ++w) {
                if (a.words[w] != b.words[w]) return a.words[w] < b.words[w];
            }
            constexpr int kInline = TextSortRecord::kInlineBytes;
            return std::memcmp(KeyOf(a.n) + kInline, KeyOf(b.n) + kInline,
                               kTextKeyLength + 1 - kInline) < 0;
        });
}

int WAttribStrArray::CompareIndividuals(int32_t a, int32_t b) const {
    return CompareTextRecords(KeyOf(a), KeyOf(b));
}

std::string_view WAttribStrArray::Key(int32_t n) const {
    return std::string_view(KeyOf(n));
}

// ---------------------------------------------------------------------------------------------
// Integer keys

WAttribIntArray::WAttribIntArray(WColSortIterator* iterator, WAttrib* attribute, int count)
    : WAttribKeyArray(iterator, attribute, count, sizeof(int32_t)) {}

void WAttribIntArray::FillKey(int32_t n) {
    const int32_t value = m_attribute->IntValue(n);
    std::memcpy(RecordAt(n), &value, sizeof value);
}

void WAttribIntArray::SortIterator() {
    SortWith<IntSortRecord>(
        [](int32_t n, const char* key) {
            return IntSortRecord{IntOf(key), n};
        },
        [](const IntSortRecord& a, const IntSortRecord& b) {
            return a.n != 0 && b.n != 0 && a.key < b.key;
        });
}

int WAttribIntArray::CompareIndividuals(int32_t a, int32_t b) const {
    if (a == 0 || b == 0) return 0;
    return CompareInts(IntOf(KeyOf(a)), IntOf(KeyOf(b)));
}

int32_t WAttribIntArray::Key(int32_t n) const {
    return IntOf(KeyOf(n));
}

// ---------------------------------------------------------------------------------------------
// Date keys

WAttribDateArray::WAttribDateArray(WColSortIterator* iterator, WAttrib* attribute, int count)
    : WAttribKeyArray(iterator, attribute, count, sizeof(WDateKey)) {}

void WAttribDateArray::FillKey(int32_t n) {
    const WDateKey key = MakeDateKey(m_attribute->SortText(n));
    std::memcpy(RecordAt(n), &key, sizeof key);
}

void WAttribDateArray::SortIterator() {
    SortWith<DateSortRecord>(
        [](int32_t n, const char* key) {
            WDateKey date;
            std::memcpy(&date, key, sizeof date);
            DateSortRecord record{date.number, {}, date.kind, date.qualifier, n};
            std::memcpy(record.text, date.text, sizeof record.text);
            return record;
        },
        [](const DateSortRecord& a, const DateSortRecord& b) {
            if (a.kind != b.kind) return a.kind < b.kind;
            if (a.kind == WDateKey::kEmpty) return false;
            if (a.kind == WDateKey::kUnclean) {
                return std::memcmp(a.text, b.text, sizeof a.text) < 0;
            }
            if (a.number != b.number) return a.number < b.number;
            if (a.qualifier == b.qualifier || a.qualifier >= 12 || b.qualifier >= 12) return false;
            return Qualifiers().order[a.qualifier][b.qualifier] < 0;
        });
}

int WAttribDateArray::CompareIndividuals(int32_t a, int32_t b) const {
    return CompareDateRecords(KeyOf(a), KeyOf(b));
}

WDateKey WAttribDateArray::Key(int32_t n) const {
    WDateKey key;
    std::memcpy(&key, KeyOf(n), sizeof key);
    return key;
}

// ---------------------------------------------------------------------------------------------
// Age keys

WAttribAgeArray::WAttribAgeArray(WColSortIterator* iterator, WAttrib* attribute, int count)
    : WAttribKeyArray(iterator, attribute, count, sizeof(AgeRecord)) {}

void WAttribAgeArray::FillKey(int32_t n) {
    const WAgeKey key = ParseAgeKey(m_attribute->ValueText(n, 1));
    const AgeRecord record{key.years, static_cast<uint8_t>(key.hasValue),
                           static_cast<uint8_t>(key.approximate), static_cast<uint8_t>(key.living),
                           0};
    std::memcpy(RecordAt(n), &record, sizeof record);
}

void WAttribAgeArray::SortIterator() {
    SortWith<AgeSortRecord>(
        [](int32_t n, const char* key) {
            return AgeSortRecord{AgeOrder(AgeKeyOf(key)), n};
        },
        [](const AgeSortRecord& a, const AgeSortRecord& b) {
            return a.n != 0 && b.n != 0 && a.order < b.order;
        });
}

int WAttribAgeArray::CompareIndividuals(int32_t a, int32_t b) const {
    if (a == 0 || b == 0) return 0;
    return CompareAgeKeys(AgeKeyOf(KeyOf(a)), AgeKeyOf(KeyOf(b)));
}

WAgeKey WAttribAgeArray::Key(int32_t n) const {
    return AgeKeyOf(KeyOf(n));
}

// ---------------------------------------------------------------------------------------------
// Number keys

WAttribFloatArray::WAttribFloatArray(WColSortIterator* iterator, WAttrib* attribute, int count)
    : WAttribKeyArray(iterator, attribute, count, sizeof(double)) {}

void WAttribFloatArray::FillKey(int32_t n) {
    const double value = m_attribute->FloatValue(n);
    std::memcpy(RecordAt(n), &value, sizeof value);
}

void WAttribFloatArray::SortIterator() {
    SortWith<FloatSortRecord>(
        [](int32_t n, const char* key) {
            return FloatSortRecord{FloatOf(key), n};
        },
        [](const FloatSortRecord& a, const FloatSortRecord& b) {
            return a.n != 0 && b.n != 0 && a.key < b.key;
        });
}

int WAttribFloatArray::CompareIndividuals(int32_t a, int32_t b) const {
    if (a == 0 || b == 0) return 0;
    return CompareFloats(FloatOf(KeyOf(a)), FloatOf(KeyOf(b)));
}

double WAttribFloatArray::Key(int32_t n) const {
    return FloatOf(KeyOf(n));
}

// ---------------------------------------------------------------------------------------------
// Factory and plain compare functions

std::unique_ptr<WAttribKeyArray> CreateKeyArray(WColSortIterator* iterator, WAttrib* attribute,
                                                int count) {
    if (attribute == nullptr) return nullptr;
    switch (attribute->SortType()) {
        case kSortText:
            return std::make_unique<WAttribStrArray>(iterator, attribute, count);
        case kSortInteger:
            return std::make_unique<WAttribIntArray>(iterator, attribute, count);
        case kSortDate:
            return std::make_unique<WAttribDateArray>(iterator, attribute, count);
        case kSortAge:
            return std::make_unique<WAttribAgeArray>(iterator, attribute, count);
        case kSortNumber:
            return std::make_unique<WAttribFloatArray>(iterator, attribute, count);
        default:
            return nullptr;
    }
}

int CompareKeyRecords(const void* a, const void* b, void* context) {
    if (a == nullptr || b == nullptr || context == nullptr) return 0;
    const auto* keys = static_cast<const WAttribKeyArray*>(context);
    return keys->CompareIndividuals(NumberOfRecord(a), NumberOfRecord(b));
}

}  // namespace kindrel
