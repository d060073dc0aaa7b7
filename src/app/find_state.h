// Finding individuals without widgets: the five sorted find orders shared by the tool bar and
// the find dialogs (WFindOrders), the name split of a query, and the tool bar's find state
// (WFindState) with its search, Find Next / Find Previous walks and the refill text.
//
//   WFindOrders orders(&collection);
//   WFindState find(&orders);
//   find.SetKind(WFindState::kSurname);
//   int32_t n = find.Search("Smith, J");   // jump to n when non-zero
//   n = find.Next();
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WABSCollection;
class WColSortIterator;

// The five find orders.
enum class FindOrder : int { kIndex = 0, kRef, kSurname, kGiven, kCustom, kCount };

// The attribute code an order is sorted by (0 for the index order, already in order).
int FindOrderAttribute(FindOrder order);

// A query split at its first comma: the surname before it and the given names after it, both
// trimmed; a query without a comma is all surname.
struct NameQuery {
    std::string surname;
    std::string givenNames;
};
NameQuery SplitNameQuery(std::string_view query);

// The orders over the individuals in scroll order, made and sorted on first use. They read the
// collection; Reset (or destroying them) before the collection is freed.
class WFindOrders {
  public:
    explicit WFindOrders(WABSCollection* collection = nullptr);
    ~WFindOrders();

    // Frees the orders and takes another collection (null: none).
    void Reset(WABSCollection* collection);
    WABSCollection* Collection() const { return m_collection; }
    // True when the order exists and is sorted (a call to Order costs nothing then).
    bool IsReady(FindOrder order) const;
    // The order, made and sorted when first asked for (the caller shows the wait dialog when
    // IsReady answered false); null without collection.
    WColSortIterator* Order(FindOrder order);
    // Called around a sort that Order has to run (the window shows "Sorting.  Please Wait...").
    std::function<void(bool starting)> onSort;

  private:
    WABSCollection* m_collection;
    std::unique_ptr<WColSortIterator> m_orders[static_cast<int>(FindOrder::kCount)];
};

// The tool bar's find: kind, first match row F and current row C in the kind's order.
class WFindState {
  public:
    enum Kind : int { kIndex = 1, kRef = 2, kSurname = 3, kGiven = 4 };

    explicit WFindState(WFindOrders* orders) : m_orders(orders) {}

    // Sets the kind (1..4; others give 1) and resets F and C.
    void SetKind(int kind);
    int Kind() const { return m_kind; }
    // F = C = 0, Find Next / Previous off.
    void Reset();

    // The search on a change of the edit text. Answers the individual to jump to (0: none).
    int32_t Search(std::string_view text);
    // Find Next / Find Previous: the individual to jump to (0: none).
    int32_t Next();
    int32_t Previous();
    // True when Find Next / Find Previous are on.
    bool CanStep() const { return m_canStep; }
    int FirstRow() const { return m_first; }
    int CurrentRow() const { return m_current; }

    // The edit box's text for an individual by kind: number, REF/RIN, surname, given names.
    // Kinds 3 and 4 turn Find Next / Previous on for a non-empty text (they start at the run
    // of that name).
    std::string RefillText(int32_t individual);
    // True when row (1-based) of the kind's order matches the last query.
    bool RowMatches(int row);

    // The individual with a REF/RIN text: "I" + text for a GEDCOM file, then the text as
    // typed, then upper-cased (files whose identifiers do not start with "I"); 0 when none.
    static int32_t FindByRef(WABSCollection& collection, std::string_view text);

  private:
    FindOrder OrderOfKind() const;
    WColSortIterator* CurrentOrder();
    int StartRow();
    int32_t NumberAtRow(int row);

    WFindOrders* m_orders;
    int m_kind = kIndex;
    std::string m_query;
    int m_first = 0;
    int m_current = 0;
    bool m_canStep = false;
};

// The Find Individual dialog's modes (setting FindDlg): 1 Index, 2 RIN/REF, 3 Surname, Name,
// 4 Name Surname, 5 Custom; and the order each one lists.
inline constexpr int kFindModeCount = 5;
FindOrder FindOrderOfMode(int mode);

// The cells of one grid row of the Find Individual dialog.
struct FindGridRow {
    std::string index;  // the individual number
    std::string id;     // REF/RIN, or the custom identifier in mode 5
    std::string name;   // "Surname, Given" in mode 3, else "Given Surname"
    std::string birth;  // the birth date, else "[" + christening date + "]"
};
FindGridRow FindGridCells(WABSCollection& collection, int32_t individual, int mode);

// The row (1-based, in the mode's order) a search of the dialog selects; 0 when nothing is
// found or the text is empty. Index: the number's row (above the count: the last
// individual); REF: the identifier's row; names: the best match; Custom: the nearest REFN.
int FindDialogRow(WFindOrders& orders, int mode, std::string_view text);

// One entry of the "Marriages" list: a spouse line or an indented child line.
struct MarriageEntry {
    int32_t individual = 0;  // 0: no spouse entered
    bool child = false;
    bool hasChildren = false;  // children only: the "+" mark
    std::string year;          // children only: the birth year, or empty
    std::string text;          // "Spouse: " + name, "Spouse: <Not Entered>", or the child's name
};
std::vector<MarriageEntry> MarriageEntries(WABSCollection& collection, int32_t individual);

// The edit box's text for an individual in a dialog mode (what a search of that mode finds).
std::string FindDialogText(WABSCollection& collection, int32_t individual, int mode);

}  // namespace kindrel
