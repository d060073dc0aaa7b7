// The main window's side of its pages: the notebook made from the page table, the commands
// routed to the page shown, the column sets, the highlighter group, and telling every page
// when the collection goes and comes.
#include "app/main_window.h"

#include "analysis/list_columns.h"
#include "app/app_texts.h"
#include "app/general_page.h"
#include "app/ind_scroll.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/pages/islands_panel.h"
#include "app/pages/list_grid.h"
#include "app/page_copy.h"
#include "app/pages/page_table.h"
#include "app/sender_page.h"
#include "app/wait_dialog.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>

namespace kindrel {

namespace {

// How often work that waits for a load looks again.
constexpr int kRetryMs = 50;
constexpr const char* kCalculatingText = "Calculating.  Please Wait...";
constexpr const char* kNotInIslandText = "That individual is not in the island in use";

// The settings sections of the column widths, by ColumnSetKind.
constexpr const char* kColumnSections[] = {"List", "DesList", "IslandList"};

}  // namespace

void TLogoAppForm::BuildNotebook() {
    for (const TPageEntry& entry : m_start.pageTable ? *m_start.pageTable : PageTable()) {
        TViewPage* page = entry.make(*this, m_pageStack);
        page->setObjectName(QString::fromLatin1(entry.objectName));
        m_pages.push_back(page);
        m_pageStack->addWidget(page);
        for (int tab : entry.tabs)
            if (tab >= 0 && tab < kTabCount) m_tabPages[tab] = page;
        connect(page, &TViewPage::commandsChanged, this, &TLogoAppForm::UpdatePageCommands);
    }
    for (TViewPage*& page : m_tabPages)
        if (!page) {  // a tab the table forgot still shows something
            page = new TPlaceholderPage(*this, m_pageStack);
            m_pageStack->addWidget(page);
        }

    // A new active individual starts again at its first family.
    connect(m_scroll, &WIndScroll::changed, this, [this] {
        if (ActiveIndividual() != m_familyIndexOwner) m_familyIndexOwner = 0;
    });

    // The column sets live as long as the window; they follow the open collection.
    const std::string strings[] = {Options().ReadListColumns(), Options().ReadText(Opt::DesColumns),
                                   Options().ReadText(Opt::IslandColumns)};
    for (int k = 0; k < static_cast<int>(ColumnSetKind::kCount); ++k) {
        m_columnSets[k] = std::make_unique<WListColumns>(nullptr, kColumnSections[k], &Options());
        m_columnSets[k]->SetColumns(strings[k]);
    }
}

void TLogoAppForm::StoreColumnSets() {
    Options().WriteListColumns(m_columnSets[0]->Columns());
    Options().WriteText(Opt::DesColumns, m_columnSets[1]->Columns());
    Options().WriteText(Opt::IslandColumns, m_columnSets[2]->Columns());
}

WListColumns* TLogoAppForm::ColumnSet(ColumnSetKind kind) const {
    const int k = static_cast<int>(kind);
    if (k < 0 || k >= static_cast<int>(ColumnSetKind::kCount)) return m_columnSets[0].get();
    return m_columnSets[k].get();
}

TViewPage* TLogoAppForm::PageNamed(const char* objectName) const {
    const QString name = QString::fromLatin1(objectName);
    for (TViewPage* page : m_pages)
        if (page->objectName() == name) return page;
    return nullptr;
}

TSenderPage* TLogoAppForm::SenderPage() const {
    return qobject_cast<TSenderPage*>(PageNamed("senderPage"));
}

TGeneralPage* TLogoAppForm::GeneralPage() const {
    return qobject_cast<TGeneralPage*>(PageNamed("generalPage"));
}

bool TLogoAppForm::IsWindowBusy() const {
    return m_busy || m_expanding || m_highlighting || TWaitDlg::Depth() > 0;
}

bool TLogoAppForm::ScrollThumbDragged() const {
    return m_scroll->ScrollBar()->isSliderDown();
}

int TLogoAppForm::CurrentFamilyIndex() const {
    return m_familyIndexOwner != 0 && m_familyIndexOwner == ActiveIndividual() ? m_familyIndex : 1;
}

void TLogoAppForm::SetCurrentFamilyIndex(int k) {
    m_familyIndex = std::max(1, k);
    m_familyIndexOwner = ActiveIndividual();
}

void TLogoAppForm::JumpToIndividual(int32_t individual) {
    if (!m_collection || individual <= 0 || individual > m_collection->IndividualCount()) return;
    if (m_collection->IndividualToView(individual) <= 0) {
        Flash(QString::fromUtf8(kNotInIslandText));
        return;
    }
    m_scroll->JumpTo(individual);
}

void TLogoAppForm::ForgetCollection() {
    ForgetFind();
    if (m_collection)
        for (TViewPage* page : m_pages) page->ForgetCollection();
    for (auto& set : m_columnSets) {
        set->AttachIterator(nullptr);
        set->SetCollection(nullptr);
    }
    m_scroll->SetHighlighter(nullptr);
    m_highlighter.reset();
    m_scroll->AttachCollection(nullptr);
    if (m_islandsPanel) m_islandsPanel->Reset();
}

void TLogoAppForm::AttachViews() {
    // A set showing "Island #" needs the islands: calculated here under their own wait,
    // never from inside a paint.
    for (auto& set : m_columnSets)
        if (ShowsIslandColumn(*set)) {
            EnsureIslands(this, *this);
            break;
        }
    for (auto& set : m_columnSets) set->SetCollection(m_collection.get());
    for (TViewPage* page : m_pages) page->CollectionAttached();
    AttachFind();
    if (m_islandsPanel) m_islandsPanel->Reset();
}

bool TLogoAppForm::SetHighlightConditions(const std::string& conditions) {
    if (!m_collection) return false;
    // Not under a load or a page's long work: once it has ended.
    if (m_busy) {
        QTimer::singleShot(kRetryMs, this, [this, conditions] { SetHighlightConditions(conditions); });
        return true;
    }
    if (DeferWhilePageWork([this, conditions] { SetHighlightConditions(conditions); }))
        return true;
    if (m_highlighting) {
        // Applied once the work running now has ended.
        m_pendingConditions = conditions;
        return true;
    }
    m_highlighting = true;
    bool ok = true;
    std::string error;
    if (conditions.empty()) {
        m_scroll->SetHighlighter(nullptr);
        m_highlighter.reset();
    } else {
        if (!m_highlighter) {
            m_highlighter = std::make_unique<WHLGroup>(m_collection.get());
            m_highlighter->SetOptions(&Options());
        }
        TWaitDlg::ShowWait(QString::fromUtf8(kCalculatingText), false, false, this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            m_highlighter->SetConditions(conditions);
            m_highlighter->Recalculate();
        } catch (const std::exception& e) {
            ok = false;
            error = e.what();
        }
        QApplication::restoreOverrideCursor();
        TWaitDlg::HideWait();
        m_scroll->SetHighlighter(m_highlighter.get());
    }
    for (TViewPage* page : m_pages) page->HighlightChanged();
    m_highlighting = false;
    UpdateCommands();
    if (!ok) WMessageBox::Show(this, error, std::string(kProductName), MessageRecord::kError);
    if (m_pendingConditions) {
        const std::string next = std::move(*m_pendingConditions);
        m_pendingConditions.reset();
        return SetHighlightConditions(next) && ok;
    }
    return ok;
}

void TLogoAppForm::ConnectPageCommands() {
    TMainCommands& c = *m_commands;
    connect(c.copy, &QAction::triggered, this, [this] {
        // In a text field Ctrl+C copies what is selected there, not the page.
        if (!CopyFocusedSelection()) PerformPageCommand(PageCommand::kCopy);
    });
    connect(c.print, &QAction::triggered, this,
            [this] { PerformPageCommand(PageCommand::kPrint); });
    connect(c.columns, &QAction::triggered, this,
            [this] { PerformPageCommand(PageCommand::kColumns); });
    connect(c.nextHighlighted, &QAction::triggered, m_scroll, &WIndScroll::NextHighlighted);
    connect(c.previousHighlighted, &QAction::triggered, m_scroll, &WIndScroll::PreviousHighlighted);
    ConnectFind();
}

bool TLogoAppForm::PerformPageCommand(PageCommand command) {
    if (IsWindowBusy() || !m_collection) return false;
    TViewPage* page = PageForTab(ActiveTab());
    // Print is the window's own command unless the page prints something of its own.
    if (command == PageCommand::kPrint && (!page || !page->CanPerform(command)))
        return OpenPrintDialog();
    if (!page || !page->CanPerform(command)) return false;
    try {
        return page->Perform(command);
    } catch (const std::exception& e) {
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
        return false;
    }
}

void TLogoAppForm::UpdatePageCommands() {
    TMainCommands& c = *m_commands;
    const bool open = m_collection != nullptr && !IsWindowBusy();
    const TViewPage* page = PageForTab(ActiveTab());
    c.copy->setEnabled(open && page && page->CanPerform(PageCommand::kCopy));
    c.print->setEnabled(open);
    c.columns->setEnabled(open && page && page->CanPerform(PageCommand::kColumns));
    c.extractGedcom->setVisible(CanExtractGedcom());
    c.extractGedcom->setEnabled(CanExtractGedcom() && !IsWindowBusy());
    const bool highlighted = open && m_highlighter != nullptr;
    c.nextHighlighted->setEnabled(highlighted);
    c.previousHighlighted->setEnabled(highlighted);
    UpdateFindCommands();
}

}  // namespace kindrel
