// A two-column grid model over information rows (label, value), used by the General page's
// statistics, header and submitter grids (drawn by WTabStopDelegate).
#pragma once

#include "app/general_rows.h"
#include "app/pages/tab_stop_delegate.h"

#include <QAbstractTableModel>

#include <vector>

namespace kindrel {

class WInfoGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The role that answers a value's tab offsets (QList<int>, empty for plain values).
    static constexpr int kTabOffsetsRole = WTabStopDelegate::kTabOffsetsRole;

    // A grid with the two column headers ("Stats"/"Description", "Info"/"Description").
    WInfoGridModel(const QString& labelHeader, const QString& valueHeader,
                   QObject* parent = nullptr);

    // Replaces every row.
    void SetRows(std::vector<InfoRow> rows);
    // The rows shown.
    const std::vector<InfoRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    QString m_headers[2];
    std::vector<InfoRow> m_rows;
};

}  // namespace kindrel
