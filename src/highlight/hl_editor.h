// The condition editor's logic without widgets: the condition lists of the two editors, the
// parameter text of each editor kind, one row's condition text, and the manager's rows,
// And/Or separators, condition string and notify rules. The widgets of the highlighting panel
// only show this state and forward the user's edits to it.
//
//   WHLGuiManModel manager(HLColManCodes());
//   manager.onChange = [&] { window.SetHighlightConditions(manager.HLStrings()); };
//   manager.SetHLStrings("1");      // one row on "Select a Condition"
//   manager.Row(0).SetCode(17);     // "Sex Type" ...
//   manager.Notify();               // ... passed on as "+17:M"
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// The codes of the highlighting panel (all 100), in the order its lists show them.
const std::vector<int>& HLColManCodes();
// The codes of the find panel's condition editor (77), in the order its lists show them.
const std::vector<int>& HLSearchManCodes();

// The state of one parameter editor, by editor kind (HLEditorKind). Only the fields of the
// kind are used; the defaults are each editor's initial state.
struct WHLOptionState {
    int kind = 0;
    // Sex 0..2 (Male, Female, Unknown); the mode item of a text match (1..4), a soundex
    // (1..2), a date (1..4: =, BEF, ABT, AFT) or a number (1..5: =, <, <=, >, >=); the LDS
    // item (1 = "A Date", then the status words).
    int choice = 0;
    int32_t individual = 0;  // individual editors; 0 = none selected
    int generations = 0;     // 0..999
    std::string text;        // text match and soundex, without ":" and ";"
    int day = 0, month = 0, year = 0;  // date editor; 0 = unknown day or month
    int number = 0;          // number editor, 0..65535
    int ageLimit = 110;      // 1..150
};

// Kind 1's items, kind 3's, kind 6's and the others as their selection texts.
inline constexpr const char* kHLSexItems[] = {"Male", "Female", "Unknown"};
inline constexpr const char* kHLMatchItems = "Contains;Equals;Begins;Ends";
inline constexpr const char* kHLSoundexItems = "Text;Code";
inline constexpr const char* kHLDateItems = "=;BEF;ABT;AFT";
inline constexpr const char* kHLNumberItems = "=;<;<=;>;>=";
// Limits of the spin boxes.
inline constexpr int kHLMaxGenerations = 999;
inline constexpr int kHLMaxNumber = 65535;
inline constexpr int kHLMinAgeLimit = 1;
inline constexpr int kHLMaxAgeLimit = 150;

// The initial state of an editor kind.
WHLOptionState HLInitialOption(int kind);
// The parameter text an editor writes (its HLString): "F", "15^3", "1Smith", "BEF 1 JAN
// 1850", "35", "110", "2"; empty for kind 0.
std::string HLOptionText(const WHLOptionState& state);
// Reads a parameter text back into the state of an editor kind; fields the text does not give
// keep their initial values, numbers are clamped to the editor's limits.
WHLOptionState ReadHLOption(int kind, std::string_view parameter);
// The date editor's date text of day, month and year: "12 JAN 1900", "JAN 1900", "1900"; a
// day without a month is left out.
std::string HLDateText(int day, int month, int year);
// The items of an LDS status editor (kinds 9 to 12): "A Date", then the status words.
std::vector<std::string> HLLdsItems(int kind);
// The items of a ";"-separated selection text.
std::vector<std::string> SplitItems(std::string_view items);
// A text match's text as the box keeps it: ":" and ";" dropped (the condition string has no
// escape for them), leading and trailing blanks trimmed.
std::string HLCleanMatchText(std::string_view text);

// One condition row: the sign, the chosen entry of the list and the editor below it.
class WHLGuiCondModel {
  public:
    // A row over the manager's condition list (not owned; outlives the row), on its first
    // entry.
    explicit WHLGuiCondModel(const std::vector<int>* codes = nullptr) : m_codes(codes) {}

    // The row's condition text (HLCondStr): sign, code, and ":" + the editor's text when the
    // code has an editor ("+13", "-17:F", "+21:15^3").
    std::string HLCondStr() const;
    // Writes HLCondStr: empty chooses the first entry. Otherwise sign and code are read from
    // the text before ":"; a code the list does not hold chooses the first entry. With
    // restoreParameter the editor takes the parameter, else it starts in its initial state.
    void SetHLCondStr(std::string_view text, bool restoreParameter = true);

