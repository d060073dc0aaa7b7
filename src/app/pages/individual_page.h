// The Individual page: the active individual's sex and change date, the grid of event rows
// (N, S, Type, Date, Information, Age) whose selected row fills the Notes and Sources memos,
// the "Chronological" and "TMG Sentence" check boxes, and in raw mode the GEDCOM record's text
// in the person's colours.
#pragma once

#include "app/view_page.h"

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace kindrel {

class WEventRowModel;
class WPersonTable;

class TIndividualPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TIndividualPage(TViewContext& context, QWidget* parent = nullptr);

    void RefreshPage() override;
    // Copy To Clipboard: the page as text.
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;
    void ForgetCollection() override;
    void CollectionAttached() override;
    // Recolours the rows (and the raw text) without rebuilding them.
    void HighlightChanged() override;

    // What the page shows (tests and benchmarks read them).
    WEventRowModel* Model() const { return m_model; }
    WPersonTable* Grid() const { return m_grid; }
    QString SexText() const;
    QString ModifiedText() const;
    QString NotesText() const;
    QString SourcesText() const;
    QString NotesCaption() const;
    QString RawText() const;
    // True while the record's text is shown instead of the grid.
    bool ShowsRaw() const;
    // The row selected (0-based), kept from one individual to the next.
    int SelectedRow() const { return m_selectedRow; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Builds the page for the active individual; reader errors propagate.
    void Rebuild();
    // Empties the page and turns its controls off (no file, no individual, an error).
    void Clear();
    // Selects row (0-based) and fills the memos from it.
    void SelectRow(int row);
    void FillMemos(int row);
    // N, S, Type, Date and Age at their 96-dpi widths scaled to the screen (wider when the
    // font needs it); Information takes the rest of the grid, at least 100 pixels.
    void LayoutColumns();
    // The raw memo in individual n's colours.
    void ColourRaw(int32_t n);
    void ChronologicalClicked(bool on);
    void TmgSentenceClicked(bool on);

    QLabel* m_sexValue = nullptr;
    QLabel* m_modifiedValue = nullptr;
    QCheckBox* m_chronological = nullptr;
    QCheckBox* m_tmgSentence = nullptr;
    QStackedWidget* m_stack = nullptr;
    WPersonTable* m_grid = nullptr;
    WEventRowModel* m_model = nullptr;
    QGroupBox* m_notesBox = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPlainTextEdit* m_sources = nullptr;
    QPlainTextEdit* m_raw = nullptr;
    int m_selectedRow = 0;
    int32_t m_shown = 0;  // the individual the page shows, 0 when empty
};

}  // namespace kindrel
