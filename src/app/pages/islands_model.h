// The islands table of the Islands tab and of the left panel's Islands page: one row per island
// in size order (the largest first), read from the collection's island tables when painted.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>

namespace kindrel {

class TViewContext;

class WIslandsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The tab's four columns ("  #", "# Inds", "# Fams", "1st individual in Island") with
    // counts formatted with separators, or the panel's three (" #", "Ind", "Fam") with plain
    // numbers (compact).
    WIslandsModel(TViewContext& context, bool compact, QObject* parent = nullptr);

    // Reads the island count again (no rows while the islands are not calculated).
    void Refresh();
    // The island position of a row (row + 1), 0 for none.
    int32_t PositionAt(int row) const;
    // The widths of the columns in pixels at 96 dpi.
    int ColumnWidth(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    TViewContext& m_context;
    bool m_compact;
    int m_rows = 0;
};

}  // namespace kindrel
