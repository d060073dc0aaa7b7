// The main window's finding and highlighting: the tool bar's find box with Find Next and Find
// Previous, the Quick Find and Find Individual dialogs, the highlighting panel in the left
// panel and the strip under the tabs that says what is highlighted.
#include "app/main_window.h"

#include "app/dialogs/find_dialog.h"
#include "app/dialogs/quick_find_dialog.h"
#include "app/find_state.h"
#include "app/hl_gui_man.h"
#include "app/ind_scroll.h"
#include "app/left_panel.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/qt_colours.h"
#include "app/quick_find_hook.h"
#include "app/wait_dialog.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr const char* kSortingText = "Sorting.  Please Wait...";
constexpr const char* kPressApplyText = "Please press the Apply button";
constexpr const char* kSelectConditionText = "Please select a condition";
constexpr const char* kStripPrefix = "Highlight Individuals: ";
constexpr int kFindMaxLength = 40;

QString FindKindText(int kind, bool gedcom) {
    switch (kind) {
        case WFindState::kRef:
            return gedcom ? QStringLiteral("Find REF:") : QStringLiteral("Find RIN:");
        case WFindState::kSurname:
            return QStringLiteral("Find Surname:");
        case WFindState::kGiven:
            return QStringLiteral("Find Given:");
        default:
            return QStringLiteral("Find Index:");
    }
}

}  // namespace

void TLogoAppForm::ConnectFind() {
    TMainCommands& c = *m_commands;
    m_findOrders = std::make_unique<WFindOrders>();
    m_find = std::make_unique<WFindState>(m_findOrders.get());
    // The list pages open quick find through this hook, over this window's orders and group.
    QuickFindHook() = [window = QPointer<TLogoAppForm>(this)](QWidget* owner, TViewContext&,
                                                              int32_t start) -> int32_t {
        if (!window || !window->m_collection || window->IsWindowBusy()) return 0;
        TdlgQuickFind dialog(window->m_findOrders.get(), window->m_highlighter.get(),
                             window->m_collection.get(), owner);
        dialog.SetSelected(std::max(1, start));
        if (WDialogRunner::Run(dialog) != QDialog::Accepted) return 0;
        return dialog.Selected();
    };
    m_findOrders->onSort = [this](bool starting) {
        m_findSorting = starting;
        if (starting)
            TWaitDlg::ShowWait(QString::fromUtf8(kSortingText), false, false, this);
        else
            TWaitDlg::HideWait();
    };

    // The find box: kind, text, Find Next and Find Previous in the tool bar.
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("mainToolBar"))) {
        bar->addSeparator();
        m_findKind = new QComboBox(bar);
        m_findKind->setObjectName(QStringLiteral("findKind"));
        for (int kind = 1; kind <= 4; ++kind) m_findKind->addItem(FindKindText(kind, true), kind);
        m_findEdit = new QLineEdit(bar);
        m_findEdit->setObjectName(QStringLiteral("findEdit"));
        m_findEdit->setMaxLength(kFindMaxLength);
        m_findEdit->setClearButtonEnabled(true);
        m_findEdit->setFixedWidth(160);
        m_findEdit->setToolTip(QStringLiteral("Type to find; Ctrl+N finds the next"));
        bar->addWidget(m_findKind);
        bar->addWidget(m_findEdit);
        bar->addAction(c.findNext);
        bar->addAction(c.findPrevious);
    }
    c.findNext->setToolTip(QStringLiteral("Find Next"));
    c.findPrevious->setToolTip(QStringLiteral("Find Previous"));
    connect(m_findKind, &QComboBox::activated, this,
            [this](int index) { SetFindKind(m_findKind->itemData(index).toInt()); });
    connect(m_findEdit, &QLineEdit::textChanged, this, &TLogoAppForm::FindTextChanged);
    connect(c.findNext, &QAction::triggered, this, &TLogoAppForm::FindNextExecute);
    connect(c.findPrevious, &QAction::triggered, this, &TLogoAppForm::FindPreviousExecute);
    connect(c.quickFind, &QAction::triggered, this, &TLogoAppForm::QuickFindExecute);
    connect(c.advancedFind, &QAction::triggered, this, &TLogoAppForm::AdvancedFindExecute);
    connect(m_scroll, &WIndScroll::changed, this, &TLogoAppForm::RefillFindBox);
    const int kind = Options().ReadInt(Opt::QFind);
    m_find->SetKind(kind);
    m_findKind->setCurrentIndex(m_find->Kind() - 1);

    // The highlighting panel and the strip under the tabs.
    m_hlPanel = new WHLGuiColMan(m_leftPanel->HighlightingPage());
    auto* panelLayout = new QVBoxLayout(m_leftPanel->HighlightingPage());
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_hlPanel);
    m_hlPanel->SetManual(Options().ReadBool(Opt::HLManual));
    connect(m_hlPanel, &WHLGuiMan::changeRequested, this, &TLogoAppForm::HighlightingChange);
    connect(m_hlPanel, &WHLGuiMan::applyStateChanged, this, &TLogoAppForm::UpdateHighlightStrip);

    m_hlStrip = new QLabel(m_mainArea);
    m_hlStrip->setObjectName(QStringLiteral("highlightStrip"));
    m_hlStrip->setTextFormat(Qt::PlainText);
    m_hlStrip->setWordWrap(true);
    m_hlStrip->setAutoFillBackground(true);
    m_hlStrip->setContentsMargins(6, 2, 6, 2);
    m_hlStrip->hide();
    if (auto* layout = qobject_cast<QVBoxLayout*>(m_mainArea->layout()))
        layout->insertWidget(layout->indexOf(m_pageStack), m_hlStrip);
}

