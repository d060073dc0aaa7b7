// The Individual page's grid: a table model over an individual's event rows (columns N, S,
// Type, Date, Information, Age) and the delegate that draws them the way the page does:
// Information in the row's colours, silver separators, the current row framed in black.
#pragma once

#include "app/event_rows.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <vector>

namespace kindrel {

class WHLGroup;

class WEventRowModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The columns, in order.
    enum Column : int { kNotes = 0, kSources, kType, kDate, kInformation, kAge, kColumnCount };

    explicit WEventRowModel(QObject* parent = nullptr);

    // Replaces every row (a model reset).
    void SetRows(std::vector<WEventRow> rows);
    // The rows shown (the grid shows one empty row more when there are none).
    const std::vector<WEventRow>& Rows() const { return m_rows; }
    // Row i, or null for the empty row and out of range.
    const WEventRow* Row(int i) const;
    // Every row's colours again from its link (highlighting changed); repaints Information.
    void Recolour(WHLGroup* group);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<WEventRow> m_rows;
};

// Paints a cell of the event grid: its own background (no selection fill, so highlight
// colours stay visible), a silver line under every row and black lines framing the current
// row.
class WEventRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace kindrel
