#include "app/dialogs/list_columns_dialog.h"

#include "analysis/attrib.h"
#include "analysis/list_columns.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kindrel {

namespace {

constexpr int kCodeRole = Qt::UserRole;

QString CountText(const QListWidget* list) {
    return QString::number(list->count()) + QStringLiteral(" Items");
}

int CodeOf(const QListWidgetItem* item) {
    return item ? item->data(kCodeRole).toInt() : 0;
}

std::vector<int> CodesOf(const QListWidget* list) {
    std::vector<int> codes;
    for (int i = 0; i < list->count(); ++i) codes.push_back(CodeOf(list->item(i)));
    return codes;
}

// The row of a list's selected item, -1 without one.
int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

QListWidget* MakeList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(210, 300);
    return list;
}

QToolButton* MakeButton(const char* name, const QString& text, const char* hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(QString::fromLatin1(hint));
    button->setMinimumSize(36, 28);
    return button;
}

}  // namespace

TdlgListColumns::TdlgListColumns(const WListColumns& columns, QWidget* parent)
    : QDialog(parent), m_columns(columns) {
    setObjectName(QStringLiteral("listColumnsDialog"));
    setWindowTitle(QStringLiteral("List Columns"));

    m_master = MakeList("masterList", this);
    m_displayed = MakeList("displayedList", this);
    m_masterCount = new QLabel(this);
    m_masterCount->setObjectName(QStringLiteral("masterCount"));
    m_displayedCount = new QLabel(this);
    m_displayedCount->setObjectName(QStringLiteral("displayedCount"));

    m_right = MakeButton("moveRight", QStringLiteral(">"), "Move column to the right", this);
    m_allRight =
        MakeButton("moveAllRight", QStringLiteral(">>"), "Move all columns to the right", this);
    m_left = MakeButton("moveLeft", QStringLiteral("<"), "Move column to the left", this);
    m_allLeft =
        MakeButton("moveAllLeft", QStringLiteral("<<"), "Move all columns to the left", this);
    auto* up = MakeButton("moveUp", QString(), "Move column up in list", this);
    up->setArrowType(Qt::UpArrow);
    auto* down = MakeButton("moveDown", QString(), "Move column down in list", this);
    down->setArrowType(Qt::DownArrow);
    m_up = up;
    m_down = down;

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("listColumnsButtons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("listColumnsOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("listColumnsCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Master List"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Columns Displayed"), this), 0, 2);
    grid->addWidget(m_master, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QAbstractButton* button : {m_right, m_allRight, m_left, m_allLeft})
        moves->addWidget(button);
    moves->addStretch();
    grid->addLayout(moves, 1, 1);
    grid->addWidget(m_displayed, 1, 2);
    auto* order = new QVBoxLayout;
    order->addStretch();
    order->addWidget(m_up);
    order->addWidget(m_down);
    order->addStretch();
    grid->addLayout(order, 1, 3);
    grid->addWidget(m_masterCount, 2, 0);
    grid->addWidget(m_displayedCount, 2, 2);
    grid->addWidget(buttons, 3, 0, 1, 4);

    // The columns shown; a code without attribute or seen before is left out.
    std::vector<bool> seen(kLastColumnCode + 1, false);
    for (int i = 1; i <= columns.ColumnCount(); ++i) {
        const int code = columns.ColumnCode(i);
        if (code < kFirstColumnCode || code > kLastColumnCode || seen[size_t(code)]) continue;
        seen[size_t(code)] = true;
        m_displayed->addItem(MakeItem(code));
    }
    RefillMaster(-1);

    connect(m_right, &QAbstractButton::clicked, this, &TdlgListColumns::MoveRight);
    connect(m_allRight, &QAbstractButton::clicked, this, &TdlgListColumns::MoveAllRight);
    connect(m_left, &QAbstractButton::clicked, this, &TdlgListColumns::MoveLeft);
    connect(m_allLeft, &QAbstractButton::clicked, this, &TdlgListColumns::MoveAllLeft);
    connect(m_up, &QAbstractButton::clicked, this, &TdlgListColumns::MoveUp);
    connect(m_down, &QAbstractButton::clicked, this, &TdlgListColumns::MoveDown);
    connect(m_master, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_master->setCurrentItem(item);
        MoveRight();
    });
    connect(m_displayed, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_displayed->setCurrentItem(item);
        MoveLeft();
    });
    connect(m_master, &QListWidget::itemSelectionChanged, this, &TdlgListColumns::UpdateState);
    connect(m_displayed, &QListWidget::itemSelectionChanged, this, &TdlgListColumns::UpdateState);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateState();
}

