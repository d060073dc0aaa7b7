#include "app/dialogs/find_dialog.h"

#include "analysis/collection_iterator.h"
#include "app/find_state.h"
#include "app/pages/ind_info_panel.h"
#include "app/pages/page_metrics.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "app/wait_dialog.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kindrel {

namespace {

constexpr const char* kSortingText = "Sorting.  Please Wait...";
constexpr const char* kSearchHint =
    "Click here to find closest individual (See Options to remove this button)";
constexpr int kColumnWidths[] = {45, 60, 180, 75};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Draws a "Marriages" entry in its parts: spouse lines at the left edge, child lines indented
// with the "+" mark, the birth year and the name each at its own column.
class WMarriageDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem style = option;
        initStyleOption(&style, index);
        const QString whole = style.text;
        style.text.clear();
        const QWidget* list = option.widget;
        QStyle* qstyle = list ? list->style() : QApplication::style();
        qstyle->drawControl(QStyle::CE_ItemViewItem, &style, painter, list);

        const MarriageColumns columns = MarriageColumnsFor(list);
        const bool selected = option.state & QStyle::State_Selected;
        QColor text = selected ? option.palette.color(QPalette::HighlightedText)
                               : style.palette.color(QPalette::Text);
        if (!selected && index.data(Qt::ForegroundRole).canConvert<QBrush>())
            text = index.data(Qt::ForegroundRole).value<QBrush>().color();
        painter->save();
        painter->setPen(text);
        painter->setFont(style.font);
        const QRect r = option.rect;
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        const auto draw = [&](int x, int right, const QString& part) {
            const QRect box(r.left() + x, r.top(), std::max(0, right - x), r.height());
            painter->drawText(box, flags,
                              painter->fontMetrics().elidedText(part, Qt::ElideRight,
                                                                box.width()));
        };
        const int margin = Scaled(list, 2);
        if (index.data(kMarriageChildRole).toBool()) {
            if (index.data(kMarriagePlusRole).toBool())
                draw(columns.indent, columns.year, QStringLiteral("+"));
            draw(columns.year, columns.name, index.data(kMarriageYearRole).toString());
            draw(columns.name, r.width(), index.data(kMarriageNameRole).toString());
        } else {
            const QString line = index.data(kMarriageNameRole).toString();
            draw(margin, r.width(), line.isEmpty() ? whole : line);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option,
                   const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int line = option.fontMetrics.height() + MarriageColumnsFor(option.widget).extraHeight;
        size.setHeight(std::max(size.height(), line));
        return size;
    }
};

}  // namespace

MarriageColumns MarriageColumnsFor(const QWidget* list) {
    // Laid out at 96 dpi: the child indent, then the year and the name to its right.
    constexpr double kIndent = 15, kYear = 10, kName = 42, kExtraHeight = 2;
    MarriageColumns columns;
    if (!list) return columns;
    columns.indent = Scaled(list, kIndent);
    columns.year = Scaled(list, kIndent + kYear);
    columns.name = Scaled(list, kIndent + kName);
    columns.extraHeight = Scaled(list, kExtraHeight);
    return columns;
}

// ---------------------------------------------------------------------------------------------
// WFindGridModel

WFindGridModel::WFindGridModel(WABSCollection* collection, WHLGroup* group, QObject* parent)
    : QAbstractTableModel(parent), m_collection(collection), m_group(group) {}

void WFindGridModel::SetOrder(WColSortIterator* order, int mode) {
    beginResetModel();
    m_order = order;
    m_mode = mode;
    m_rows = order ? order->Count() : 0;
    endResetModel();
}

int32_t WFindGridModel::IndividualAt(int row) const {
    if (!m_order || row < 0 || row >= m_rows) return 0;
    return m_order->NumberAt(row + 1);
}

int WFindGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int WFindGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant WFindGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_collection) return {};
    const int32_t n = IndividualAt(index.row());
    if (n == 0) return {};
    switch (role) {
        case Qt::DisplayRole: {
            const FindGridRow row = FindGridCells(*m_collection, n, m_mode);
            switch (index.column()) {
                case 0:
                    return Text(row.index);
                case 1:
                    return Text(row.id);
                case 2:
                    return Text(row.name);
                case 3:
                    return Text(row.birth);
                default:
                    return {};
            }
        }
        case Qt::BackgroundRole:
            return ToQColor(PersonColours(m_group, n).background);
        case Qt::ForegroundRole:
            return ToQColor(PersonColours(m_group, n).text);
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
    }
}

QVariant WFindGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case 0:
            return QStringLiteral("Index");
        case 1:
            if (m_mode == 5) return QStringLiteral("Custom ID");
            if (m_mode == 2 && m_collection && m_collection->Kind() == kKindGedcom)
                return QStringLiteral("REF");
            return QStringLiteral("RIN");
        case 2:
            return QStringLiteral("Name");
        case 3:
            return QStringLiteral("Birth/[Chr]");
        default:
            return {};
    }
}

// ---------------------------------------------------------------------------------------------
// TWFindDlg

TWFindDlg::TWFindDlg(WFindOrders* orders, WHLGroup* group, WABSCollection* collection,
                     QWidget* parent)
    : QDialog(parent), m_orders(orders), m_group(group), m_collection(collection) {
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(QStringLiteral("Find Individual"));
    if (!m_orders || m_orders->Collection() != collection) {
        m_ownOrders = std::make_unique<WFindOrders>(collection);
        m_orders = m_ownOrders.get();
    }
    if (!m_orders->onSort)
        m_orders->onSort = [this](bool starting) {
            if (starting)
                TWaitDlg::ShowWait(QString::fromUtf8(kSortingText), false, false, this);
            else
                TWaitDlg::HideWait();
        };
    m_autoSearch = Options().ReadBool(Opt::AutoSearch);

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* modeBox = new QGroupBox(QStringLiteral("Order"), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    m_modes = new QButtonGroup(this);
    const bool gedcom = collection && collection->Kind() == kKindGedcom;
    const QString captions[kFindModeCount] = {
        QStringLiteral("Index"), gedcom ? QStringLiteral("REF") : QStringLiteral("RIN"),
        QStringLiteral("Surname, Name"), QStringLiteral("Name Surname"), QStringLiteral("Custom")};
    for (int m = 1; m <= kFindModeCount; ++m) {
        auto* radio = new QRadioButton(captions[m - 1], modeBox);
        radio->setObjectName(QStringLiteral("mode%1").arg(m));
        m_modes->addButton(radio, m);
        modeLayout->addWidget(radio);
    }
    left->addWidget(modeBox);

    auto* searchRow = new QHBoxLayout;
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("findEdit"));
    m_edit->installEventFilter(this);
    searchRow->addWidget(m_edit, 1);
    m_search = new QPushButton(QStringLiteral("Search"), this);
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_search->setToolTip(QString::fromUtf8(kSearchHint));
    m_search->setVisible(!m_autoSearch);
    searchRow->addWidget(m_search);
    left->addLayout(searchRow);

    m_model = new WFindGridModel(collection, group, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("findGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    // The grids' font size and row height settings, rows never lower than the font needs.
    QFont gridFont = m_grid->font();
    gridFont.setPointSize(SettingFontSize());
    m_grid->setFont(gridFont);
    const int gridHeight = std::clamp(Options().ReadInt(Opt::GridHeight), 12, 40);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(Scaled(this, gridHeight), QFontMetrics(gridFont).height() + 4));
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    left->addWidget(m_grid, 1);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("findCount"));
    left->addWidget(m_countLabel);
    layout->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    const auto panel = [&](const char* title, const char* name) {
        right->addWidget(new QLabel(QString::fromLatin1(title), this));
        auto* p = new TIndInfoPanel(nullptr, this);
        p->setObjectName(QString::fromLatin1(name));
        right->addWidget(p);
        connect(p, &TIndInfoPanel::activated, this, &TWFindDlg::SelectIndividual);
        return p;
    };
    m_selectedPanel = panel("Individual Selected", "selectedPanel");
    m_fatherPanel = panel("Father", "fatherPanel");
    m_motherPanel = panel("Mother", "motherPanel");
    m_marriagesLabel = new QLabel(QStringLiteral("Marriages (0)"), this);
    m_marriagesLabel->setObjectName(QStringLiteral("marriagesLabel"));
    right->addWidget(m_marriagesLabel);
    m_marriages = new QListWidget(this);
    m_marriages->setObjectName(QStringLiteral("marriagesList"));
    m_marriages->setItemDelegate(new WMarriageDelegate(m_marriages));
    m_marriages->setUniformItemSizes(true);
    right->addWidget(m_marriages, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    box->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    right->addWidget(box);
    layout->addLayout(right, 2);
    resize(Scaled(this, 760), Scaled(this, 480));

    connect(box, &QDialogButtonBox::accepted, this, &TWFindDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_modes, &QButtonGroup::idClicked, this, &TWFindDlg::SetMode);
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        if (m_refilling) return;
        if (m_autoSearch)
            RunSearch();
        else
            SetPending(true);
    });
    connect(m_search, &QPushButton::clicked, this, &TWFindDlg::RunSearch);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const int32_t n = m_model->IndividualAt(index.row());
        if (n == 0) return;
        m_chosen = n;
        QDialog::accept();
    });
    connect(m_marriages, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        SelectIndividual(item->data(kMarriageIndividualRole).toInt());
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) RowSelected(current.row());
            });
    SetPending(false);
    const int stored = Options().ReadInt(Opt::FindDlg);
    m_mode = 0;
    SetMode(stored >= 1 && stored <= kFindModeCount ? stored : 3);
}

