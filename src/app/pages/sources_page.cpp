#include "app/pages/sources_page.h"

#include "analysis/source_iterator.h"
#include "app/list_text.h"
#include "app/message_box.h"
#include "app/app_texts.h"
#include "app/pages/person_table.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "app/person_colours.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>
#include <QClipboard>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kindrel {

namespace {

constexpr const char* kHeaders[WSourcesModel::kColumnCount] = {
    "  #", "N", "T", "R", "Title", "Abbreviation", "Author", "Publication", "Call Number"};
// The width setting of each column.
constexpr Opt kWidthSettings[WSourcesModel::kColumnCount] = {
    Opt::SrcCol1, Opt::SrcCol2, Opt::SrcCol3, Opt::SrcCol4, Opt::SrcCol5,
    Opt::SrcCol9, Opt::SrcCol6, Opt::SrcCol7, Opt::SrcCol8};
constexpr const char* kFieldLabels[5] = {"Title:", "Author:", "Abbreviation:", "Publication:",
                                         "Call Number:"};
constexpr int kMaxWidth = 2000;
constexpr double kDesignCharWidth = 5.0;
constexpr int kCacheRows = 1024;

QPlainTextEdit* MakeMemo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return memo;
}

QString Memo(const std::string& text) {
    QString plain = QString::fromStdString(text);
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WSourcesModel

WSourcesModel::WSourcesModel(TViewContext& context, QObject* parent)
    : QAbstractTableModel(parent), m_context(context) {}

void WSourcesModel::SetIterator(WSourceIterator* iterator) {
    beginResetModel();
    m_iterator = iterator;
    m_rows = iterator ? iterator->Count() : 0;
    m_cache.clear();
    endResetModel();
}

void WSourcesModel::OrderChanged() {
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_cache.clear();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int32_t WSourcesModel::SourceAt(int row) const {
    if (!m_iterator || row < 0 || row >= m_rows) return 0;
    return m_iterator->SourceAt(row + 1);
}

int WSourcesModel::RowOf(int32_t source) const {
    if (!m_iterator || source <= 0) return -1;
    for (int r = 0; r < m_rows; ++r)
        if (m_iterator->SourceAt(r + 1) == source) return r;
    return -1;
}

const QStringList& WSourcesModel::Cells(int row) const {
    if (const auto found = m_cache.find(row); found != m_cache.end()) return found->second;
    if (m_cache.size() >= static_cast<size_t>(kCacheRows)) m_cache.clear();
    QStringList& cells = m_cache[row];
    std::vector<std::string> texts;
    try {
        texts = SourceRowCells(*m_context.Collection(), SourceAt(row));
    } catch (const std::exception&) {
        texts.assign(kColumnCount, std::string());
    }
    for (const std::string& text : texts) cells << QString::fromStdString(text);
    return cells;
}

int WSourcesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int WSourcesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant WSourcesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == 0)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return {};
    // No cells are read while the sources are sorted or the window is busy.
    if (!m_iterator || m_iterator->IsSortRunning() || m_context.IsWindowBusy() ||
        !m_context.Collection())
        return QString();
    return Cells(index.row()).value(index.column());
}

