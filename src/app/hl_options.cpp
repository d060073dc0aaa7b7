#include "app/hl_options.h"

#include "app/date_buttons.h"
#include "app/dialogs/date_pick_dialog.h"
#include "app/dialogs/quick_find_dialog.h"
#include "app/message_box.h"
#include "app/pages/page_metrics.h"
#include "app/plain_text.h"
#include "app/selection_button.h"
#include "highlight/hl_catalogue.h"
#include "model/collection.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace kindrel {

namespace {

QHBoxLayout* RowLayout(QWidget* w) {
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    return layout;
}

WSelectionButton* MakeSelection(QWidget* parent, const char* items, const char* name,
                                int width) {
    auto* button = new WSelectionButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetItemString(QString::fromLatin1(items));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedWidth(Scaled(parent, width));
    return button;
}

QToolButton* MakeTool(QWidget* parent, const QString& text, const char* name, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

WHLABSOption::WHLABSOption(int kind, QWidget* parent)
    : QWidget(parent), m_state(HLInitialOption(kind)) {
    setFixedHeight(Scaled(this, 22));
}

void WHLABSOption::SetState(const WHLOptionState& state) {
    const int kind = m_state.kind;  // an editor keeps its kind
    m_state = state;
    m_state.kind = kind;
    m_showing = true;
    ShowState();
    m_showing = false;
}

void WHLABSOption::AttachContext(const WHLContext& context) {
    m_context = context;
}

std::unique_ptr<WHLABSOption> CreateHLOption(int kind, QWidget* parent) {
    switch (kind) {
        case kHLEditorSex:
            return std::make_unique<WHLOptSex>(parent);
        case kHLEditorIndividualGenerations:
        case kHLEditorIndividual:
            return std::make_unique<WHLOptInd>(kind, parent);
        case kHLEditorTextMatch:
        case kHLEditorSoundex:
            return std::make_unique<WHLOptString>(kind, parent);
        case kHLEditorDate:
            return std::make_unique<WHLOptDate>(parent);
        case kHLEditorNumber:
            return std::make_unique<WHLOptInt>(parent);
        case kHLEditorAgeLimit:
            return std::make_unique<WHLOptAgeLimit>(parent);
        case kHLEditorLDSBaptism:
        case kHLEditorLDSEndowment:
        case kHLEditorLDSSealedToParents:
        case kHLEditorLDSSealedToSpouse:
            return std::make_unique<WHLOptLDSDate>(kind, parent);
        default:
            return nullptr;
    }
}

// --- sex ---

WHLOptSex::WHLOptSex(QWidget* parent) : WHLABSOption(kHLEditorSex, parent) {
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("sexList"));
    for (const char* item : kHLSexItems) m_list->addItem(QString::fromLatin1(item));
    RowLayout(this)->addWidget(m_list, 1);
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing) return;
        m_state.choice = std::max(0, index);
        Edited();
    });
    SetState(m_state);
}

void WHLOptSex::ShowState() {
    m_list->setCurrentIndex(std::clamp(m_state.choice, 0, 2));
}

// --- individual ---

