#include "app/pages/list_grid.h"

#include "analysis/collection_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "analysis/sort_keys.h"
#include "app/message_box.h"
#include "app/app_texts.h"
#include "app/dialogs/list_clip_dialog.h"
#include "app/dialogs/list_columns_dialog.h"
#include "app/list_text.h"
#include "app/pages/list_model.h"
#include "app/pages/tab_stop_delegate.h"
#include "app/person_colours.h"
#include "app/qt_colours.h"
#include "app/wait_dialog.h"
#include "app/pages/page_metrics.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace kindrel {

namespace {

// Average character width of the font the stored widths were made for.
constexpr double kDesignCharWidth = 5.0;
// The codes of the columns whose values depend on the reference individual.
constexpr int kRelationshipCodes[] = {38, 39, 52};
constexpr int kIslandCode = 58;

bool IsRelationshipCode(int code) {
    return std::find(std::begin(kRelationshipCodes), std::end(kRelationshipCodes), code) !=
           std::end(kRelationshipCodes);
}

}  // namespace

void RunUnderWait(QWidget* owner, const QString& message, bool cancellable,
                  const std::function<void()>& work) {
    TWaitDlg::ShowWait(message, false, cancellable, owner ? owner->window() : nullptr);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() {
            QApplication::restoreOverrideCursor();
            TWaitDlg::HideWait();
            SetCancelRequested(false);
        }
    } restore;
    work();
}

bool ShowsIslandColumn(const WListColumns& columns) {
    for (int c = 1; c <= columns.ColumnCount(); ++c)
        if (columns.ColumnCode(c) == kIslandCode) return true;
    return false;
}

bool ColumnStringShowsIslands(const std::string& columns) {
    size_t start = 0;
    while (start <= columns.size()) {
        size_t comma = columns.find(',', start);
        if (comma == std::string::npos) comma = columns.size();
        std::string item = columns.substr(start, comma - start);
        start = comma + 1;
        std::erase(item, ' ');
        if (item == std::to_string(kIslandCode)) return true;
    }
    return false;
}

bool EnsureIslands(QWidget* owner, TViewContext& context) {
    WABSCollection* collection = context.Collection();
    if (!collection) return false;
    WIslands& islands = WIslands::Of(*collection);
    if (islands.IsCalculated()) return true;
    if (islands.IsCalculating()) return false;
    RunUnderWait(owner, QString::fromLatin1(WIslands::kCalculatingMessage), false,
                 [&islands] { islands.CalculateIslands(); });
    return islands.IsCalculated();
}

WListGrid::WListGrid(TViewContext& context, ColumnSetKind kind, bool coloured, QWidget* parent)
    : WPersonTable(context, parent), m_context(context), m_kind(kind) {
    m_model = new WListModel(context, kind, coloured, this);
    setModel(m_model);
    m_delegate = new WTabStopDelegate(this);
    m_delegate->SetFrameSelection(true);
    setItemDelegate(m_delegate);
    QPalette grid = palette();
    grid.setColor(QPalette::Mid, ToQColor(kSilverColour));
    setPalette(grid);
    KeepGridRowHeight(this, 6);
    m_widthScale = std::clamp(fontMetrics().averageCharWidth() / kDesignCharWidth, 1.0, 3.0);
    m_delegate->SetOffsetScale(m_widthScale);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSortingEnabled(false);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    // Stored widths down to one pixel are shown as they are (a copy reads them back).
    header->setMinimumSectionSize(1);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this, &WListGrid::HeaderClicked);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { ColumnResized(column, size); });
    connect(header, &QHeaderView::customContextMenuRequested, this, &WListGrid::HeaderMenu);

    SetPersonAt([this](const QModelIndex& index) { return m_model->IndividualAt(index.row()); });
    SetRowText([this](const QModelIndex& index) { return m_model->RowText(index.row()); });
    SetMenuExtension([this](QMenu& menu, const QModelIndex& index) {
        if (m_rowActions) m_rowActions(menu, m_model->IndividualAt(index.row()));
    });
}

WListColumns* WListGrid::Columns() const {
    return m_context.ColumnSet(m_kind);
}

