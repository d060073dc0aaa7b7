#include "app/pages/islands_page.h"

#include "analysis/island_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "analysis/sort_keys.h"
#include "app/dialogs/list_clip_dialog.h"
#include "app/list_text.h"
#include "app/message_box.h"
#include "app/pages/islands_model.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_model.h"
#include "app/pages/page_metrics.h"
#include "model/collection.h"
#include "services/options.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr const char* kDoubleClickText =
    "Double click on a row to move to 1st individual in island";

}  // namespace

TIslandsPage::TIslandsPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("islandsPage"));
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("islandsCount"));
    m_calculate = new QPushButton(QStringLiteral("Calculate"), this);
    m_calculate->setObjectName(QStringLiteral("islandsCalculate"));
    m_hintLabel = new QLabel(QString::fromLatin1(kDoubleClickText), this);
    m_hintLabel->setObjectName(QStringLiteral("islandsHint"));

    m_islandsModel = new WIslandsModel(context, false, this);
    m_islandsModel->setObjectName(QStringLiteral("islandsModel"));
    m_islandsGrid = new QTableView(this);
    m_islandsGrid->setObjectName(QStringLiteral("islandsGrid"));
    m_islandsGrid->setModel(m_islandsModel);
    m_islandsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_islandsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_islandsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_islandsGrid->setWordWrap(false);
    m_islandsGrid->verticalHeader()->hide();
    m_islandsGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_islandsGrid->verticalHeader()->setDefaultSectionSize(m_islandsGrid->fontMetrics().height() + 6);
    m_islandsGrid->horizontalHeader()->setHighlightSections(false);
    m_islandsGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < m_islandsModel->columnCount(); ++c)
        m_islandsGrid->setColumnWidth(c, Scaled(this, m_islandsModel->ColumnWidth(c)));

    m_membersLabel = new QLabel(this);
    m_membersLabel->setObjectName(QStringLiteral("islandMembersCount"));
    m_columnsButton = new QPushButton(QStringLiteral("Columns"), this);
    m_columnsButton->setObjectName(QStringLiteral("islandColumns"));
    m_members = new WListGrid(context, ColumnSetKind::kIslandMembers, true, this);
    m_members->setObjectName(QStringLiteral("islandMembersGrid"));
    m_members->Model()->setObjectName(QStringLiteral("islandMembersModel"));

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(m_countLabel);
    topRow->addWidget(m_calculate);
    topRow->addSpacing(12);
    topRow->addWidget(m_hintLabel);
    topRow->addStretch(1);
    topLayout->addLayout(topRow);
    topLayout->addWidget(m_islandsGrid, 1);
    auto* bottom = new QWidget(this);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_membersLabel);
    bottomRow->addStretch(1);
    bottomRow->addWidget(m_columnsButton);
    bottomLayout->addLayout(bottomRow);
    bottomLayout->addWidget(m_members, 1);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter, 1);

    connect(m_calculate, &QPushButton::clicked, this, [this] { UpdateIslandsPage(true); });
    connect(m_islandsGrid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        WABSCollection* collection = m_context.Collection();
        const int32_t position = m_islandsModel->PositionAt(i.row());
        if (!collection || position == 0) return;
        m_context.JumpToIndividual(WIslands::Of(*collection).IslandFirstIndividual(position));
    });
    connect(m_islandsGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) SelectIsland(m_islandsModel->PositionAt(current.row()));
            });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { ChooseColumns(); });
    m_islandsGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_islandsGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("islandsMenu"));
        QAction* copy = menu.addAction(QStringLiteral("Copy Islands..."));
        copy->setObjectName(QStringLiteral("islandsMenuCopy"));
        copy->setEnabled(CanPerform(PageCommand::kCopy));
        connect(copy, &QAction::triggered, this, [this] { CopyIslands(); });
        RunContextMenu(menu, m_islandsGrid->viewport()->mapToGlobal(pos));
    });
    m_members->SetRowMenuActions([this](QMenu& menu, int32_t) {
        QAction* columns = menu.addAction(QStringLiteral("Columns..."));
        columns->setObjectName(QStringLiteral("islandMenuColumns"));
        connect(columns, &QAction::triggered, this, [this] { ChooseColumns(); });
        QAction* copy = menu.addAction(QStringLiteral("Copy List..."));
        copy->setObjectName(QStringLiteral("islandMenuCopy"));
        connect(copy, &QAction::triggered, this, [this] { CopyMembers(); });
    });
    m_members->SetHeaderMenuActions([this](QMenu& menu) {
        QAction* columns = menu.addAction(QStringLiteral("Columns..."));
        columns->setObjectName(QStringLiteral("islandMenuColumns"));
        connect(columns, &QAction::triggered, this, [this] { ChooseColumns(); });
    });
    UpdateControls();
}

TIslandsPage::~TIslandsPage() = default;

void TIslandsPage::RefreshPage() {
    if (m_working) return;
    UpdateIslandsPage(false);
    if (m_context.Collection()) m_members->SetReference(m_context.ActiveIndividual());
    m_members->viewport()->update();
}

void TIslandsPage::UpdateIslandsPage(bool force) {
    WABSCollection* collection = m_context.Collection();
    if (collection && !m_context.IsWindowBusy() && !m_working &&
        (force || Options().ReadBool(Opt::CalcIslands))) {
        WIslands& islands = WIslands::Of(*collection);
        if (!islands.IsCalculated()) {
            m_working = true;
            EnsureIslands(this, m_context);
            m_working = false;
            if (islands.IsCalculated()) Q_EMIT islandsChanged();
        }
    }
    ShowCounts();
}