void TLogoAppForm::UpdateFindCommands() {
    TMainCommands& c = *m_commands;
    const bool open = m_collection != nullptr && !IsWindowBusy();
    const bool people = open && m_collection->IndividualCount() > 0;
    c.quickFind->setEnabled(people);
    c.advancedFind->setEnabled(people);
    c.findNext->setEnabled(people && m_find && m_find->CanStep());
    c.findPrevious->setEnabled(people && m_find && m_find->CanStep() &&
                               m_find->FirstRow() > 0);
    c.highlightingPanel->setEnabled(m_collection != nullptr && !m_busy);
    if (m_findEdit) m_findEdit->setEnabled(m_collection != nullptr && !m_busy);
}

void TLogoAppForm::ForgetFind() {
    // The orders and the panel's context point into the collection that is about to go.
    if (m_findOrders) m_findOrders->Reset(nullptr);
    if (m_find) m_find->Reset();
    if (m_hlPanel) m_hlPanel->AttachContext({});
}

void TLogoAppForm::AttachFind() {
    if (!m_findOrders) return;
    m_findOrders->Reset(m_collection.get());
    m_find->SetKind(m_find->Kind());
    const bool gedcom = m_collection && m_collection->Kind() == kKindGedcom;
    m_findKind->setItemText(1, FindKindText(WFindState::kRef, gedcom));
    WHLContext context;
    context.collection = m_collection.get();
    context.orders = m_findOrders.get();
    context.group = [this] { return m_highlighter.get(); };
    m_hlPanel->AttachContext(context);
    m_hlPanel->SetHLStrings("1");
    UpdateHighlightStrip();
}

void TLogoAppForm::SetFindKind(int kind) {
    m_find->SetKind(kind);
    Options().WriteInt(Opt::QFind, m_find->Kind());
    m_findKind->setCurrentIndex(m_find->Kind() - 1);
    {
        const QSignalBlocker quiet(m_findEdit);
        m_findEdit->clear();
    }
    RefillFindBox();
}

void TLogoAppForm::RefillFindBox() {
    if (!m_find || m_findJumping || m_findSorting || !m_findEdit) return;
    const std::string text = m_find->RefillText(ActiveIndividual());
    m_findRefilling = true;
    m_findEdit->setText(QString::fromStdString(text));
    m_findRefilling = false;
    UpdateFindCommands();
}