void WListGrid::ShowIterator(WColSortIterator* iterator) {
    m_applyingWidths = true;  // a reset makes the header's sections again
    m_model->SetIterator(iterator);
    ApplyWidths();
    UpdateSortIndicator();
}

void WListGrid::ColumnsChanged() {
    ShowIterator(m_model->Iterator());
}

void WListGrid::ApplyWidths() {
    m_applyingWidths = true;
    const WListColumns* columns = Columns();
    QHeaderView* header = horizontalHeader();
    for (int c = 1; columns && c <= columns->ColumnCount() && c <= m_model->columnCount(); ++c) {
        const int stored = std::clamp(columns->Width(c), kMinWidth, kMaxWidth);
        header->resizeSection(c - 1, static_cast<int>(std::lround(stored * m_widthScale)));
    }
    m_applyingWidths = false;
}

void WListGrid::ColumnResized(int column, int size) {
    if (m_applyingWidths) return;
    const int stored =
        std::clamp(static_cast<int>(std::lround(size / m_widthScale)), kMinWidth, kMaxWidth);
    if (WListColumns* columns = Columns()) columns->SetWidth(column + 1, stored);
}

void WListGrid::StoreWidths() {
    WListColumns* columns = Columns();
    if (!columns) return;
    for (int c = 1; c <= columns->ColumnCount() && c <= m_model->columnCount(); ++c)
        ColumnResized(c - 1, horizontalHeader()->sectionSize(c - 1));
}

void WListGrid::UpdateSortIndicator() {
    const WListColumns* columns = Columns();
    const WColSortIterator* iterator = m_model->Iterator();
    QHeaderView* header = horizontalHeader();
    const int column = columns ? columns->SortColumn() : -1;
    // The arrow shows only where the iterator shown is sorted by that column's attribute.
    if (!iterator || column < 1 || column > m_model->columnCount() ||
        columns->Iterator() != iterator || iterator->SortAttributeCode() == 0 ||
        iterator->SortAttributeCode() != columns->ColumnCode(column)) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    header->setSortIndicator(column - 1, iterator->IsAscending() ? Qt::AscendingOrder
                                                                 : Qt::DescendingOrder);
}

void WListGrid::HeaderClicked(int section) {
    // The header flipped its own arrow; the sort decides what it shows.
    if (!SortByColumn(section + 1)) UpdateSortIndicator();
}

bool WListGrid::SortByColumn(int column) {
    WListColumns* columns = Columns();
    WColSortIterator* iterator = m_model->Iterator();
    if (!columns || !iterator || column < 1 || column > columns->ColumnCount()) return false;
    const bool flip = columns->SortColumn() == column && iterator->IsSorted() &&
                      iterator->SortAttributeCode() == columns->ColumnCode(column);
    return RunSort(column, flip, [columns, column] { return columns->SortByColumn(column); });
}

bool WListGrid::SortByColumnDirection(int column, bool ascending) {
    WListColumns* columns = Columns();
    WColSortIterator* iterator = m_model->Iterator();
    if (!columns || !iterator || column < 1 || column > columns->ColumnCount()) return false;
    const bool sorted = columns->SortColumn() == column && iterator->IsSorted() &&
                        iterator->SortAttributeCode() == columns->ColumnCode(column);
    return RunSort(column, sorted, [columns, column, iterator, ascending, sorted] {
        if (!sorted && !columns->SortByColumn(column)) return false;
        // Sorted now (ascending after a fresh sort): a second click gives the other direction.
        if (iterator->IsAscending() != ascending) return columns->SortByColumn(column);
        return true;
    });
}

bool WListGrid::ResortWithNewKeys() {
    WListColumns* columns = Columns();
    WColSortIterator* iterator = m_model->Iterator();
    if (!iterator) return true;
    iterator->ForgetSort();
    if (!columns || columns->Iterator() != iterator || columns->SortColumn() < 1) {
        m_model->ValuesChanged();
        return true;
    }
    return RunSort(columns->SortColumn(), false, [columns] { return columns->Resort(); });
}