QListWidgetItem* TdlgListColumns::MakeItem(int code) const {
    auto* item = new QListWidgetItem(QString::fromStdString(m_columns.CodeHeaderText(code, true)));
    item->setData(kCodeRole, code);
    return item;
}

void TdlgListColumns::RefillMaster(int keepRow) {
    const std::vector<int> displayed = DisplayedCodes();
    m_master->clear();
    for (int p = 1; p <= kLastColumnCode; ++p) {
        const int code = WListColumns::CodeAtDisplayPosition(p);
        if (code == 0 || std::find(displayed.begin(), displayed.end(), code) != displayed.end())
            continue;
        m_master->addItem(MakeItem(code));
    }
    if (keepRow >= 0 && m_master->count() > 0)
        m_master->setCurrentRow(std::min(keepRow, m_master->count() - 1));
}

void TdlgListColumns::SelectAfterRemoval(QListWidget* list, int row) {
    if (list->count() == 0) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return;
    }
    list->setCurrentRow(std::min(row, list->count() - 1));
}

std::string TdlgListColumns::ColumnsText() const {
    std::string text;
    for (const int code : DisplayedCodes()) {
        if (!text.empty()) text += ",";
        text += std::to_string(code);
    }
    return text;
}

std::vector<int> TdlgListColumns::MasterCodes() const {
    return CodesOf(m_master);
}

std::vector<int> TdlgListColumns::DisplayedCodes() const {
    return CodesOf(m_displayed);
}

void TdlgListColumns::MoveRight() {
    const int row = SelectedRow(m_master);
    if (row < 0) return;
    m_displayed->addItem(m_master->takeItem(row));
    SelectAfterRemoval(m_master, row);
    UpdateState();
}

void TdlgListColumns::MoveAllRight() {
    while (m_master->count() > 0) m_displayed->addItem(m_master->takeItem(0));
    SelectAfterRemoval(m_master, 0);
    UpdateState();
}

void TdlgListColumns::MoveLeft() {
    const int row = SelectedRow(m_displayed);
    if (row < 0) return;
    delete m_displayed->takeItem(row);
    RefillMaster(SelectedRow(m_master));
    SelectAfterRemoval(m_displayed, row);
    UpdateState();
}

void TdlgListColumns::MoveAllLeft() {
    m_displayed->clear();
    RefillMaster(SelectedRow(m_master));
    SelectAfterRemoval(m_displayed, 0);
    UpdateState();
}

void TdlgListColumns::SwapDisplayed(int row, int other) {
    if (row < 0 || other < 0 || other >= m_displayed->count()) return;
    const int first = std::min(row, other);
    QListWidgetItem* item = m_displayed->takeItem(first + 1);
    m_displayed->insertItem(first, item);
    // The moved column stays selected, so repeated moves carry it along.
    m_displayed->setCurrentRow(other);
    UpdateState();
}

void TdlgListColumns::MoveUp() {
    const int row = SelectedRow(m_displayed);
    SwapDisplayed(row, row - 1);
}

void TdlgListColumns::MoveDown() {
    const int row = SelectedRow(m_displayed);
    if (row >= 0) SwapDisplayed(row, row + 1);
}

void TdlgListColumns::UpdateState() {
    const int master = SelectedRow(m_master);
    const int displayed = SelectedRow(m_displayed);
    m_right->setEnabled(master >= 0);
    m_allRight->setEnabled(m_master->count() > 0);
    m_left->setEnabled(displayed >= 0);
    m_up->setEnabled(displayed > 0);
    m_down->setEnabled(displayed >= 0 && displayed < m_displayed->count() - 1);
    m_allLeft->setEnabled(m_displayed->count() > 0);
    m_masterCount->setText(CountText(m_master));
    m_displayedCount->setText(CountText(m_displayed));
}

}  // namespace kindrel
