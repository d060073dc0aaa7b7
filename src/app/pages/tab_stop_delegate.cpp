#include "app/pages/tab_stop_delegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kindrel {

WTabStopDelegate::WTabStopDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QList<int> WTabStopDelegate::TabOffsets(const QModelIndex& index) const {
    QList<int> offsets =
        m_offsets ? m_offsets(index) : index.data(kTabOffsetsRole).value<QList<int>>();
    if (m_scale != 1.0)
        for (int& offset : offsets) offset = static_cast<int>(std::lround(offset * m_scale));
    return offsets;
}

QStyleOptionViewItem WTabStopDelegate::WithoutSelection(const QStyleOptionViewItem& option) {
    QStyleOptionViewItem plain = option;
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    return plain;
}

void WTabStopDelegate::DrawSelectionFrame(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) {
    painter->save();
    painter->setPen(QPen(Qt::black, 1));
    const QRect r = option.rect;
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == 0) painter->drawLine(r.topLeft(), r.bottomLeft());
    painter->restore();
}

void WTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool framed = m_frameSelection && (option.state & QStyle::State_Selected);
    const QStyleOptionViewItem base = framed ? WithoutSelection(option) : option;
    const QString value = index.data(Qt::DisplayRole).toString();
    const QList<int> offsets = value.contains(QLatin1Char('\t')) ? TabOffsets(index) : QList<int>();
    if (offsets.isEmpty()) {
        QStyledItemDelegate::paint(painter, base, index);
    } else {
        // Background (the cell's, or the selection) as usual, then each part at its offset in
        // the cell's text colour.
        QStyleOptionViewItem cell = base;
        initStyleOption(&cell, index);
        cell.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        const bool selected = cell.state & QStyle::State_Selected;
        painter->save();
        painter->setClipRect(option.rect);
        painter->setFont(cell.font);
        painter->setPen(cell.palette.color(QPalette::Active,
                                           selected ? QPalette::HighlightedText : QPalette::Text));
        const QStringList parts = value.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const int x = i == 0 ? kTextMargin : (i - 1 < offsets.size() ? offsets[i - 1] : -1);
            if (x < 0) break;  // more parts than offsets: the rest is not drawn
            // A part ends where the next one starts.
            int right = option.rect.width();
            if (i + 1 < parts.size() && i < offsets.size())
                right = std::max(x, static_cast<int>(offsets[i]));
            const QRect partRect(option.rect.left() + x, option.rect.top(), right - x,
                                 option.rect.height());
            painter->drawText(partRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              parts[i]);
        }
        painter->restore();
    }
    if (framed) DrawSelectionFrame(painter, option, index);
}

}  // namespace kindrel
