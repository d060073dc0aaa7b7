#include "app/selection_button.h"

#include <QKeyEvent>
#include <QMenu>

namespace kindrel {

WSelectionButton::WSelectionButton(QWidget* parent) : QToolButton(parent) {
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("selectionMenu"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::clicked, this, &WSelectionButton::ShowMenu);
}

void WSelectionButton::SetItemString(const QString& items) {
    QStringList list;
    for (const QString& item : items.split(QLatin1Char(';')))
        if (!item.isEmpty()) list << item;
    SetItems(list);
}

void WSelectionButton::SetItems(const QStringList& items) {
    m_items = items;
    Rebuild();
    if (m_selected > m_tagCount) m_selected = 0;
    SetSelectedItem(m_selected);
}

void WSelectionButton::Rebuild() {
    m_menu->clear();
    m_tagCount = 0;
    for (const QString& item : m_items) {
        if (item.isEmpty()) continue;
        if (item == QLatin1String("-")) {
            m_menu->addSeparator();
            continue;
        }
        const int tag = ++m_tagCount;
        // "&" would mark a shortcut letter; the text is shown as written.
        QString shown = item;
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = m_menu->addAction(shown);
        action->setData(tag);
        connect(action, &QAction::triggered, this, [this, tag] { ChooseItem(tag); });
    }
}

QString WSelectionButton::ItemText(int tag) const {
    int t = 0;
    for (const QString& item : m_items) {
        if (item.isEmpty() || item == QLatin1String("-")) continue;
        if (++t == tag) return item;
    }
    return {};
}

void WSelectionButton::SetSelectedItem(int tag) {
    m_selected = tag >= 1 && tag <= m_tagCount ? tag : 0;
    if (m_updateCaption && m_selected > 0) {
        QString shown = ItemText(m_selected);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        setText(shown);
    }
}

bool WSelectionButton::ChooseItem(int tag) {
    if (tag < 1 || tag > m_tagCount) return false;
    SetSelectedItem(tag);
    Q_EMIT itemChanged(tag);
    return true;
}

void WSelectionButton::ShowMenu() {
    Q_EMIT beforeShow();
    if (m_menu->isEmpty()) return;
    m_menu->popup(mapToGlobal(QPoint(0, 0)));
}

void WSelectionButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        ShowMenu();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}

}  // namespace kindrel
