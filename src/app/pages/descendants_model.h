// The Descendants grid: a table model over the records of a finished descendant walk (only the
// rows painted are read; nothing is kept per row) and the delegate that draws column 0, the
// indented name with its spouse, each person in their own colours.
#pragma once

#include "app/descendant_rows.h"
#include "app/pages/tab_stop_delegate.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <exception>

namespace kindrel {

class TViewContext;
class WABSCollection;
class WDesIterator;
class WListColumns;

class WDesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // A model without rows whose columns are column 0 and those of the context's "DesList"
    // column set, as it is at each reset. Colours come from the context's highlighter group.
    explicit WDesModel(TViewContext& context, QObject* parent = nullptr);

    // Shows the records of walk (not owned) over collection; both must stay until Clear or the
    // next SetWalk.
    void SetWalk(const WDesIterator* walk, WABSCollection* collection);
    // No rows and no pointers into a collection (the columns are read again).
    void Clear();
    // The column set's columns changed (the rows stay).
    void ColumnsChanged();
    // The header of column 0.
    void SetHeaderText(const QString& text);
    QString HeaderText() const { return m_header; }

    // The walk shown, or null.
    const WDesIterator* Walk() const { return m_walk; }
    // The parts of a row's column 0 (empty for an invalid row).
    DescendantRow Row(int row) const;
    // The individual of a row, 0 for none.
    int32_t IndividualAt(int row) const;
    // A row as text: column 0 and every column's value, separated by tabs (a value's own tabs
    // become blanks).
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  Q_SIGNALS:
    // Reading a record failed (the reader's message); emitted once per walk shown. Connect it
    // queued: it can come from inside a paint.
    void readFailed(const QString& message);

  private:
    QString CellText(int row, int column) const;
    // The column set (null before the window has made it). Only rows read it: headers are
    // copied at each reset, so a model without rows never touches it (the window frees its
    // column sets before its child widgets).
    WListColumns* Columns() const;
    void ReadColumns();
    // Records a reader failure: empty texts from now on, and one readFailed.
    void Failed(const std::exception& error) const;

    TViewContext& m_context;
    const WDesIterator* m_walk = nullptr;
    WABSCollection* m_collection = nullptr;
    int m_rows = 0;
    int m_columnCount = 1;  // column 0 and the set's columns at the last reset
    QStringList m_headers;  // of columns 1 ..
    QString m_headerHint;
    mutable bool m_failed = false;
    QString m_header;
};

// Draws column 0 of the Descendants grid: the indent (indent x generation pixels), the
// generation number, the name in the person's colours, then "(DUPLICATED)" on aqua, or " + "
// and the spouse in the spouse's colours and " [k of n]". Other columns go to the tab-stop
// delegate's drawing. Selected rows are framed.
class WDesNameDelegate : public WTabStopDelegate {
    Q_OBJECT
  public:
    WDesNameDelegate(TViewContext& context, const WDesModel& model, QObject* parent = nullptr);

    // Pixels of indent per generation.
    void SetIndent(int pixels) { m_indent = pixels; }
    int Indent() const { return m_indent; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    TViewContext& m_context;
    const WDesModel& m_model;
    int m_indent = 8;
};

}  // namespace kindrel
