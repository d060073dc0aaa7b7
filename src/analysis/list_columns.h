// A column set of an individual list: a column string such as "1,2,7,65,67,19,18" turned into
// list attributes, with headers, cell texts, widths kept in a settings section, and the sort
// column that drives the sorting of the view's iterator.
#pragma once

#include "analysis/attrib.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;
class WColSortIterator;
class WOptions;

// Sort state of a header: not sorted, sorted ascending, sorted descending.
enum HeaderSortState : int { kHeaderUnsorted = 1, kHeaderAscending = 2, kHeaderDescending = 3 };

class WListColumns {
  public:
    // Room for columns; items past the 68th of a column string are left out.
    static constexpr int kMaxColumns = 68;
    // Width of a column without attribute.
    static constexpr int kErrorColumnWidth = 40;
    // The text of a column without attribute (header and cells).
    static constexpr const char* kErrorText = "ERROR";

    // A column set over a collection (not owned; may be null) whose widths live in a section
    // of the settings file ("List", "DesList", "IslandList"), read now from options (not
    // owned; null: catalogue widths, nothing written back). No columns yet.
    WListColumns(WABSCollection* collection, std::string section, WOptions* options = nullptr);
    // Writes the width of every column's code back to the settings section.
    ~WListColumns();
    WListColumns(const WListColumns&) = delete;
    WListColumns& operator=(const WListColumns&) = delete;

    // Rebuilds the columns from a column string when it differs from the current one. Items
    // are decimal codes separated by ","; blanks around an item are ignored and empty items
    // skipped; any other item, or a code outside 1 to 68, is a column without attribute.
    void SetColumns(const std::string& columns);
    // The column string.
    const std::string& Columns() const { return m_columns; }

    // Attaches another collection to every attribute (reference individual 0) and forgets the
    // sort column; the same collection changes nothing.
    void SetCollection(WABSCollection* collection);
    // The collection.
    WABSCollection* Collection() const { return m_collection; }
    // Sets the reference individual of every attribute (relationship columns).
    void SetReference(int32_t individual);

    // Number of columns.
    int ColumnCount() const { return static_cast<int>(m_attributes.size()); }
    // The code of column i (1-based), 0 for a column without attribute or an invalid i.
    int ColumnCode(int i) const;
    // The attribute of column i, or null.
    WAttrib* Attribute(int i) const;
    // The short or long header of column i ("REF" for code 2 of a GEDCOM collection, "ERROR"
    // without attribute); sortState is kHeaderAscending/Descending for the sort column while
    // an iterator is attached, else kHeaderUnsorted.
    std::string HeaderText(int i, bool longHeader, int& sortState) const;
    // The short or long header of a column code as HeaderText shows it ("REF" for code 2 of
    // a GEDCOM collection), empty for a code outside 1 to 68.
    std::string CodeHeaderText(int code, bool longHeader) const;
    // The cell of column i for individual n; "ERROR" without attribute, empty for an invalid i.
    std::string CellText(int i, int32_t n, int occurrence = 1) const;
    // False when CellText(i, n) would first make a long walk over the tree.
    bool CellReady(int i, int32_t n) const;
    // The width in pixels stored for column i's code.
    int Width(int i) const;
    // Stores the width for column i's code (written back at destruction).
    void SetWidth(int i, int width);
    // The sub-column offsets of column i, or null when it has none.
    const WTabStops* TabStops(int i) const;

    // Attaches the view's iterator (not owned; null detaches): it gets the set's direction
    // and is sorted by the sort column.
    void AttachIterator(WColSortIterator* iterator);
    // The attached iterator, or null.
    WColSortIterator* Iterator() const { return m_iterator; }
    // A header click: sorts by column i, flipping the direction when it is already the sort
    // column. False when the cancel flag stopped the sort: the order, the sort column and the
    // direction are then those from before.
    bool SortByColumn(int i);
    // Sorts the attached iterator by the sort column again (no flip); false when cancelled.
    bool Resort();
    // Forgets the sort column.
    void ClearSort() { m_sortColumn = -1; }
    // The sort column (1-based), -1 when none.
    int SortColumn() const { return m_sortColumn; }
    // The direction last used.
    bool IsAscending() const { return m_ascending; }

    // The code at position p (1 to 68) of the column chooser, 0 outside.
    static int CodeAtDisplayPosition(int p);
    // The chooser position of a code, 0 for a code not in the catalogue.
    static int DisplayPositionOfCode(int code);
    // "Column i: long header" for every column, joined by CR LF.
    std::string ColumnsText() const;
    // The settings section of the widths.
    const std::string& Section() const { return m_section; }

  private:
    bool Sort(bool toggle);
    // Writes the widths of the columns' codes; false when the settings file could not be
    // written.
    bool WriteWidths() const;

    WABSCollection* m_collection;
    std::string m_section;
    WOptions* m_options;
    std::vector<std::unique_ptr<WAttrib>> m_attributes;  // null for a column without attribute
    std::array<int, kLastColumnCode + 1> m_widths{};     // by code; [0] for error columns
    std::string m_columns;
    WColSortIterator* m_iterator = nullptr;
    int m_sortColumn = -1;
    bool m_ascending = true;
    int32_t m_reference = 0;
};

}  // namespace kindrel
