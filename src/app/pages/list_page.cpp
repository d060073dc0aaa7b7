#include "app/pages/list_page.h"

#include "analysis/collection_iterator.h"
#include "analysis/list_columns.h"
#include "analysis/sort_keys.h"
#include "app/app_texts.h"
#include "app/list_text.h"
#include "app/message_box.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_model.h"
#include "app/quick_find_hook.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "services/options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr const char* kCalculatingText = "Calculating.  Please Wait...";
// How often a refresh that finds the window busy looks again.
constexpr int kBusyRetryMs = 50;

}  // namespace

TListPage::TListPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("listPage"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("listCount"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setMinimumWidth(140);
    m_findInList = new QCheckBox(QStringLiteral("Move to Active Individual in List"), this);
    m_findInList->setObjectName(QStringLiteral("listFindInList"));
    m_columnsButton = new QPushButton(QStringLiteral("Columns"), this);
    m_columnsButton->setObjectName(QStringLiteral("listColumns"));
    m_quickFindButton = new QPushButton(QStringLiteral("Quick Find"), this);
    m_quickFindButton->setObjectName(QStringLiteral("listQuickFind"));
    m_grid = new WListGrid(context, ColumnSetKind::kList, true, this);
    m_grid->setObjectName(QStringLiteral("listGrid"));
    m_grid->Model()->setObjectName(QStringLiteral("listModel"));

    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    controls->addWidget(m_label);
    controls->addWidget(m_findInList);
    controls->addStretch(1);
    controls->addWidget(m_quickFindButton);
    controls->addWidget(m_columnsButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(controls);
    layout->addWidget(m_grid, 1);

    {
        const QSignalBlocker quiet(m_findInList);
        m_findInList->setChecked(Options().ReadBool(Opt::FindInList));
    }
    connect(m_findInList, &QCheckBox::toggled, this, [this](bool on) {
        Options().WriteBool(Opt::FindInList, on);
        if (on) SelectActive();
    });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { ChooseColumns(); });
    connect(m_quickFindButton, &QPushButton::clicked, this, [this] { QuickFind(); });
    connect(m_grid, &WListGrid::sorted, this, [this] {
        if (m_findInList->isChecked()) SelectActive();
        RunDeferred();
    });
    m_grid->SetRowMenuActions([this](QMenu& menu, int32_t) {
        if (QuickFindHook()) {
            QAction* find = menu.addAction(QStringLiteral("Quick Find..."));
            find->setObjectName(QStringLiteral("listMenuQuickFind"));
            connect(find, &QAction::triggered, this, [this] { QuickFind(); });
        }
        QAction* columns = menu.addAction(QStringLiteral("Columns..."));
        columns->setObjectName(QStringLiteral("listMenuColumns"));
        connect(columns, &QAction::triggered, this, [this] { ChooseColumns(); });
        QAction* copy = menu.addAction(QStringLiteral("Copy List..."));
        copy->setObjectName(QStringLiteral("listMenuCopy"));
        connect(copy, &QAction::triggered, this, [this] { CopyList(); });
    });
    m_grid->SetHeaderMenuActions([this](QMenu& menu) {
        QAction* columns = menu.addAction(QStringLiteral("Columns..."));
        columns->setObjectName(QStringLiteral("listMenuColumns"));
        connect(columns, &QAction::triggered, this, [this] { ChooseColumns(); });
    });
    UpdateControls();
}

// The window frees its column sets before its pages and tells every page to let go first.
TListPage::~TListPage() = default;

WColSortIterator* TListPage::ShownIterator() const {
    return m_highlighted ? m_highlightedIterator.get() : m_listIterator.get();
}

void TListPage::TabShown(int tab) {
    const bool highlighted = tab == kTabHighlighted;
    if (highlighted == m_highlighted) return;
    m_highlighted = highlighted;
    m_grid->Model()->SetColoured(!highlighted);
}

void TListPage::RunDeferred() {
    if (!m_refreshAgain) return;
    m_refreshAgain = false;
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) RefreshPage();
    });
}

void TListPage::RefreshPage() {
    if (m_working || m_grid->IsSorting()) {
        m_refreshAgain = true;
        return;
    }
    WABSCollection* collection = m_context.Collection();
    if (!collection) {
        SetEmpty();
        return;
    }
    if (m_context.IsWindowBusy()) {
        // Long work of the window runs: build once it has ended.
        QTimer::singleShot(kBusyRetryMs, this, [this] {
            if (isVisible()) RefreshPage();
        });
        return;
    }
    WListColumns& columns = *m_context.ColumnSet(ColumnSetKind::kList);
    m_grid->SetReference(m_context.ActiveIndividual());
    if (ShowsIslandColumn(columns)) EnsureIslands(this, m_context);
    if (m_highlighted ? m_highlightedStale : m_listStale) Rebuild();
    WColSortIterator* iterator = ShownIterator();
    if (iterator && columns.Iterator() != iterator) {
        m_working = true;
        RunUnderWait(this, QString::fromLatin1(kSortingMessage), true,
                     [&] { columns.AttachIterator(iterator); });
        m_working = false;
        m_resortShown = false;  // attaching sorted it by the new keys
    }
    if (m_grid->Model()->Iterator() != iterator)
        m_grid->ShowIterator(iterator);
    else
        m_grid->UpdateSortIndicator();
    if (m_resortShown && iterator) {
        m_resortShown = false;
        m_grid->ResortWithNewKeys();
    }
    m_grid->viewport()->update();
    if (m_highlighted && Options().ReadBool(Opt::ShowHlPanel)) Q_EMIT highlightingPanelWanted();
    ShowRows();
    RunDeferred();
}

