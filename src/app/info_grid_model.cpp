#include "app/info_grid_model.h"

#include <QApplication>
#include <QPainter>

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

void WTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QList<int> offsets = index.data(WInfoGridModel::kTabOffsetsRole).value<QList<int>>();
    const QString value = index.data(Qt::DisplayRole).toString();
    if (offsets.isEmpty() || !value.contains(QLatin1Char('\t'))) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Background and selection as usual, then each part at its offset.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(option.state & QStyle::State_Selected
                        ? option.palette.color(QPalette::HighlightedText)
                        : option.palette.color(QPalette::Text));
    const QStringList parts = value.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        const int x = i == 0 ? 3 : (i - 1 < offsets.size() ? offsets[i - 1] : -1);
        if (x < 0) break;
        QRect cell = option.rect.adjusted(x, 0, 0, 0);
        painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts[i]);
    }
    painter->restore();
}

}  // namespace kindrel
