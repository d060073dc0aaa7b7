// The individual-list grids (List, Highlighted, island members): a table model over a sortable
// iterator and a column set. Only the rows painted are read, through a small row cache that is
// cleared whenever the order, the reference individual, an option or the highlighting changes;
// nothing is stored per row of the list. A cell whose value needs a long walk over the tree
// (the ancestor and descendant totals) is painted empty and filled from a zero-time timer,
// one cell per turn of the event loop, so that no paint runs such walks.
#pragma once

#include "app/view_page.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <unordered_map>

class QTimer;

namespace kindrel {

class WColSortIterator;
class WListColumns;

class WListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Rows read beyond this many are cached afresh (the cache is emptied when full).
    static constexpr int kCacheRows = 2048;

    // A model without rows over the context's column set of kind (read at each reset).
    // coloured: rows in each person's highlight colours, else white with black text.
    WListModel(TViewContext& context, ColumnSetKind kind, bool coloured, QObject* parent = nullptr);

    // Shows the individuals of iterator (not owned; null: no rows). It must stay until Clear or
    // the next SetIterator.
    void SetIterator(WColSortIterator* iterator);
    void Clear() { SetIterator(nullptr); }
    WColSortIterator* Iterator() const { return m_iterator; }
    // Rows in highlight colours or plain.
    void SetColoured(bool coloured);
    // The column set's columns changed: the model is reset.
    void ColumnsChanged();
    // The order changed (a sort or a flip): layoutChanged, header arrow, cache emptied.
    void OrderChanged();
    // Values or colours changed (reference, options, highlighting): cache emptied, repaint.
    void ValuesChanged();

    // The individual of a row, 0 for none.
    int32_t IndividualAt(int row) const;
    // The row of an individual, -1 when not listed (a linear search).
    int RowOf(int32_t individual) const;
    // A row's values separated by tabs (a value's own tab-separated parts joined).
    QString RowText(int row) const;
    // The values of a cell as CellText gives them ("" for an invalid cell).
    QString CellText(int row, int column) const;
    // How many times data() was entered, and how deep it is now (tests: nothing may pump
    // events inside it).
    static int DataDepth();
    // Rows read from the column set since the last reset (tests, timings).
    int RowsRead() const { return m_rowsRead; }
    // True while painted cells wait to be filled.
    bool HasPendingCells() const { return !m_pending.empty(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    struct Row {
        int32_t individual = 0;
        QStringList cells;
        QList<int> missing;  // columns (from 0) whose cells are still to be computed
        QColor background;
        QColor text;
    };
    // The cached row; deferred: cells that need a long walk stay empty and are queued.
    const Row& RowAt(int row, bool deferred) const;
    // Computes one queued cell and shows its row once complete.
    void FillPendingCell();
    // Forgets the cache and the queue.
    void ClearCache();
    WListColumns* Columns() const;
    void ReadColumns();

    TViewContext& m_context;
    ColumnSetKind m_kind;
    bool m_coloured;
    WColSortIterator* m_iterator = nullptr;
    int m_rows = 0;
    int m_columnCount = 0;
    QStringList m_headers;
    QString m_hint;
    mutable std::unordered_map<int, Row> m_cache;
    mutable std::deque<int> m_pending;  // rows with missing cells, in paint order
    QTimer* m_fillTimer = nullptr;
    mutable int m_rowsRead = 0;
};

}  // namespace kindrel