void TListPage::Rebuild() {
    WListColumns& columns = *m_context.ColumnSet(ColumnSetKind::kList);
    // Nothing may point at the iterator that is replaced.
    m_grid->ShowIterator(nullptr);
    columns.AttachIterator(nullptr);
    m_working = true;
    if (m_highlighted)
        BuildHighlightedIterator();
    else
        BuildListIterator();
    m_working = false;
}

void TListPage::BuildListIterator() {
    WABSCollection* collection = m_context.Collection();
    WListColumns& columns = *m_context.ColumnSet(ColumnSetKind::kList);
    m_listIterator.reset();
    m_listIterator = std::make_unique<WColSortIterator>(std::string(), collection,
                                                        collection->ViewCount());
    ++m_listBuilds;
    m_listStale = false;
    const bool sortFirst = Options().ReadBool(Opt::SortFirstColumn) && columns.ColumnCount() > 0;
    if (sortFirst) columns.ClearSort();
    RunUnderWait(this, QString::fromLatin1(kSortingMessage), true, [&] {
        columns.AttachIterator(m_listIterator.get());
        if (sortFirst) columns.SortByColumn(1);
    });
}

void TListPage::BuildHighlightedIterator() {
    WABSCollection* collection = m_context.Collection();
    WListColumns& columns = *m_context.ColumnSet(ColumnSetKind::kList);
    m_highlightedIterator.reset();
    m_highlightedStale = false;
    WHLGroup* group = m_context.Highlighter();
    if (!group) return;
    ++m_highlightedBuilds;
    RunUnderWait(this, QString::fromLatin1(kCalculatingText), false, [&] {
        m_highlightedIterator = CreateHLIterator(std::string(), group, collection);
    });
    RunUnderWait(this, QString::fromLatin1(kSortingMessage), true,
                 [&] { columns.AttachIterator(m_highlightedIterator.get()); });
}

void TListPage::ShowRows() {
    const WColSortIterator* iterator = ShownIterator();
    m_label->setText(iterator ? QString::fromStdString(IndividualsLabel(m_grid->Model()->rowCount()))
                              : QString());
    if (m_findInList->isChecked()) SelectActive();
    UpdateControls();
}

void TListPage::SelectActive() {
    const int32_t active = m_context.ActiveIndividual();
    if (active > 0) m_grid->SelectIndividual(active);
}

void TListPage::SetEmpty() {
    m_grid->ShowIterator(nullptr);
    m_label->clear();
    UpdateControls();
}

void TListPage::UpdateControls() {
    const bool open = m_context.Collection() != nullptr;
    m_columnsButton->setEnabled(open);
    m_quickFindButton->setEnabled(open && ShownIterator() && bool(QuickFindHook()));
    m_quickFindButton->setVisible(bool(QuickFindHook()));
    Q_EMIT commandsChanged();
}

void TListPage::ForgetCollection() {
    if (WListColumns* columns = m_context.ColumnSet(ColumnSetKind::kList)) columns->AttachIterator(nullptr);
    m_grid->ShowIterator(nullptr);
    m_listIterator.reset();
    m_highlightedIterator.reset();
    m_listStale = m_highlightedStale = true;
    m_label->clear();
}

void TListPage::CollectionAttached() {
    m_listStale = m_highlightedStale = true;
    m_grid->SetReference(0);
    SetEmpty();
}

void TListPage::HighlightChanged() {
    m_highlightedStale = true;
    m_grid->Model()->ValuesChanged();
    if (isVisible() && m_highlighted) RefreshPage();
}

void TListPage::DisplayOptionsChanged() {
    // Names and ages read differently now: both lists sort by new keys, the one shown when the
    // page is next refreshed, the other when it is attached again.
    if (m_listIterator) m_listIterator->ForgetSort();
    if (m_highlightedIterator) m_highlightedIterator->ForgetSort();
    m_resortShown = true;
    m_grid->Model()->ValuesChanged();
    if (isVisible()) RefreshPage();
}

bool TListPage::CanPerform(PageCommand command) const {
    if (m_working || m_grid->IsSorting() || !m_context.Collection()) return false;
    switch (command) {
        case PageCommand::kCopy:
            return ShownIterator() != nullptr;
        case PageCommand::kColumns:
            return true;
        default:
            return false;
    }
}

bool TListPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    switch (command) {
        case PageCommand::kCopy:
            return CopyList();
        case PageCommand::kColumns:
            return ChooseColumns();
        default:
            return false;
    }
}

bool TListPage::CopyList() {
    if (m_working) return false;
    m_working = true;
    const bool copied = m_grid->CopyShownList();
    m_working = false;
    RunDeferred();
    return copied;
}

bool TListPage::ChooseColumns() {
    if (m_working) return false;
    return m_grid->ChooseColumns([](const std::string& text) { Options().WriteListColumns(text); });
}

bool TListPage::QuickFind() {
    if (!QuickFindHook() || !ShownIterator() || m_working || m_grid->IsSorting()) return false;
    int32_t start = m_grid->CurrentIndividual();
    if (start == 0) start = 1;
    const int32_t found = QuickFindHook()(this, m_context, start);
    if (found <= 0) return false;
    if (!m_grid->SelectIndividual(found)) return false;
    return true;
}

}  // namespace kindrel
