// The window's side of the Options dialog: storing what OK gives, and bringing the window in
// line with it (names, highlighting, islands, font size).
#include "app/main_window.h"

#include "analysis/islands.h"
#include "app/app_texts.h"
#include "app/dialogs/options_dialog.h"
#include "app/ind_scroll.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/viewer_settings.h"
#include "app/wait_dialog.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "model/display_options.h"
#include "services/options.h"

#include <QAction>
#include <QApplication>
#include <QStackedWidget>

namespace kindrel {

namespace {

constexpr const char* kCalculatingText = "Calculating.  Please Wait...";

}  // namespace

void TLogoAppForm::ConnectOptions() {
    m_commands->options->setEnabled(true);
    connect(m_commands->options, &QAction::triggered, this, [this] { ShowOptions(); });
}

void TLogoAppForm::ApplyFontSize() {
    QFont font = m_pageStack->font();
    font.setPointSize(StoredFontSize(Options()));
    m_pageStack->setFont(font);
}

bool TLogoAppForm::ShowOptions() {
    if (IsWindowBusy()) return false;
    TOptionsDlg dialog(Options(), this);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    WOptions& options = Options();
    const bool witnessBefore = options.ReadBool(Opt::IslandWit);
    dialog.Store(options);
    try {
        options.Flush();
    } catch (const std::exception& e) {
        // Kept in memory and written at the next chance.
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kWarning);
    }
    LoadDisplayOptions(options, Display());
    ApplyFontSize();
    if (m_collection && options.ReadBool(Opt::IslandWit) != witnessBefore) {
        // Islands joined through witnesses or not: worked out again when next needed.
        WIslands& islands = WIslands::Of(*m_collection);
        if (!islands.IsCalculating()) {
            islands.SetUseWitnessLinks(options.ReadBool(Opt::IslandWit));
            if (islands.IsCalculated()) islands.CalculateIslands();
        }
    }
    if (m_highlighter) {
        // The answers depend on the age and LDS options.
        m_highlighting = true;
        TWaitDlg::ShowWait(QString::fromUtf8(kCalculatingText), false, false, this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::string error;
        try {
            m_highlighter->Recalculate();
        } catch (const std::exception& e) {
            error = e.what();
        }
        QApplication::restoreOverrideCursor();
        TWaitDlg::HideWait();
        m_highlighting = false;
        m_scroll->SetHighlighter(m_highlighter.get());
        if (!error.empty())
            WMessageBox::Show(this, error, std::string(kProductName), MessageRecord::kError);
    }
    m_scroll->RefreshLabel();
    // Names, ages and sort keys all change: every page is rebuilt, not only repainted.
    for (TViewPage* page : m_pages) page->DisplayOptionsChanged();
    RefreshActivePage();
    return true;
}

}  // namespace kindrel