QVariant WSourcesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(kHeaders[section]);
        case Qt::ToolTipRole:
            return PlainToolTip(QString::fromStdString(SourcesHintText()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

Qt::ItemFlags WSourcesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---------------------------------------------------------------------------------------------
// TSourcesPage

TSourcesPage::TSourcesPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("sourcesPage"));
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("sourcesCount"));
    m_model = new WSourcesModel(context, this);
    m_model->setObjectName(QStringLiteral("sourcesModel"));
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("sourcesGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->setSortingEnabled(false);
    m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setToolTip(PlainToolTip(QString::fromStdString(SourcesHintText())));
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Mid, ToQColor(kSilverColour));
    m_grid->setPalette(palette);
    m_widthScale =
        std::clamp(m_grid->fontMetrics().averageCharWidth() / kDesignCharWidth, 1.0, 3.0);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setMinimumSectionSize(4);

    // The detail pane: five labels and three memos, or the record text in raw mode.
    auto* details = new QWidget(this);
    auto* form = new QFormLayout;
    for (int k = 0; k < 5; ++k) {
        m_fields[k] = new QLabel(details);
        m_fields[k]->setObjectName(QStringLiteral("sourceField%1").arg(k));
        m_fields[k]->setTextFormat(Qt::PlainText);
        m_fields[k]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromLatin1(kFieldLabels[k]), m_fields[k]);
    }
    m_text = MakeMemo("sourceTextMemo", details);
    m_note = MakeMemo("sourceNoteMemo", details);
    m_repository = MakeMemo("sourceRepositoryMemo", details);
    auto* textBox = new QGroupBox(QStringLiteral("Text"), details);
    (new QVBoxLayout(textBox))->addWidget(m_text);
    m_noteBox = new QGroupBox(QStringLiteral("Note"), details);
    m_noteBox->setObjectName(QStringLiteral("sourceNoteBox"));
    (new QVBoxLayout(m_noteBox))->addWidget(m_note);
    auto* repositoryBox = new QGroupBox(QStringLiteral("Repository"), details);
    (new QVBoxLayout(repositoryBox))->addWidget(m_repository);
    auto* memos = new QHBoxLayout;
    memos->addWidget(textBox);
    memos->addWidget(m_noteBox);
    memos->addWidget(repositoryBox);
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->addLayout(form);
    detailsLayout->addLayout(memos, 1);
    m_raw = MakeMemo("sourceRawMemo", this);
    m_raw->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_detailStack = new QStackedWidget(this);
    m_detailStack->setObjectName(QStringLiteral("sourceDetails"));
    m_detailStack->addWidget(details);
    m_detailStack->addWidget(m_raw);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(m_countLabel);
    topLayout->addWidget(m_grid, 1);
    splitter->addWidget(top);
    splitter->addWidget(m_detailStack);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter, 1);

    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (!SortByColumn(section)) UpdateSortIndicator();
    });
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { ColumnResized(column, size); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) ShowDetails(m_model->SourceAt(current.row()));
            });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = m_grid->indexAt(pos);
        if (index.isValid()) m_grid->setCurrentIndex(index);
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("sourcesMenu"));
        QAction* copy = menu.addAction(QStringLiteral("Copy details"));
        copy->setObjectName(QStringLiteral("sourcesMenuCopy"));
        copy->setEnabled(m_shownSource != 0);
        connect(copy, &QAction::triggered, this, [this] { CopyDetails(); });
        RunContextMenu(menu, m_grid->viewport()->mapToGlobal(pos));
    });
    ApplyWidths();
}

TSourcesPage::~TSourcesPage() = default;

void TSourcesPage::ApplyWidths() {
    m_applyingWidths = true;
    for (int c = 0; c < WSourcesModel::kColumnCount; ++c) {
        const int stored = std::clamp(Options().ReadInt(kWidthSettings[c]), 1, kMaxWidth);
        m_grid->horizontalHeader()->resizeSection(
            c, static_cast<int>(std::lround(stored * m_widthScale)));
    }
    m_applyingWidths = false;
}

void TSourcesPage::ColumnResized(int column, int size) {
    if (m_applyingWidths || column < 0 || column >= WSourcesModel::kColumnCount) return;
    const int stored =
        std::clamp(static_cast<int>(std::lround(size / m_widthScale)), 1, kMaxWidth);
    Options().WriteInt(kWidthSettings[column], stored);
}

void TSourcesPage::RefreshPage() {
    WABSCollection* collection = m_context.Collection();
    if (!collection) {
        m_model->SetIterator(nullptr);
        ApplyWidths();
        m_countLabel->clear();
        ShowDetails(0);
        Q_EMIT commandsChanged();
        return;
    }
    if (m_iterator && m_iterator->IsSortRunning()) return;
    if (!m_iterator) {
        m_iterator = std::make_unique<WSourceIterator>(std::string(), collection);
        m_model->SetIterator(m_iterator.get());
        ApplyWidths();
        UpdateSortIndicator();
        m_countLabel->setText(QString::fromStdString(SourcesLabel(m_model->rowCount())));
        // The source selected before the open, when it exists in this file.
        const int row = m_keptSource > 0 ? m_model->RowOf(m_keptSource) : -1;
        if (row >= 0)
            m_grid->setCurrentIndex(m_model->index(row, 0));
        else if (m_model->rowCount() > 0)
            m_grid->setCurrentIndex(m_model->index(0, 0));
    }
    const QModelIndex current = m_grid->currentIndex();
    const int32_t source = current.isValid() ? m_model->SourceAt(current.row()) : 0;
    if (source != m_shownSource || m_context.RawMode() != m_shownRaw) {
        m_shownSource = -1;  // shown again
        ShowDetails(source);
    }
    m_grid->viewport()->update();
    Q_EMIT commandsChanged();
}

