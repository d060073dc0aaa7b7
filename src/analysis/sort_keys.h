// Sort keys of list attributes: the text fold, the key records of the five sort types, their
// compare functions, and the key arrays that a sortable iterator fills once per sort (record n
// holds the key of individual n) and sorts its individual numbers by.
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kindrel {

class WAttrib;
class WColSortIterator;

// Bytes of a text key without its terminating NUL.
inline constexpr int kTextKeyLength = 47;
// Bytes of a date key without its terminating NUL.
inline constexpr int kDateKeyLength = 15;

// The sort form of a text: accented Latin letters folded to their base letters ('É' to 'E',
// 'ß' to 'B', 'Ł' to 'L'), then ASCII letters upper-cased, cut to at most 47 bytes at a
// character boundary. Keys compare as plain byte strings.
std::string FoldSortKey(std::string_view text);
// The same into a zero-filled 48-byte buffer (the key record of a text key array).
void FoldSortKeyInto(std::string_view text, char (&key)[kTextKeyLength + 1]);
// text cut to at most maxBytes bytes without splitting a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, size_t maxBytes);

// The key of an age text ("52", "~52", "52?", "[~52]").
struct WAgeKey {
    bool hasValue = false;     // digits were read
    bool approximate = false;  // the age starts with "~" (inside an opening "[")
    int32_t years = 0;         // the decimal value of all digits taken together
    bool living = false;       // the age ends with "?" (before a closing "]")
};

// Reads an age text into its key; an empty text or one without digits has no value.
WAgeKey ParseAgeKey(std::string_view text);
// Age order: no value first; then fewer years; on equal years exact before approximate, and of
// two approximate ages the one without the living mark first; otherwise equal.
int CompareAgeKeys(const WAgeKey& a, const WAgeKey& b);

// A date key parsed once: the cut text and the numbers that WDate::Compare orders by.
struct WDateKey {
    static constexpr uint8_t kEmpty = 0;
    static constexpr uint8_t kUnclean = 1;
    static constexpr uint8_t kClean = 2;

    char text[kDateKeyLength + 1] = {};  // the date's (upper-cased) text, NUL-terminated
    int64_t number = 0;                  // signed year, month and day packed in that order
    uint8_t kind = kEmpty;
    uint8_t qualifier = 0;
    uint8_t pad[6] = {};
};
static_assert(sizeof(WDateKey) == 32);

// Parses a date sort text cut to 15 bytes (at a character boundary) into its key.
WDateKey MakeDateKey(std::string_view sortText);
// Date order on keys, the same as parsing both cut texts as WDate each time and comparing with
// WDate::Compare: empty first (two empty keys equal), then unclean dates by their texts, then
// clean dates by year, month, day and the qualifier order.
int CompareDateKeys(const WDateKey& a, const WDateKey& b);
// The date order on two sort texts by parsing them (the reference behaviour; slow).
int CompareDateTexts(std::string_view a, std::string_view b);

// Base of the key arrays: one record per individual number (record n holds the key of
// individual n), zero for individuals not in the iterator. A key array belongs to one sort of
// one iterator: create it, Fill it, then SortIterator.
class WAttribKeyArray : public WABSArrayIndex {
  public:
    // Room for count records of recordSize bytes, all zero.
    WAttribKeyArray(WColSortIterator* iterator, WAttrib* attribute, int count, int recordSize);

    // Computes the key of every individual of the iterator, pumping events every 50 positions
    // and reporting progress under "Sorting.  Please Wait...". Stops when the cancel flag is
    // set after a pump (Cancelled).
    void Fill();
    // Sorts the iterator's records (individual numbers) by the keys, ascending; individuals
    // with equal keys keep their order. Marks the iterator sorted.
    virtual void SortIterator() = 0;
    // True when the cancel flag stopped the last Fill or SortIterator; the iterator's records
    // are then as they were (they are written only at the end of a sort).
    bool Cancelled() const { return m_cancelled; }
    // Number of keys computed by the last Fill.
    int64_t FilledCount() const { return m_filled; }
    // The number of records (the collection's individual count at the iterator's creation).
    int KeyCount() const { return m_keyCount; }

    // Compares two individuals by their keys; the compare function of the sort type.
    virtual int CompareIndividuals(int32_t a, int32_t b) const = 0;

  protected:
    // Computes and stores the key of individual n (1 <= n <= KeyCount).
    virtual void FillKey(int32_t n) = 0;
    // The key record of individual n, or a zero record for a number outside 1..KeyCount.
    const char* KeyOf(int32_t n) const {
        return (n >= 1 && n <= m_keyCount) ? RecordAt(n) : m_zero;
    }
    // Sorts the iterator's records ascending and stably: makeRecord(n, key record) gives the
    // sort record of individual n (with a member n), less(a, b) whether a sorts before b.
    template <class Record, class MakeRecord, class Less>
    void SortWith(MakeRecord makeRecord, Less less);

    WColSortIterator* m_iterator;
    WAttrib* m_attribute;
    int m_keyCount;
    int64_t m_filled = 0;
    bool m_cancelled = false;
    const char* m_zero;
};

// Text keys: 47 bytes and a NUL (ValueText folded).
class WAttribStrArray final : public WAttribKeyArray {
  public:
    WAttribStrArray(WColSortIterator* iterator, WAttrib* attribute, int count);
    void SortIterator() override;
    int CompareIndividuals(int32_t a, int32_t b) const override;
    // The key of individual n (empty for a number outside the array).
    std::string_view Key(int32_t n) const;

  protected:
    void FillKey(int32_t n) override;
};

// Integer keys (IntValue).
class WAttribIntArray final : public WAttribKeyArray {
  public:
    WAttribIntArray(WColSortIterator* iterator, WAttrib* attribute, int count);
    void SortIterator() override;
    int CompareIndividuals(int32_t a, int32_t b) const override;
    // The key of individual n (0 outside the array).
    int32_t Key(int32_t n) const;

  protected:
    void FillKey(int32_t n) override;
};

// Date keys: SortText cut to 15 bytes, parsed once into WDateKey.
class WAttribDateArray final : public WAttribKeyArray {
  public:
    WAttribDateArray(WColSortIterator* iterator, WAttrib* attribute, int count);
    void SortIterator() override;
    int CompareIndividuals(int32_t a, int32_t b) const override;
    // The key of individual n (an empty key outside the array).
    WDateKey Key(int32_t n) const;

  protected:
    void FillKey(int32_t n) override;
};

// Age keys (ValueText read as an age).
class WAttribAgeArray final : public WAttribKeyArray {
  public:
    WAttribAgeArray(WColSortIterator* iterator, WAttrib* attribute, int count);
    void SortIterator() override;
    int CompareIndividuals(int32_t a, int32_t b) const override;
    // The key of individual n (no value outside the array).
    WAgeKey Key(int32_t n) const;

  protected:
    void FillKey(int32_t n) override;
};

// Number keys (FloatValue).
class WAttribFloatArray final : public WAttribKeyArray {
  public:
    WAttribFloatArray(WColSortIterator* iterator, WAttrib* attribute, int count);
    void SortIterator() override;
    int CompareIndividuals(int32_t a, int32_t b) const override;
    // The key of individual n (0.0 outside the array).
    double Key(int32_t n) const;

  protected:
    void FillKey(int32_t n) override;
};

// The key array for an attribute's sort type, or null for a sort type without one.
std::unique_ptr<WAttribKeyArray> CreateKeyArray(WColSortIterator* iterator, WAttrib* attribute,
                                                int count);

// The compare function of a sort: a and b point to iterator records (individual numbers),
// context is the key array (WAttribKeyArray), whose sort type decides: text and date by the
// keys; integer, number and age by the keys, but 0 when either individual number is 0.
int CompareKeyRecords(const void* a, const void* b, void* context);

// The progress label of sorts.
inline constexpr char kSortingMessage[] = "Sorting.  Please Wait...";

}  // namespace kindrel