    // Chooses the list entry at position (0-based; out of range: the first). The editor
    // starts again in its initial state.
    void SetListIndex(int position);
    // Chooses the entry of a code (the first entry when the list lacks it).
    void SetCode(int code);
    // Flips the sign.
    void ToggleNegated() { m_negated = !m_negated; }
    void SetNegated(bool negated) { m_negated = negated; }

    bool Negated() const { return m_negated; }
    int ListIndex() const { return m_index; }
    // The chosen code (1 on "Select a Condition" or without a list).
    int Code() const;
    // The editor kind of the chosen code (0: none).
    int EditorKind() const { return m_option.kind; }
    // The editor's state; edit it and Notify the manager.
    WHLOptionState& Option() { return m_option; }
    const WHLOptionState& Option() const { return m_option; }
    // The label of each list entry for the current sign.
    std::vector<std::string> Labels() const;

  private:
    const std::vector<int>* m_codes;
    bool m_negated = false;
    int m_index = 0;
    WHLOptionState m_option;
};

// The manager: ten rows made once, the separators between them, the shown-row count, and
// when changes are passed on.
class WHLGuiManModel {
  public:
    static constexpr int kMaxRows = 10;
    // The messages of Add and Delete.
    static constexpr const char* kTooManyText = "Too many conditions.  Max = ";
    static constexpr const char* kNoMoreText = "No more conditions.";

    // A manager over a condition list (copied) with no row shown.
    explicit WHLGuiManModel(std::vector<int> codes);
    WHLGuiManModel(const WHLGuiManModel&) = delete;
    WHLGuiManModel& operator=(const WHLGuiManModel&) = delete;

    // Raised when the condition string should be applied (OnChange), and when the changed
    // state was set or cleared so the owner can show it (OnApply).
    std::function<void()> onChange;
    std::function<void()> onApply;

    // The condition string (HLStrings read): empty with no rows or when a shown row is still
    // on "Select a Condition"; else the rows' HLCondStr joined by ";A;" or ";O;".
    std::string HLStrings() const;
    // Writes HLStrings: the rows, separators and parameters read from the text. A text with
    // more than ten conditions, or one that does not parse, changes nothing (false). Does not
    // notify.
    bool SetHLStrings(std::string_view text);

    // "Add": false (and nothing changes) with ten rows shown; else shows a new row on its
    // first entry, sets changed and notifies.
    bool Add();
    // "Delete": false with no rows; else hides the last row, sets changed and notifies.
    bool Delete();
    // "Apply": raises onChange, clears changed, raises onApply.
    void Apply();
    // Passes a change on by the rules: nothing without an onChange handler; while deferring
    // sets changed and raises onApply; else in manual mode sets changed; else raises onChange.
    void Notify();
    // Manual mode on or off: clears changed; deferring follows the mode.
    void SetManual(bool manual);
    // Holds changes back (ignored in manual mode); ending it with a change pending clears
    // changed and notifies again.
    void Defer(bool defer);

    int RowCount() const { return m_rowCount; }
    // Row i (0..9), shown or not.
    WHLGuiCondModel& Row(int i) { return m_rows[static_cast<size_t>(i)]; }
    const WHLGuiCondModel& Row(int i) const { return m_rows[static_cast<size_t>(i)]; }
    // The separator above row i + 1 (i from 0 to 8): true for And.
    bool SeparatorIsAnd(int i) const { return m_and[static_cast<size_t>(i)]; }
    void SetSeparator(int i, bool isAnd) { m_and[static_cast<size_t>(i)] = isAnd; }
    const std::vector<int>& Codes() const { return m_codes; }

    bool Changed() const { return m_changed; }
    bool Deferring() const { return m_deferring; }
    bool Manual() const { return m_manual; }
    // True in manual mode with a change not yet applied.
    bool ManualChangePending() const { return m_manual && m_changed; }
    // The buttons: Add unless ten rows, Delete with a row, Apply enabled (and red) while
    // changed and shown only in manual mode.
    bool CanAdd() const { return m_rowCount < kMaxRows; }
    bool CanDelete() const { return m_rowCount > 0; }
    bool ApplyEnabled() const { return m_changed; }
    bool ApplyVisible() const { return m_manual; }

  private:
    std::vector<int> m_codes;
    std::vector<WHLGuiCondModel> m_rows;
    bool m_and[kMaxRows - 1];
    int m_rowCount = 0;
    bool m_changed = false;
    bool m_deferring = false;
    bool m_manual = false;
};

}  // namespace kindrel
