// The Sources tab: every source in nine columns (number, note/text/repository marks, title,
// abbreviation, author, publication, call number), sorted and flipped by header clicks, and
// the detail pane of the selected source (or its GEDCOM record in raw mode).
#pragma once

#include "app/view_page.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <unordered_map>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableView;

namespace kindrel {

class WSourceIterator;

// The Sources grid: the sources of an iterator, read when painted (a small row cache).
class WSourcesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumnCount = 9;
    explicit WSourcesModel(TViewContext& context, QObject* parent = nullptr);

    // Shows iterator (not owned; null: no rows).
    void SetIterator(WSourceIterator* iterator);
    // The order changed.
    void OrderChanged();
    // The source of a row, 0 for none.
    int32_t SourceAt(int row) const;
    // The row of a source, -1 when not listed.
    int RowOf(int32_t source) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const QStringList& Cells(int row) const;

    TViewContext& m_context;
    WSourceIterator* m_iterator = nullptr;
    int m_rows = 0;
    mutable std::unordered_map<int, QStringList> m_cache;
};

class TSourcesPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TSourcesPage(TViewContext& context, QWidget* parent = nullptr);
    ~TSourcesPage() override;

    // Makes the iterator on the first show after an open; shows the rows and the details.
    void RefreshPage() override;
    void ForgetCollection() override;
    void CollectionAttached() override;
    void HighlightChanged() override {}
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;

    // A header click on column (0..8): sorts by it, or flips the direction when it is the
    // sort column. Ignored while a sort runs.
    bool SortByColumn(int column);
    // The details of the selected source as text (raw: its record), to the clipboard.
    bool CopyDetails();
    // The source whose details are shown (0 none).
    int32_t ShownSource() const { return m_shownSource; }

    // For tests.
    QTableView* Grid() const { return m_grid; }
    WSourcesModel* Model() const { return m_model; }
    QLabel* CountLabel() const { return m_countLabel; }
    QLabel* DetailLabel(int field) const { return m_fields[field]; }
    QPlainTextEdit* TextMemo() const { return m_text; }
    QPlainTextEdit* NoteMemo() const { return m_note; }
    QPlainTextEdit* RepositoryMemo() const { return m_repository; }
    QPlainTextEdit* RawMemo() const { return m_raw; }
    QGroupBox* NoteBox() const { return m_noteBox; }
    WSourceIterator* Iterator() const { return m_iterator.get(); }

  private:
    void ShowDetails(int32_t source);
    void UpdateSortIndicator();
    void ApplyWidths();
    void ColumnResized(int column, int size);

    QLabel* m_countLabel = nullptr;
    QTableView* m_grid = nullptr;
    WSourcesModel* m_model = nullptr;
    QStackedWidget* m_detailStack = nullptr;
    QLabel* m_fields[5] = {};
    QPlainTextEdit* m_text = nullptr;
    QGroupBox* m_noteBox = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QPlainTextEdit* m_repository = nullptr;
    QPlainTextEdit* m_raw = nullptr;
    std::unique_ptr<WSourceIterator> m_iterator;
    int32_t m_shownSource = 0;
    int32_t m_keptSource = 0;  // the selection to find again after an open
    bool m_applyingWidths = false;
    bool m_shownRaw = false;
    double m_widthScale = 1.0;
};

}  // namespace kindrel