bool TLogoAppForm::FindJump(int32_t individual) {
    if (individual <= 0) return false;
    const int32_t before = ActiveIndividual();
    m_findJumping = true;
    JumpToIndividual(individual);
    m_findJumping = false;
    return ActiveIndividual() != before;
}

void TLogoAppForm::FindTextChanged() {
    if (m_findRefilling || !m_collection || m_busy) return;
    if (m_findSorting) {
        // Searched once the sort has ended.
        m_findPending = true;
        return;
    }
    int32_t n = 0;
    try {
        n = m_find->Search(m_findEdit->text().toStdString());
    } catch (const std::exception& e) {
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
    }
    if (!m_collection) return;  // the window let go of the file meanwhile
    if (m_findPending) {
        m_findPending = false;
        FindTextChanged();
        return;
    }
    FindJump(n);
    UpdateFindCommands();
}

bool TLogoAppForm::FindNextExecute() {
    if (!m_collection || !m_find || m_findSorting) return false;
    int32_t n = 0;
    try {
        n = m_find->Next();
    } catch (const std::exception& e) {
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
    }
    const bool moved = FindJump(n);
    UpdateFindCommands();
    return moved;
}

bool TLogoAppForm::FindPreviousExecute() {
    if (!m_collection || !m_find || m_findSorting) return false;
    const bool moved = FindJump(m_find->Previous());
    UpdateFindCommands();
    return moved;
}

bool TLogoAppForm::QuickFindExecute() {
    if (!m_collection || IsWindowBusy() || m_collection->IndividualCount() < 1) return false;
    TdlgQuickFind dialog(m_findOrders.get(), m_highlighter.get(), m_collection.get(), this);
    dialog.SetSelected(std::max(1, ActiveIndividual()));
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || !m_collection) return false;
    return FindJump(dialog.Selected());
}

bool TLogoAppForm::AdvancedFindExecute() {
    if (!m_collection || IsWindowBusy() || m_collection->IndividualCount() < 1) return false;
    TWFindDlg dialog(m_findOrders.get(), m_highlighter.get(), m_collection.get(), this);
    dialog.SetStart(std::max(1, ActiveIndividual()));
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || !m_collection) return false;
    return FindJump(dialog.Chosen());
}

void TLogoAppForm::HighlightingChange() {
    if (!m_collection) return;
    // Edits made while the group recalculates are held back and passed on once after it.
    m_hlPanel->Defer(true);
    SetHighlightConditions(m_hlPanel->HLStrings());
    UpdateHighlightStrip();
    m_hlPanel->Defer(false);
}

bool TLogoAppForm::ShowHighlightConditions(const std::string& conditions) {
    // A string the panel cannot show (more than ten conditions) is still applied.
    const bool shown = m_hlPanel->SetHLStrings(conditions);
    const bool ok = SetHighlightConditions(conditions);
    UpdateHighlightStrip();
    return ok && shown;
}

void TLogoAppForm::UpdateHighlightStrip() {
    if (!m_hlStrip) return;
    QString text;
    if (m_hlPanel->ManualChangePending()) {
        text = QString::fromUtf8(kPressApplyText);
    } else {
        if (m_highlighter && m_highlighter->RuleCount() > 0)
            text = QString::fromStdString(m_highlighter->Describe());
        if (text.isEmpty() && m_hlPanel->RowCount() > 1)
            text = QString::fromUtf8(kSelectConditionText);
    }
    if (text.isEmpty() || !Options().ReadBool(Opt::HLText) || !m_collection) {
        m_hlStrip->hide();
        return;
    }
    m_hlStrip->setText(QString::fromUtf8(kStripPrefix) + text);
    QPalette palette = m_hlStrip->palette();
    palette.setColor(QPalette::Window, ToQColor(static_cast<uint32_t>(Options().ReadInt(Opt::HLCol))));
    palette.setColor(QPalette::WindowText,
                     ToQColor(static_cast<uint32_t>(Options().ReadInt(Opt::HLTCol))));
    m_hlStrip->setPalette(palette);
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    m_hlStrip->setMinimumHeight(lines == 1 ? 19 : 14 * lines + 5);
    m_hlStrip->show();
}

}  // namespace kindrel