TWFindDlg::~TWFindDlg() {
    if (m_ownOrders) m_ownOrders->onSort = nullptr;
}

void TWFindDlg::SetMode(int mode) {
    if (mode < 1 || mode > kFindModeCount) return;
    const int32_t keep = SelectedIndividual();
    if (QAbstractButton* radio = m_modes->button(mode)) radio->setChecked(true);
    if (mode == m_mode && m_grid->model()->rowCount() > 0) return;
    m_mode = mode;
    Options().WriteInt(Opt::FindDlg, mode);
    WColSortIterator* order = m_collection ? m_orders->Order(FindOrderOfMode(mode)) : nullptr;
    m_model->SetOrder(order, mode);
    const int rows = m_model->rowCount();
    m_countLabel->setText(QLocale().toString(static_cast<qlonglong>(rows)) +
                          QStringLiteral(" Individuals"));
    for (int c = 0; c < 4; ++c) m_grid->setColumnWidth(c, Scaled(this, kColumnWidths[c]));
    if (keep > 0) SelectIndividual(keep);
    else if (rows > 0) SelectRow(0);
    m_edit->setFocus();
}

void TWFindDlg::SetStart(int32_t individual) {
    SelectIndividual(individual);
}

int32_t TWFindDlg::SelectedIndividual() const {
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_model->IndividualAt(current.row()) : 0;
}

void TWFindDlg::SelectIndividual(int32_t individual) {
    if (individual <= 0 || !m_collection) return;
    WColSortIterator* order = m_collection ? m_orders->Order(FindOrderOfMode(m_mode)) : nullptr;
    if (!order) return;
    const int row = m_mode == 1 ? m_collection->IndividualToView(individual)
                                : order->PositionOf(individual);
    if (row > 0) SelectRow(row - 1);
}

void TWFindDlg::SelectRow(int row) {
    const int rows = m_model->rowCount();
    if (rows < 1) return;
    row = std::clamp(row, 0, rows - 1);
    const QModelIndex index = m_model->index(row, 0);
    const bool same = m_grid->currentIndex().row() == row;
    m_grid->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
    if (same) RowSelected(row);  // otherwise the current-row signal filled the panels
}

