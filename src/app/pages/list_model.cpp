#include "app/pages/list_model.h"

#include "analysis/collection_iterator.h"
#include "analysis/list_columns.h"
#include "app/pages/tab_stop_delegate.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"

#include <QTimer>

#include <algorithm>

namespace kindrel {

namespace {

// How long queued cells wait while the window is busy.
constexpr int kBusyRetryMs = 50;

int g_dataDepth = 0;

struct DataDepthGuard {
    DataDepthGuard() { ++g_dataDepth; }
    ~DataDepthGuard() { --g_dataDepth; }
};

}  // namespace

WListModel::WListModel(TViewContext& context, ColumnSetKind kind, bool coloured, QObject* parent)
    : QAbstractTableModel(parent), m_context(context), m_kind(kind), m_coloured(coloured) {
    m_fillTimer = new QTimer(this);
    m_fillTimer->setSingleShot(true);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, &WListModel::FillPendingCell);
}

void WListModel::ClearCache() {
    m_cache.clear();
    m_pending.clear();
    m_fillTimer->stop();
}

int WListModel::DataDepth() {
    return g_dataDepth;
}

WListColumns* WListModel::Columns() const {
    return m_context.ColumnSet(m_kind);
}

void WListModel::ReadColumns() {
    const WListColumns* columns = Columns();
    m_columnCount = columns ? columns->ColumnCount() : 0;
    m_headers.clear();
    for (int c = 1; c <= m_columnCount; ++c) {
        int state = 0;
        m_headers << QString::fromStdString(columns->HeaderText(c, false, state));
    }
    m_hint = columns ? PlainToolTip(QString::fromStdString(columns->ColumnsText())) : QString();
}

void WListModel::SetIterator(WColSortIterator* iterator) {
    beginResetModel();
    m_iterator = iterator;
    m_rows = iterator ? iterator->Count() : 0;
    ClearCache();
    m_rowsRead = 0;
    ReadColumns();
    endResetModel();
}

void WListModel::SetColoured(bool coloured) {
    if (coloured == m_coloured) return;
    m_coloured = coloured;
    ValuesChanged();
}

void WListModel::ColumnsChanged() {
    SetIterator(m_iterator);
}

void WListModel::OrderChanged() {
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    ClearCache();
    // Headers name the sort column's state; the rows stay where they are, holding others.
    ReadColumns();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (m_columnCount > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columnCount - 1);
}

void WListModel::ValuesChanged() {
    ClearCache();
    if (m_rows > 0 && m_columnCount > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, m_columnCount - 1));
}

const WListModel::Row& WListModel::RowAt(int row, bool deferred) const {
    const WListColumns* columns = Columns();
    if (const auto found = m_cache.find(row); found != m_cache.end()) {
        Row& entry = found->second;
        if (!deferred) {
            // Everything now, outside a paint (copies, menus).
            for (const int c : entry.missing) {
                try {
                    entry.cells[c] =
                        QString::fromStdString(columns->CellText(c + 1, entry.individual));
                } catch (const std::exception&) {
                    entry.cells[c].clear();
                }
            }
            entry.missing.clear();
        }
        return entry;
    }
    if (m_cache.size() >= static_cast<size_t>(kCacheRows)) {
        m_cache.clear();
        m_pending.clear();
    }
    Row& entry = m_cache[row];
    ++m_rowsRead;
    entry.individual = m_iterator->NumberAt(row + 1);
    for (int c = 1; c <= m_columnCount; ++c) {
        std::string text;
        if (deferred && !columns->CellReady(c, entry.individual)) {
            entry.missing << c - 1;
        } else {
            try {
                text = columns->CellText(c, entry.individual);
            } catch (const std::exception&) {
                // A record that cannot be read shows an empty cell.
            }
        }
        entry.cells << QString::fromStdString(text);
    }
    if (!entry.missing.isEmpty()) {
        m_pending.push_back(row);
        if (!m_fillTimer->isActive()) m_fillTimer->start(0);
    }
    WColourPair colours;
    if (m_coloured) {
        try {
            colours = PersonColours(m_context.Highlighter(), entry.individual);
        } catch (const std::exception&) {
            colours = {};
        }
    }
    entry.background = ToQColor(colours.background);
    entry.text = ToQColor(colours.text);
    return entry;
}

void WListModel::FillPendingCell() {
    if (!m_iterator) {
        m_pending.clear();
        return;
    }
    if (m_context.IsWindowBusy()) {
        // Not under a sort or a load: once it has ended.
        if (!m_pending.empty()) m_fillTimer->start(kBusyRetryMs);
        return;
    }
    while (!m_pending.empty()) {
        const int row = m_pending.front();
        const auto found = m_cache.find(row);
        if (found == m_cache.end() || found->second.missing.isEmpty()) {
            m_pending.pop_front();
            continue;
        }
        Row& entry = found->second;
        const int c = entry.missing.takeFirst();
        try {
            entry.cells[c] = QString::fromStdString(Columns()->CellText(c + 1, entry.individual));
        } catch (const std::exception&) {
            entry.cells[c].clear();
        }
        if (entry.missing.isEmpty()) {
            m_pending.pop_front();
            Q_EMIT dataChanged(index(row, 0), index(row, m_columnCount - 1), {Qt::DisplayRole});
        }
        break;
    }
    if (!m_pending.empty()) m_fillTimer->start(0);
}

int32_t WListModel::IndividualAt(int row) const {
    if (!m_iterator || row < 0 || row >= m_rows) return 0;
    return m_iterator->NumberAt(row + 1);
}

int WListModel::RowOf(int32_t individual) const {
    if (!m_iterator || individual <= 0) return -1;
    const int position = m_iterator->PositionOf(individual);
    return position >= 1 && position <= m_rows ? position - 1 : -1;
}

QString WListModel::CellText(int row, int column) const {
    if (!m_iterator || row < 0 || row >= m_rows || column < 0 || column >= m_columnCount)
        return {};
    return RowAt(row, false).cells.value(column);
}

QString WListModel::RowText(int row) const {
    if (!m_iterator || row < 0 || row >= m_rows) return {};
    QStringList cells;
    for (int c = 0; c < m_columnCount; ++c)
        cells << CellText(row, c).remove(QLatin1Char('\t'));
    return cells.join(QLatin1Char('\t'));
}

int WListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int WListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant WListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DataDepthGuard depth;
    // While the window loads or long work runs under the wait dialog, no row is read.
    const bool readable = m_iterator && !m_context.IsWindowBusy();
    switch (role) {
        case Qt::DisplayRole:
            return readable ? RowAt(index.row(), true).cells.value(index.column()) : QString();
        case Qt::BackgroundRole:
            return readable ? RowAt(index.row(), true).background : QColor(Qt::white);
        case Qt::ForegroundRole:
            return readable ? RowAt(index.row(), true).text : QColor(Qt::black);
        case WTabStopDelegate::kTabOffsetsRole: {
            const WListColumns* columns = Columns();
            const WTabStops* stops = columns ? columns->TabStops(index.column() + 1) : nullptr;
            if (!stops) return {};
            const int count = std::clamp(stops->count, 0, WTabStops::kMaxStops);
            return QVariant::fromValue(
                QList<int>(stops->offsets.begin(), stops->offsets.begin() + count));
        }
        default:
            return {};
    }
}

QVariant WListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnCount) return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_headers.value(section);
        case Qt::ToolTipRole:
            return m_hint;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

Qt::ItemFlags WListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace kindrel
