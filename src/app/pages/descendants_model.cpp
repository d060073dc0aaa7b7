#include "app/pages/descendants_model.h"

#include "analysis/des_iterator.h"
#include "analysis/list_columns.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "app/view_page.h"

#include <QPainter>

#include <algorithm>

namespace kindrel {

WDesModel::WDesModel(TViewContext& context, QObject* parent)
    : QAbstractTableModel(parent), m_context(context) {}

WListColumns* WDesModel::Columns() const {
    return m_context.DescendantColumns();
}

void WDesModel::ReadColumns() {
    const WListColumns* columns = Columns();
    m_columnCount = columns ? columns->ColumnCount() + 1 : 1;
    m_headers.clear();
    for (int c = 1; c < m_columnCount; ++c) {
        int state = 0;
        m_headers << QString::fromStdString(columns->HeaderText(c, false, state));
    }
    m_headerHint =
        columns ? PlainToolTip(QString::fromStdString(columns->ColumnsText())) : QString();
}

void WDesModel::SetWalk(const WDesIterator* walk, WABSCollection* collection) {
    beginResetModel();
    m_walk = collection ? walk : nullptr;
    m_collection = m_walk ? collection : nullptr;
    m_rows = m_walk ? m_walk->Count() : 0;
    m_failed = false;
    ReadColumns();
    endResetModel();
}

void WDesModel::Clear() {
    SetWalk(nullptr, nullptr);
}

void WDesModel::ColumnsChanged() {
    beginResetModel();
    ReadColumns();
    endResetModel();
}

void WDesModel::SetHeaderText(const QString& text) {
    if (text == m_header) return;
    m_header = text;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

void WDesModel::Failed(const std::exception& error) const {
    if (m_failed) return;
    m_failed = true;
    Q_EMIT const_cast<WDesModel*>(this)->readFailed(QString::fromStdString(error.what()));
}

DescendantRow WDesModel::Row(int row) const {
    if (!m_walk || m_failed || row < 0 || row >= m_rows) return {};
    try {
        return BuildDescendantRow(*m_collection, m_walk->RecordOf(row + 1));
    } catch (const std::exception& error) {
        Failed(error);
        return {};
    }
}

int32_t WDesModel::IndividualAt(int row) const {
    if (!m_walk || row < 0 || row >= m_rows) return 0;
    return m_walk->RecordOf(row + 1).individual;
}

QString WDesModel::CellText(int row, int column) const {
    if (!m_walk || m_failed || row < 0 || row >= m_rows || column < 1 || column >= m_columnCount)
        return {};
    const WDesRecord record = m_walk->RecordOf(row + 1);
    // Marriage-based columns read the family of this entry.
    const int occurrence = std::max<int>(1, record.marriageIndex);
    try {
        return QString::fromStdString(Columns()->CellText(column, record.individual, occurrence));
    } catch (const std::exception& error) {
        Failed(error);
        return {};
    }
}

QString WDesModel::RowText(int row) const {
    if (!m_walk || row < 0 || row >= m_rows) return {};
    QString text = QString::fromStdString(DescendantRowText(Row(row)));
    for (int c = 1; c < m_columnCount; ++c)
        text += QLatin1Char('\t') + CellText(row, c).replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

int WDesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int WDesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant WDesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0)
                return QString::fromStdString(DescendantRowText(Row(index.row())));
            return CellText(index.row(), index.column());
        case WTabStopDelegate::kTabOffsetsRole: {
            const WTabStops* stops = Columns() ? Columns()->TabStops(index.column()) : nullptr;
            if (!stops) return {};
            const int count = std::clamp(stops->count, 0, WTabStops::kMaxStops);
            return QVariant::fromValue(
                QList<int>(stops->offsets.begin(), stops->offsets.begin() + count));
        }
        case Qt::BackgroundRole:
            return QColor(Qt::white);
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return {};
    }
}

QVariant WDesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnCount) return {};
    switch (role) {
        case Qt::DisplayRole: {
            if (section == 0) return m_header;
            return m_headers.value(section - 1);
        }
        case Qt::ToolTipRole:
            return m_headerHint;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

Qt::ItemFlags WDesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

namespace {

// A person's colours; an answer that cannot be read leaves the person plain.
WColourPair ColoursOf(WHLGroup* group, int32_t n) {
    try {
        return PersonColours(group, n);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

WDesNameDelegate::WDesNameDelegate(TViewContext& context, const WDesModel& model, QObject* parent)
    : WTabStopDelegate(parent), m_context(context), m_model(model) {
    SetFrameSelection(true);
}

void WDesNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (index.column() != 0) {
        WTabStopDelegate::paint(painter, option, index);
        return;
    }
    const DescendantRow row = m_model.Row(index.row());
    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    painter->fillRect(cell, Qt::white);
    painter->setFont(option.font);
    const QFontMetrics metrics(option.font);
    // Each part's background covers the height of a line of text, as text drawn in a colour
    // on a grid would.
    const int textTop = cell.top() + (cell.height() - metrics.height()) / 2;
    int x = cell.left() + kTextMargin + m_indent * std::max(0, row.generation);
    WHLGroup* group = m_context.Highlighter();
    const auto draw = [&](const std::string& part, const WColourPair& colours, bool filled) {
        if (part.empty() || x > cell.right()) return;
        const QString text = QString::fromStdString(part);
        const int width = metrics.horizontalAdvance(text);
        const QRect box(x, textTop, width, metrics.height());
        if (filled) painter->fillRect(box, ToQColor(colours.background));
        painter->setPen(ToQColor(colours.text));
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        x += width;
    };
    const WColourPair plain;
    draw(row.lead, plain, false);
    draw(row.name, ColoursOf(group, row.individual), true);
    if (row.duplicate) {
        draw(" ", plain, false);
        draw(kDuplicatedText, {kAquaColour, 0x000000}, true);
    } else {
        if (row.spouse != 0) {
            draw(" + ", plain, false);
            draw(row.spouseName, ColoursOf(group, row.spouse), true);
        }
        draw(row.marriage, plain, false);
    }
    painter->restore();
    if (option.state & QStyle::State_Selected) DrawSelectionFrame(painter, option, index);
}

}  // namespace kindrel