WHLOptInd::WHLOptInd(int kind, QWidget* parent) : WHLABSOption(kind, parent) {
    QHBoxLayout* layout = RowLayout(this);
    const bool withGenerations = kind == kHLEditorIndividualGenerations;
    m_find = MakeTool(this, withGenerations ? QStringLiteral("#") : QString(), "findIndividual",
                      QStringLiteral("Choose the individual"));
    if (!withGenerations) m_find->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_previous = MakeTool(this, QString(), "previousIndividual",
                          QStringLiteral("Previous individual"));
    m_previous->setArrowType(Qt::LeftArrow);
    m_next = MakeTool(this, QString(), "nextIndividual", QStringLiteral("Next individual"));
    m_next->setArrowType(Qt::RightArrow);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("individualLabel"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setMinimumWidth(1);
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_find);
    if (withGenerations) layout->addWidget(m_label, 1);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    if (withGenerations) {
        m_generations = new QSpinBox(this);
        m_generations->setObjectName(QStringLiteral("generations"));
        m_generations->setRange(0, kHLMaxGenerations);
        layout->addWidget(m_generations);
        layout->addWidget(new QLabel(QStringLiteral("Gens"), this));
        connect(m_generations, &QSpinBox::valueChanged, this, [this](int value) {
            if (m_showing) return;
            m_state.generations = value;
            Edited();
        });
    } else {
        layout->addWidget(m_label, 1);
    }
    connect(m_find, &QToolButton::clicked, this, &WHLOptInd::PickIndividual);
    connect(m_previous, &QToolButton::clicked, this, [this] { StepIndividual(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { StepIndividual(1); });
    SetState(m_state);
}

int32_t WHLOptInd::Count() const {
    return m_context.collection ? m_context.collection->IndividualCount() : 0;
}

void WHLOptInd::AttachContext(const WHLContext& context) {
    WHLABSOption::AttachContext(context);
    const int32_t count = Count();
    // Nobody to select without individuals; otherwise someone of this collection.
    if (m_state.individual < 1 || m_state.individual > count)
        m_state.individual = count > 0 ? 1 : 0;
    SetState(m_state);
}

bool WHLOptInd::StepIndividual(int delta) {
    const int32_t count = Count();
    if (count < 1) return false;
    const int32_t next = std::clamp<int32_t>(m_state.individual + delta, 1, count);
    if (next == m_state.individual) return false;
    m_state.individual = next;
    ShowState();
    Edited();
    return true;
}

void WHLOptInd::PickIndividual() {
    if (!m_context.collection || Count() < 1) return;
    TdlgQuickFind dialog(m_context.orders, m_context.group ? m_context.group() : nullptr,
                         m_context.collection, this);
    dialog.SetSelected(std::max(1, m_state.individual));
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || dialog.Selected() < 1) return;
    m_state.individual = dialog.Selected();
    ShowState();
    Edited();
}

void WHLOptInd::ShowState() {
    const int32_t n = m_state.individual;
    WABSCollection* collection = m_context.collection;
    const bool known = collection && n >= 1 && n <= collection->IndividualCount();
    if (m_state.kind == kHLEditorIndividualGenerations) {
        m_label->setText(known ? QString::number(n) : QStringLiteral("?"));
        m_label->setToolTip(known ? PlainToolTip(QString::fromStdString(collection->NameBirthText(n)))
                                  : QStringLiteral("None Selected"));
        m_find->setToolTip(m_label->toolTip());
    } else {
        m_label->setText(known ? QString::number(n) + QStringLiteral(" - ") +
                                     QString::fromStdString(collection->DisplayNameOf(n))
                               : QStringLiteral("None Selected"));
        m_label->setToolTip(known ? PlainToolTip(m_label->text()) : QString());
    }
    if (m_generations) m_generations->setValue(m_state.generations);
    const int32_t count = Count();
    m_find->setEnabled(count > 0);
    m_previous->setEnabled(count > 0 && n > 1);
    m_next->setEnabled(count > 0 && n < count);
}

// --- text match, soundex ---

WHLOptString::WHLOptString(int kind, QWidget* parent) : WHLABSOption(kind, parent) {
    QHBoxLayout* layout = RowLayout(this);
    m_mode = MakeSelection(this, kind == kHLEditorSoundex ? kHLSoundexItems : kHLMatchItems,
                           "matchMode", 60);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("matchText"));
    // The condition string has no escape for ":" and ";".
    m_text->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^:;]*")), m_text));
    m_text->setToolTip(QStringLiteral("The text to compare (\":\" and \";\" cannot be used)"));
    layout->addWidget(m_mode);
    layout->addWidget(m_text, 1);
    connect(m_mode, &WSelectionButton::itemChanged, this, [this](int tag) {
        m_state.choice = tag;
        Edited();
    });
    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_showing) return;
        m_state.text = HLCleanMatchText(text.toStdString());
        Edited();
    });
    SetState(m_state);
}

void WHLOptString::ShowState() {
    m_mode->SetSelectedItem(std::max(1, m_state.choice));
    if (QString::fromStdString(m_state.text) != m_text->text().trimmed())
        m_text->setText(QString::fromStdString(m_state.text));
}