void TIslandsPage::ShowCounts() {
    WABSCollection* collection = m_context.Collection();
    const WIslands* islands = collection ? &WIslands::Of(*collection) : nullptr;
    const bool calculated = islands && islands->IsCalculated();
    m_islandsModel->Refresh();
    m_countLabel->setText(calculated ? QString::fromStdString(IslandsLabel(islands->IslandCount()))
                                     : QString());
    // A remembered island past the count is forgotten.
    if (m_selected > 0 && (!calculated || m_selected > islands->IslandCount())) FreeMembers();
    if (calculated && m_selected > 0 && !m_islandsGrid->currentIndex().isValid())
        m_islandsGrid->setCurrentIndex(m_islandsModel->index(m_selected - 1, 0));
    UpdateControls();
}

void TIslandsPage::UpdateControls() {
    WABSCollection* collection = m_context.Collection();
    const bool calculated = collection && WIslands::Of(*collection).IsCalculated();
    m_calculate->setVisible(!Options().ReadBool(Opt::CalcIslands));
    m_calculate->setEnabled(collection && !calculated);
    m_columnsButton->setEnabled(collection != nullptr);
    Q_EMIT commandsChanged();
}

void TIslandsPage::SelectIsland(int32_t position) {
    WABSCollection* collection = m_context.Collection();
    if (!collection || m_working || m_members->IsSorting() || position == m_selected) return;
    WIslands& islands = WIslands::Of(*collection);
    if (!islands.IsCalculated() || position < 1 || position > islands.IslandCount()) return;
    FreeMembers();
    WListColumns& columns = *m_context.ColumnSet(ColumnSetKind::kIslandMembers);
    m_working = true;
    m_iterator = islands.IslandIterator(position);
    m_selected = m_iterator ? position : 0;
    if (m_iterator) {
        if (ShowsIslandColumn(columns)) EnsureIslands(this, m_context);
        columns.SetReference(m_context.ActiveIndividual());
        // Members of a large island take a moment to sort again.
        RunUnderWait(this, QString::fromLatin1(kSortingMessage), true,
                     [&] { columns.AttachIterator(m_iterator.get()); });
    }
    m_working = false;
    ShowMembers();
    m_islandsGrid->setFocus();
}

void TIslandsPage::ShowMembers() {
    m_members->ShowIterator(m_iterator.get());
    m_membersLabel->setText(
        m_iterator ? QString::fromStdString(IndividualsLabel(m_members->Model()->rowCount()))
                   : QString());
    UpdateControls();
}

void TIslandsPage::FreeMembers() {
    // Detached from the grid and the column set before it is freed.
    m_members->ShowIterator(nullptr);
    if (WListColumns* columns = m_context.ColumnSet(ColumnSetKind::kIslandMembers))
        if (columns->Iterator() == m_iterator.get()) columns->AttachIterator(nullptr);
    m_iterator.reset();
    m_selected = 0;
    m_membersLabel->clear();
}

void TIslandsPage::ForgetCollection() {
    FreeMembers();
    m_islandsGrid->setCurrentIndex({});
    m_islandsModel->Refresh();
    m_countLabel->clear();
}

void TIslandsPage::CollectionAttached() {
    FreeMembers();
    m_islandsModel->Refresh();
    UpdateControls();
}

void TIslandsPage::IslandInUseChanged(bool after) {
    if (after) m_members->viewport()->update();
}

void TIslandsPage::HighlightChanged() {
    m_members->Model()->ValuesChanged();
}

void TIslandsPage::DisplayOptionsChanged() {
    // The members sort by new name and age keys.
    m_members->ResortWithNewKeys();
    m_islandsModel->Refresh();
}

bool TIslandsPage::CanPerform(PageCommand command) const {
    WABSCollection* collection = m_context.Collection();
    if (!collection || m_working || m_members->IsSorting()) return false;
    switch (command) {
        case PageCommand::kCopy:
            return WIslands::Of(*collection).IslandCount() > 0;
        case PageCommand::kColumns:
            return true;
        default:
            return false;
    }
}

bool TIslandsPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    if (command == PageCommand::kCopy) return CopyIslands();
    if (command == PageCommand::kColumns) return ChooseColumns();
    return false;
}

bool TIslandsPage::CopyIslands() {
    WABSCollection* collection = m_context.Collection();
    if (!CanPerform(PageCommand::kCopy)) return false;
    m_working = true;
    const bool copied = RunListCopy(
        this, m_context,
        [collection](bool csv, std::string& out, const std::function<bool(int, int)>& progress) {
            const std::vector<IslandRow> rows =
                BuildIslandRows(*collection, WIslands::Of(*collection), progress);
            if (rows.empty() && WIslands::Of(*collection).IslandCount() > 0) return false;
            out += RenderIslandsText(rows, csv);
            return true;
        });
    m_working = false;
    return copied;
}

bool TIslandsPage::CopyMembers() {
    if (!m_iterator || m_working) return false;
    m_working = true;
    const bool copied = m_members->CopyShownList();
    m_working = false;
    return copied;
}

bool TIslandsPage::ChooseColumns() {
    if (m_working) return false;
    return m_members->ChooseColumns(
        [](const std::string& text) { Options().WriteText(Opt::IslandColumns, text); });
}

}  // namespace kindrel
