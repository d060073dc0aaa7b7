#include "app/pages/event_row_model.h"

#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"

#include <QPainter>

namespace kindrel {

namespace {

const char* const kHeaders[WEventRowModel::kColumnCount] = {"N",    "S",           "Type",
                                                            "Date", "Information", "Age"};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

WEventRowModel::WEventRowModel(QObject* parent) : QAbstractTableModel(parent) {}

void WEventRowModel::SetRows(std::vector<WEventRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

const WEventRow* WEventRowModel::Row(int i) const {
    if (i < 0 || i >= static_cast<int>(m_rows.size())) return nullptr;
    return &m_rows[static_cast<size_t>(i)];
}

void WEventRowModel::Recolour(WHLGroup* group) {
    RecolourEventRows(m_rows, group);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, kInformation), index(rowCount() - 1, kInformation),
                           {Qt::BackgroundRole, Qt::ForegroundRole});
}

int WEventRowModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // The grid always has a body row, empty when there is nothing to show.
    return std::max(1, static_cast<int>(m_rows.size()));
}

int WEventRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant WEventRowModel::data(const QModelIndex& index, int role) const {
    const WEventRow* row = index.isValid() ? Row(index.row()) : nullptr;
    if (!row) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            switch (column) {
                case kNotes:
                    return row->notes.empty() ? QString() : QStringLiteral("N");
                case kSources:
                    return row->sources.empty() ? QString() : QStringLiteral("S");
                case kType:
                    return Text(row->type);
                case kDate:
                    return Text(row->date);
                case kInformation:
                    return Text(row->information);
                case kAge:
                    return Text(row->age);
                default:
                    return {};
            }
        case Qt::BackgroundRole:
            if (column == kInformation) return ToQColor(row->background);
            return {};
        case Qt::ForegroundRole:
            if (column == kInformation) return ToQColor(row->text);
            return {};
        case Qt::ToolTipRole:
            // Long texts do not fit their column; file text is never read as markup.
            if (column == kType) return PlainToolTip(Text(row->type));
            if (column == kDate) return PlainToolTip(Text(row->date));
            if (column == kInformation) return PlainToolTip(Text(row->information));
            return {};
        case Qt::TextAlignmentRole:
            if (column == kNotes || column == kSources) return static_cast<int>(Qt::AlignCenter);
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant WEventRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(section <= kSources ? Qt::AlignCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags WEventRowModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void WEventRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    const bool current = (option.state & QStyle::State_Selected) != 0;
    // The row's own colours show through the selection; the frame marks it instead.
    cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const QVariant background = index.data(Qt::BackgroundRole);
    painter->fillRect(option.rect, background.isValid() ? background.value<QColor>()
                                                        : option.palette.color(QPalette::Base));
    QStyledItemDelegate::paint(painter, cell, index);

    const QRect r = option.rect;
    painter->save();
    painter->setPen(ToQColor(kSilverColour));
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    if (current) {
        painter->setPen(Qt::black);
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (index.column() == 0) painter->drawLine(r.topLeft(), r.bottomLeft());
        if (index.column() == index.model()->columnCount() - 1)
            painter->drawLine(r.topRight(), r.bottomRight());
    }
    painter->restore();
}

}  // namespace kindrel
