// The main window's side of the list pages: the left panel's Islands page and "Use Islands",
// the Highlighting page shown for the Highlighted tab, and long page work (a sort, a
// highlighted build, an island calculation, a copy) that open, reload, close and highlight
// changes wait for.
#include "app/main_window.h"

#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "app/ind_scroll.h"
#include "app/left_panel.h"
#include "app/pages/islands_page.h"
#include "app/pages/islands_panel.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_page.h"
#include "app/quick_help.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"

#include <QTimer>
#include <QVBoxLayout>

namespace kindrel {

namespace {

// How often work that waits for page work looks again.
constexpr int kPageWorkRetryMs = 50;

}  // namespace

void TLogoAppForm::BuildListPanels() {
    QWidget* holder = m_leftPanel->IslandsPage();
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_islandsPanel = new TIslandsPanel(*this, holder);
    layout->addWidget(m_islandsPanel);
    connect(m_islandsPanel, &TIslandsPanel::useIslandRequested, this,
            &TLogoAppForm::UseIslandInView);
    if (auto* islands = qobject_cast<TIslandsPage*>(PageNamed("islandsPage"))) {
        connect(islands, &TIslandsPage::islandsChanged, m_islandsPanel, &TIslandsPanel::Refresh);
        connect(m_islandsPanel, &TIslandsPanel::islandsChanged, islands,
                [islands] { islands->UpdateIslandsPage(false); });
    }
    if (auto* list = qobject_cast<TListPage*>(PageNamed("listPage")))
        connect(list, &TListPage::highlightingPanelWanted, this,
                [this] { ShowPanelPage(kPanelHighlighting); });
}

bool TLogoAppForm::PageWorkRunning() const {
    // Page work runs under the wait dialog once the window has started.
    return m_startupDone && !m_busy && !m_expanding && TWaitDlg::Depth() > 0;
}

bool TLogoAppForm::DeferWhilePageWork(const std::function<void()>& again) {
    if (!PageWorkRunning()) return false;
    QTimer::singleShot(kPageWorkRetryMs, this, again);
    return true;
}

void TLogoAppForm::ShowPanelPage(int tag) {
    if (PanelShown() && m_leftPanel->Page() == tag) return;
    PanelCommand(tag);
}

void TLogoAppForm::UseIslandInView(int32_t position) {
    if (IsWindowBusy()) {
        // After the work that runs now; the panel shows the island in use meanwhile.
        QTimer::singleShot(kPageWorkRetryMs, this, [this, position] { UseIslandInView(position); });
        return;
    }
    if (!m_collection) return;
    WIslands& islands = WIslands::Of(*m_collection);
    if (position > 0 && !islands.IsCalculated()) EnsureIslands(this, *this);
    if (position > islands.IslandCount()) position = 0;
    const int32_t active = ActiveIndividual();
    // Every iterator over the old view lets go before the view changes.
    for (TViewPage* page : m_pages) page->IslandInUseChanged(false);
    for (auto& set : m_columnSets) set->AttachIterator(nullptr);
    if (position > 0)
        islands.UseIsland(position);
    else
        islands.ClearIsland();
    m_scroll->AttachCollection(m_collection.get());
    m_scroll->SetHighlighter(m_highlighter.get());
    for (TViewPage* page : m_pages) page->IslandInUseChanged(true);
    m_islandsPanel->ShowIslandInUse(islands.IslandInUse());
    // The active individual stays when the island holds it.
    if (active > 0 && m_collection->IndividualToView(active) > 0) m_scroll->JumpTo(active);
    Q_EMIT islandInUseChanged(islands.IslandInUse());
    RefreshActivePage();
}

}  // namespace kindrel
