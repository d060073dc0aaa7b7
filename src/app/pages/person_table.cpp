#include "app/pages/person_table.h"

#include "app/view_page.h"
#include "model/collection.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace kindrel {

namespace {

std::function<void(QMenu&)>& MenuHandler() {
    static std::function<void(QMenu&)> handler;
    return handler;
}

}  // namespace

void SetContextMenuTestHandler(std::function<void(QMenu&)> handler) {
    MenuHandler() = std::move(handler);
}

void RunContextMenu(QMenu& menu, const QPoint& globalPos) {
    if (MenuHandler()) {
        MenuHandler()(menu);
        return;
    }
    menu.exec(globalPos);
}

void ShowPersonMenu(QWidget* owner, const QPoint& globalPos, TViewContext& context,
                    int32_t individual, const QString& copyText,
                    const std::function<void(QMenu&)>& extend) {
    QMenu menu(owner);
    menu.setObjectName(QStringLiteral("personMenu"));
    WABSCollection* collection = context.Collection();
    if (collection && individual > 0 && individual <= collection->IndividualCount()) {
        // A menu item's "&" would become a mnemonic; names keep theirs.
        QString name = QString::fromStdString(collection->DisplayNameOf(individual));
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* go = menu.addAction(QStringLiteral("Go to ") + name);
        go->setObjectName(QStringLiteral("goToPerson"));
        QObject::connect(go, &QAction::triggered, owner,
                         [&context, individual] { context.JumpToIndividual(individual); });
    }
    if (!copyText.isEmpty()) {
        QAction* copy = menu.addAction(QStringLiteral("Copy"));
        copy->setObjectName(QStringLiteral("copyPerson"));
        QObject::connect(copy, &QAction::triggered, owner,
                         [copyText] { QGuiApplication::clipboard()->setText(copyText); });
    }
    if (extend) extend(menu);
    if (menu.isEmpty()) return;
    RunContextMenu(menu, globalPos);
}

WPersonTable::WPersonTable(TViewContext& context, QWidget* parent)
    : QTableView(parent), m_context(context) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows are all one height: a million-row model then costs only the rows painted.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(this, &QAbstractItemView::doubleClicked, this, &WPersonTable::Activate);
}

int32_t WPersonTable::PersonAt(const QModelIndex& index) const {
    return index.isValid() && m_personAt ? m_personAt(index) : 0;
}

QString WPersonTable::RowText(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    if (m_rowText) return m_rowText(index);
    QStringList cells;
    const QAbstractItemModel* m = model();
    for (int c = 0; c < m->columnCount(); ++c)
        cells << m->index(index.row(), c).data(Qt::DisplayRole).toString();
    return cells.join(QLatin1Char('\t')).trimmed();
}

void WPersonTable::Activate(const QModelIndex& index) {
    if (!index.isValid()) return;
    if (const int32_t n = PersonAt(index)) m_context.JumpToIndividual(n);
    Q_EMIT rowActivated(index);
}

void WPersonTable::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        Activate(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void WPersonTable::contextMenuEvent(QContextMenuEvent* event) {
    QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid()) index = currentIndex();
    if (!index.isValid()) return;
    setCurrentIndex(index);
    std::function<void(QMenu&)> extend;
    if (m_extendMenu) extend = [this, index](QMenu& menu) { m_extendMenu(menu, index); };
    ShowPersonMenu(this, event->globalPos(), m_context, PersonAt(index), RowText(index), extend);
}

}  // namespace kindrel
