#include "analysis/sort_keys.h"

#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "containers/ui_hooks.h"
#include "model/date.h"
#include "model/upper_case.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>

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
    if (m_iterator == nullptr || m_attribute == nullptr) return;
    const int count = m_iterator->Count();
    ReportProgress(kSortingMessage, 0, count);
    for (int p = 1; p <= count; ++p) {
        if (p % kFillPumpInterval == 0) PumpEvents();
        if (p % kFillProgressInterval == 0) ReportProgress(kSortingMessage, p, count);
        const char* record = m_iterator->Item(p);
        if (record == nullptr) break;
        const int32_t n = NumberOfRecord(record);
        if (n < 1 || n > m_keyCount) continue;
        FillKey(n);
        ++m_filled;
    }
    ReportProgress(kSortingMessage, count, count);
}

template <class KeyCompare>
void WAttribKeyArray::SortWith(KeyCompare keyCompare) {
    if (m_iterator == nullptr) return;
    const char* const base = m_keyCount > 0 ? RecordAt(1) : nullptr;
    const int size = RecordSize();
    const int keyCount = m_keyCount;
    const char* const zero = m_zero;
    const auto keyOf = [base, size, keyCount, zero](int32_t n) {
        return (n >= 1 && n <= keyCount) ? base + std::int64_t(n - 1) * size : zero;
    };
    m_iterator->WABSArrayIndex::SortBy([&](const void* a, const void* b) {
        const int32_t na = NumberOfRecord(a);
        const int32_t nb = NumberOfRecord(b);
        return keyCompare(na, nb, keyOf(na), keyOf(nb));
    });
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
    SortWith(
        [](int32_t, int32_t, const char* a, const char* b) { return CompareTextRecords(a, b); });
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
    SortWith([](int32_t na, int32_t nb, const char* a, const char* b) {
        if (na == 0 || nb == 0) return 0;
        return CompareInts(IntOf(a), IntOf(b));
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
    SortWith(
        [](int32_t, int32_t, const char* a, const char* b) { return CompareDateRecords(a, b); });
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
    SortWith([](int32_t na, int32_t nb, const char* a, const char* b) {
        if (na == 0 || nb == 0) return 0;
        return CompareAgeKeys(AgeKeyOf(a), AgeKeyOf(b));
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
    SortWith([](int32_t na, int32_t nb, const char* a, const char* b) {
        if (na == 0 || nb == 0) return 0;
        return CompareFloats(FloatOf(a), FloatOf(b));
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