void TSourcesPage::ShowDetails(int32_t source) {
    if (source == m_shownSource && m_context.RawMode() == m_shownRaw) return;
    m_shownSource = source;
    m_shownRaw = m_context.RawMode();
    if (source > 0) m_keptSource = source;
    WABSCollection* collection = m_context.Collection();
    SourceDetails details;
    if (collection && source > 0) {
        try {
            details = BuildSourceDetails(*collection, source);
        } catch (const std::exception& e) {
            WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
        }
    }
    const std::string fields[5] = {details.title, details.author, details.abbreviation,
                                   details.publication, details.callNumber};
    for (int k = 0; k < 5; ++k) m_fields[k]->setText(QString::fromStdString(fields[k]));
    m_text->setPlainText(Memo(details.text));
    m_note->setPlainText(Memo(details.note));
    m_repository->setPlainText(Memo(details.repository));
    m_raw->setPlainText(Memo(details.raw));
    m_noteBox->setTitle(
        QString::fromStdString(SourceNoteCaption(collection ? collection->Kind() : 0)));
    m_detailStack->setCurrentIndex(m_shownRaw ? 1 : 0);
}

void TSourcesPage::UpdateSortIndicator() {
    QHeaderView* header = m_grid->horizontalHeader();
    if (!m_iterator || m_iterator->KeyType() < 1) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    header->setSortIndicator(m_iterator->KeyType() - 1, m_iterator->Direction() == 1
                                                            ? Qt::AscendingOrder
                                                            : Qt::DescendingOrder);
}

bool TSourcesPage::SortByColumn(int column) {
    if (!m_iterator || m_iterator->IsSortRunning() || m_context.IsWindowBusy() || column < 0 ||
        column >= WSourcesModel::kColumnCount)
        return false;
    // The details stay with the selected source, wherever the sort puts it.
    const int32_t selected = m_shownSource;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_iterator->SortBy(column + 1, true);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
        return false;
    }
    QApplication::restoreOverrideCursor();
    m_model->OrderChanged();
    UpdateSortIndicator();
    const int row = m_model->RowOf(selected);
    if (row >= 0) {
        m_grid->setCurrentIndex(m_model->index(row, std::max(0, m_grid->currentIndex().column())));
        m_grid->scrollTo(m_grid->currentIndex());
    }
    return true;
}

bool TSourcesPage::CopyDetails() {
    WABSCollection* collection = m_context.Collection();
    if (!collection || m_shownSource <= 0) return false;
    const SourceDetails details = BuildSourceDetails(*collection, m_shownSource);
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(SourceDetailsText(details, m_context.RawMode())));
    m_context.FlashText(QStringLiteral("Copy to Clipboard Complete"));
    return true;
}

void TSourcesPage::ForgetCollection() {
    m_model->SetIterator(nullptr);
    ApplyWidths();
    m_iterator.reset();
    m_shownSource = -1;
    ShowDetails(0);
    m_countLabel->clear();
}

void TSourcesPage::CollectionAttached() {
    // The iterator is made on the first show.
    m_iterator.reset();
    m_model->SetIterator(nullptr);
    ApplyWidths();
}

bool TSourcesPage::CanPerform(PageCommand command) const {
    return command == PageCommand::kCopy && m_context.Collection() && m_shownSource > 0 &&
           !(m_iterator && m_iterator->IsSortRunning());
}

bool TSourcesPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    return CopyDetails();
}

}  // namespace kindrel