bool WListGrid::RunSort(int column, bool toggleOnly, const std::function<bool()>& sort) {
    (void)column;
    if (m_sorting || m_context.IsWindowBusy()) return false;
    const int32_t selected = CurrentIndividual();
    m_sorting = true;
    bool ok = false;
    std::string error;
    const auto work = [&] {
        try {
            ok = sort();
        } catch (const std::exception& e) {
            error = e.what();
        }
    };
    // A flip reads the same records backwards: no wait.
    if (toggleOnly)
        work();
    else
        RunUnderWait(this, QString::fromLatin1(kSortingMessage), true, work);
    m_sorting = false;
    m_model->OrderChanged();
    UpdateSortIndicator();
    if (selected != 0) SelectIndividual(selected);
    if (!error.empty())
        WMessageBox::Show(this, error, std::string(kProductName), MessageRecord::kError);
    Q_EMIT sorted(ok);
    return ok;
}

void WListGrid::SetReference(int32_t individual) {
    WListColumns* columns = Columns();
    if (!columns || individual == m_reference) return;
    m_reference = individual;
    columns->SetReference(individual);
    bool dependsOnReference = false;
    for (int c = 1; c <= columns->ColumnCount(); ++c)
        dependsOnReference = dependsOnReference || IsRelationshipCode(columns->ColumnCode(c));
    if (!dependsOnReference) return;
    const int sortColumn = columns->SortColumn();
    if (sortColumn >= 1 && IsRelationshipCode(columns->ColumnCode(sortColumn))) {
        // Sorted for another individual: the order stays, the arrow goes.
        columns->ClearSort();
        if (WColSortIterator* iterator = columns->Iterator()) iterator->ForgetSort();
        UpdateSortIndicator();
    }
    m_model->ValuesChanged();
}

int32_t WListGrid::CurrentIndividual() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? m_model->IndividualAt(index.row()) : 0;
}

bool WListGrid::SelectIndividual(int32_t individual) {
    const int row = m_model->RowOf(individual);
    if (row < 0) return false;
    const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    return true;
}

bool WListGrid::ChooseColumns(const std::function<void(const std::string&)>& store) {
    WListColumns* columns = Columns();
    if (!columns || m_sorting || m_context.IsWindowBusy() || !m_context.Collection()) return false;
    StoreWidths();
    const int32_t selected = CurrentIndividual();
    TdlgListColumns dialog(*columns, this);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    const std::string text = dialog.ColumnsText();
    WColSortIterator* iterator = m_model->Iterator();
    // The attributes the keys were made from go with the old columns.
    ShowIterator(nullptr);
    if (WColSortIterator* attached = columns->Iterator()) attached->ForgetSort();
    // The islands are calculated under their own wait before a cell can ask for them.
    if (ColumnStringShowsIslands(text)) EnsureIslands(this, m_context);
    columns->SetColumns(text);
    if (store) store(text);
    columns->SetReference(m_context.ActiveIndividual());
    ShowIterator(iterator);
    if (selected != 0) SelectIndividual(selected);
    return true;
}

bool WListGrid::CopyShownList() {
    WListColumns* columns = Columns();
    WColSortIterator* iterator = m_model->Iterator();
    if (!columns || !iterator || m_sorting) return false;
    StoreWidths();
    m_sorting = true;  // nothing sorts or frees the list while it is copied
    const bool copied = RunListCopy(
        this, m_context,
        [columns, iterator](bool csv, std::string& out,
                            const std::function<bool(int, int)>& progress) {
            return RenderListText(*columns, *iterator, csv, out, progress);
        });
    m_sorting = false;
    return copied;
}

void WListGrid::HeaderMenu(const QPoint& pos) {
    const int section = horizontalHeader()->logicalIndexAt(pos);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("listHeaderMenu"));
    if (section >= 0 && m_model->Iterator()) {
        QAction* up = menu.addAction(QStringLiteral("Sort ascending"));
        up->setObjectName(QStringLiteral("sortAscending"));
        connect(up, &QAction::triggered, this,
                [this, section] { SortByColumnDirection(section + 1, true); });
        QAction* down = menu.addAction(QStringLiteral("Sort descending"));
        down->setObjectName(QStringLiteral("sortDescending"));
        connect(down, &QAction::triggered, this,
                [this, section] { SortByColumnDirection(section + 1, false); });
    }
    if (m_headerActions) m_headerActions(menu);
    if (menu.isEmpty()) return;
    RunContextMenu(menu, horizontalHeader()->mapToGlobal(pos));
}

}  // namespace kindrel
