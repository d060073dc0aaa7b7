// List attributes: one computed column of an individual list. An attribute answers, for an
// individual number, the text shown in its cell and, for sorting, a typed value. The concrete
// columns (codes 1 to 68) are in attrib_columns.h; this header holds the base class, the column
// catalogue (headers, sort types, default widths, chooser order), the factory and Soundex.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kindrel {

class WABSCollection;
class WABSIndividual;

// Sort types of attributes: how the key arrays of a sort are built and compared.
enum AttribSortType : int {
    kSortText = 1,     // folded, upper-cased text of ValueText
    kSortInteger = 2,  // IntValue
    kSortDate = 3,     // SortText parsed as a date
    kSortAge = 4,      // ValueText read as an age ("52", "~52", "52?")
    kSortNumber = 5,   // FloatValue
};

// Lowest and highest column code.
inline constexpr int kFirstColumnCode = 1;
inline constexpr int kLastColumnCode = 68;

// Sub-column offsets inside one cell (pixels); the part after the k-th tab of a value is drawn
// at offsets[k - 1].
struct WTabStops {
    static constexpr int kMaxStops = 10;
    int count = 0;
    std::array<int32_t, kMaxStops> offsets{};
};

// A column of an individual list. Construct it through CreateAttrib (or a subclass directly),
// then ask ValueText for cells and the typed values for sorting.
class WAttrib {
  public:
    // An attribute of the given column code over a collection (not owned; may be null).
    WAttrib(WABSCollection* collection, int code, int sortType = kSortText);
    virtual ~WAttrib();
    WAttrib(const WAttrib&) = delete;
    WAttrib& operator=(const WAttrib&) = delete;

    // Attaches another collection (subclasses redo what depends on it).
    virtual void SetCollection(WABSCollection* collection);
    // The text shown for individual n; occurrence picks the spouse family of marriage-based
    // columns (1 in every view).
    virtual std::string ValueText(int32_t n, int occurrence) = 0;
    // The integer sort value of individual n (integer columns).
    virtual int32_t IntValue(int32_t n);
    // The number sort value of individual n (number columns).
    virtual double FloatValue(int32_t n);
    // The date text sorted by for individual n (date columns).
    virtual std::string SortText(int32_t n);
    // Sets the individual that relationship columns relate to (0 = none).
    virtual void SetReference(int32_t individual) { m_reference = individual; }
    // False when the value of n needs a long walk over the tree that has not been made yet
    // (a list shows such a cell once it was computed outside its paint).
    virtual bool ValueReady(int32_t n) {
        (void)n;
        return true;
    }

    // The collection read, or null.
    WABSCollection* Collection() const { return m_collection; }
    // The column code (1 to 68).
    int Code() const { return m_code; }
    // The sort type (AttribSortType).
    int SortType() const { return m_sortType; }
    // The reference individual (0 = none).
    int32_t Reference() const { return m_reference; }
    // The sub-column offsets of the cells; count 0 when there are none.
    const WTabStops& TabStops() const { return m_tabStops; }

  protected:
    // The individual object for n, or null when there is no collection or no such individual.
    std::unique_ptr<WABSIndividual> Individual(int32_t n) const;

    WABSCollection* m_collection = nullptr;
    int m_code = 0;
    int m_sortType = kSortText;
    int32_t m_reference = 0;
    WTabStops m_tabStops;
};

// One entry of the column catalogue.
struct WColumnInfo {
    int code;
    const char* shortHeader;
    const char* longHeader;
    int sortType;  // the catalogue's sort type (codes 2, 3, 48 depend on the collection)
    int width;     // default width in pixels
};

// The catalogue entry of a code, or null for a code outside 1 to 68.
const WColumnInfo* ColumnInfo(int code);

// A new attribute for a column code over a collection, or null for a code outside 1 to 68.
std::unique_ptr<WAttrib> CreateAttrib(int code, WABSCollection* collection);

// The code at position p (1 to 68) of the column chooser's order, 0 outside.
int CodeAtChooserPosition(int p);
// The chooser position (1 to 68) of a code, 0 for a code not in the catalogue.
int ChooserPositionOfCode(int code);

// The four-character Soundex code of a text ('Tymczak' gives 'T522'), empty for an empty text.
// Letters are the ASCII letters; every other character keeps the current code.
std::string Soundex(std::string_view text);

}  // namespace kindrel