void TWFindDlg::RowSelected(int row) {
    const int32_t n = m_model->IndividualAt(row);
    m_selectedPanel->Fill(m_collection, m_group, n);
    const int32_t father = m_collection && n ? m_collection->Father(n) : 0;
    const int32_t mother = m_collection && n ? m_collection->Mother(n) : 0;
    m_fatherPanel->Fill(m_collection, m_group, father);
    m_motherPanel->Fill(m_collection, m_group, mother);
    for (TIndInfoPanel* p : {m_selectedPanel, m_fatherPanel, m_motherPanel})
        p->setToolTip(m_collection && p->Tag() > 0
                          ? PlainToolTip(Text(m_collection->SummaryBlock(p->Tag())))
                          : QString());
    m_marriages->clear();
    int families = 0;
    if (m_collection && n) {
        for (const MarriageEntry& entry : MarriageEntries(*m_collection, n)) {
            QString text;
            if (entry.child) {
                text = QStringLiteral("     ") + (entry.hasChildren ? QStringLiteral("+ ")
                                                                     : QStringLiteral("  ")) +
                       Text(entry.year).leftJustified(6, QLatin1Char(' ')) + Text(entry.text);
            } else {
                ++families;
                text = Text(entry.text);
            }
            auto* item = new QListWidgetItem(text, m_marriages);
            item->setData(kMarriageIndividualRole, entry.individual);
            item->setData(kMarriageChildRole, entry.child);
            item->setData(kMarriagePlusRole, entry.hasChildren);
            item->setData(kMarriageYearRole, Text(entry.year));
            item->setData(kMarriageNameRole, Text(entry.text));
            // A family without a spouse reads in black on the list's own background.
            if (entry.individual > 0) {
                const WColourPair colours = PersonColours(m_group, entry.individual);
                item->setBackground(ToQColor(colours.background));
                item->setForeground(ToQColor(colours.text));
            } else {
                item->setForeground(QColor(Qt::black));
            }
        }
    }
    m_marriagesLabel->setText(QStringLiteral("Marriages (%1)").arg(families));
    Refill();
}

void TWFindDlg::Refill() {
    const int32_t n = SelectedIndividual();
    if (!m_collection || n == 0) return;
    m_refilling = true;
    m_edit->setText(Text(FindDialogText(*m_collection, n, m_mode)));
    m_refilling = false;
}

void TWFindDlg::RunSearch() {
    SetPending(false);
    if (!m_collection) return;
    const int row = FindDialogRow(*m_orders, m_mode, m_edit->text().toStdString());
    if (row < 1) return;
    // The search leaves the typed text as it is.
    const QString typed = m_edit->text();
    SelectRow(row - 1);
    m_refilling = true;
    m_edit->setText(typed);
    m_refilling = false;
}

void TWFindDlg::SetPending(bool pending) {
    m_pending = pending && !m_autoSearch;
    m_search->setEnabled(m_pending);
    QPalette palette = m_search->palette();
    palette.setColor(QPalette::ButtonText, m_pending ? Qt::red : Qt::black);
    m_search->setPalette(palette);
}

void TWFindDlg::accept() {
    if (m_pending) {
        RunSearch();  // a search waiting for its button runs first; the dialog stays open
        return;
    }
    m_chosen = SelectedIndividual();
    QDialog::accept();
}

bool TWFindDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
        const int page = std::max(1, m_grid->viewport()->height() /
                                         std::max(1, m_grid->verticalHeader()->defaultSectionSize()));
        switch (key->key()) {
            case Qt::Key_Up:
                SelectRow(row - 1);
                return true;
            case Qt::Key_Down:
                SelectRow(row + 1);
                return true;
            case Qt::Key_PageUp:
                SelectRow(row - page);
                return true;
            case Qt::Key_PageDown:
                SelectRow(row + page);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kindrel