// --- date ---

WHLOptDate::WHLOptDate(QWidget* parent) : WHLABSOption(kHLEditorDate, parent) {
    QHBoxLayout* layout = RowLayout(this);
    m_calendar = MakeTool(this, QString(), "calendarButton", QStringLiteral("Choose the date"));
    m_calendar->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_qualifier = MakeSelection(this, kHLDateItems, "dateQualifier", 40);
    m_entry = new WDateButtons(this);
    m_entry->setObjectName(QStringLiteral("dateEntry"));
    layout->addWidget(m_calendar);
    layout->addWidget(m_qualifier);
    layout->addWidget(m_entry);
    layout->addStretch(1);
    connect(m_calendar, &QToolButton::clicked, this, &WHLOptDate::PickDate);
    connect(m_qualifier, &WSelectionButton::itemChanged, this, [this](int tag) {
        m_state.choice = tag;
        Edited();
    });
    connect(m_entry, &WDateButtons::changed, this, [this] {
        if (m_showing) return;
        m_state.day = m_entry->Day();
        m_state.month = m_entry->Month();
        m_state.year = m_entry->Year();
        Edited();
    });
    SetState(m_state);
}

void WHLOptDate::PickDate() {
    TdlgDatePick dialog(this);
    dialog.SetDate(std::max(1, m_state.day), std::max(1, m_state.month), m_state.year);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return;
    m_state.day = dialog.Day();
    m_state.month = dialog.Month();
    m_state.year = dialog.Year();
    SetState(m_state);
    Edited();
}

void WHLOptDate::ShowState() {
    m_qualifier->SetSelectedItem(std::max(1, m_state.choice));
    m_entry->SetDate(m_state.day, m_state.month, m_state.year);
}

// --- number ---

WHLOptInt::WHLOptInt(QWidget* parent) : WHLABSOption(kHLEditorNumber, parent) {
    QHBoxLayout* layout = RowLayout(this);
    m_operator = MakeSelection(this, kHLNumberItems, "numberOperator", 40);
    m_value = new QSpinBox(this);
    m_value->setObjectName(QStringLiteral("numberValue"));
    m_value->setRange(0, kHLMaxNumber);
    layout->addWidget(m_operator);
    layout->addWidget(m_value, 1);
    connect(m_operator, &WSelectionButton::itemChanged, this, [this](int tag) {
        m_state.choice = tag;
        Edited();
    });
    connect(m_value, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_showing) return;
        m_state.number = value;
        Edited();
    });
    SetState(m_state);
}

void WHLOptInt::ShowState() {
    m_operator->SetSelectedItem(std::max(1, m_state.choice));
    m_value->setValue(m_state.number);
}

// --- age limit ---

WHLOptAgeLimit::WHLOptAgeLimit(QWidget* parent) : WHLABSOption(kHLEditorAgeLimit, parent) {
    QHBoxLayout* layout = RowLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Age Limit"), this));
    m_limit = new QSpinBox(this);
    m_limit->setObjectName(QStringLiteral("ageLimit"));
    m_limit->setRange(kHLMinAgeLimit, kHLMaxAgeLimit);
    layout->addWidget(m_limit, 1);
    connect(m_limit, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_showing) return;
        m_state.ageLimit = value;
        Edited();
    });
    SetState(m_state);
}

void WHLOptAgeLimit::ShowState() {
    m_limit->setValue(m_state.ageLimit);
}

// --- LDS status ---

WHLOptLDSDate::WHLOptLDSDate(int kind, QWidget* parent) : WHLABSOption(kind, parent) {
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("ldsList"));
    for (const std::string& item : HLLdsItems(kind)) m_list->addItem(QString::fromStdString(item));
    RowLayout(this)->addWidget(m_list, 1);
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing) return;
        m_state.choice = index + 1;
        Edited();
    });
    SetState(m_state);
}

void WHLOptLDSDate::ShowState() {
    m_list->setCurrentIndex(std::clamp(m_state.choice - 1, 0, m_list->count() - 1));
}

}  // namespace kindrel
