#include "app/pages/islands_model.h"

#include "analysis/islands.h"
#include "app/app_texts.h"
#include "app/view_page.h"
#include "model/collection.h"

#include <QColor>

namespace kindrel {

namespace {

constexpr const char* kTabHeaders[] = {"  #", "# Inds", "# Fams", "1st individual in Island"};
constexpr int kTabWidths[] = {40, 60, 60, 450};
constexpr const char* kPanelHeaders[] = {" #", "Ind", "Fam"};
constexpr int kPanelWidths[] = {35, 40, 40};

// The tables of the collection when they can be read now, else null.
WIslands* ReadableIslands(TViewContext& context) {
    WABSCollection* collection = context.Collection();
    if (!collection || collection->IsBusy()) return nullptr;
    WIslands& islands = WIslands::Of(*collection);
    return islands.IsCalculated() ? &islands : nullptr;
}

}  // namespace

WIslandsModel::WIslandsModel(TViewContext& context, bool compact, QObject* parent)
    : QAbstractTableModel(parent), m_context(context), m_compact(compact) {}

void WIslandsModel::Refresh() {
    const WIslands* islands = ReadableIslands(m_context);
    const int rows = islands ? islands->IslandCount() : 0;
    if (rows == m_rows) {
        if (m_rows > 0) Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int32_t WIslandsModel::PositionAt(int row) const {
    return row >= 0 && row < m_rows ? row + 1 : 0;
}

int WIslandsModel::ColumnWidth(int column) const {
    if (column < 0 || column >= columnCount()) return 0;
    return m_compact ? kPanelWidths[column] : kTabWidths[column];
}

int WIslandsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int WIslandsModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return m_compact ? 3 : 4;
}

QVariant WIslandsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole && index.column() < 3)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return {};
    WIslands* islands = ReadableIslands(m_context);
    if (!islands || m_context.IsWindowBusy()) return QString();
    const int32_t position = index.row() + 1;
    if (position > islands->IslandCount()) return QString();
    const auto number = [this](long long value) {
        return QString::fromStdString(m_compact ? std::to_string(value) : FormatCount(value));
    };
    switch (index.column()) {
        case 0:
            return QString::number(position);
        case 1:
            return number(islands->IslandSize(position));
        case 2:
            return number(islands->IslandFamilyCount(position));
        case 3:
            try {
                return QString::fromStdString(m_context.Collection()->DisplayNameOf(
                    islands->IslandFirstIndividual(position)));
            } catch (const std::exception&) {
                return QString();
            }
        default:
            return {};
    }
}

QVariant WIslandsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(m_compact ? kPanelHeaders[section] : kTabHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags WIslandsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace kindrel
