#include "app/info_grid_model.h"

namespace kindrel {

WInfoGridModel::WInfoGridModel(const QString& labelHeader, const QString& valueHeader,
                               QObject* parent)
    : QAbstractTableModel(parent), m_headers{labelHeader, valueHeader} {}

void WInfoGridModel::SetRows(std::vector<InfoRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int WInfoGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int WInfoGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant WInfoGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const InfoRow& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: {
            if (index.column() == 0) return QString::fromStdString(row.label);
            QString value = QString::fromStdString(row.value);
            // Multi-line values (an address) read on one line in the grid.
            if (role == Qt::DisplayRole) value.replace(QLatin1String("\r\n"), QLatin1String(", "));
            return value;
        }
        case kTabOffsetsRole: {
            if (index.column() != 1) return {};
            QList<int> offsets(row.tabOffsets.begin(), row.tabOffsets.end());
            return QVariant::fromValue(offsets);
        }
        default:
            return {};
    }
}

QVariant WInfoGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < 2 ? m_headers[section] : QVariant();
    return section + 1;
}

Qt::ItemFlags WInfoGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace kindrel
