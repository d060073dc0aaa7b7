#include "app/hl_gui_man.h"

#include "app/app_texts.h"
#include "app/message_box.h"
#include "app/pages/page_metrics.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr const char* kNotAConditionString =
    "The clipboard does not hold a condition string of at most 10 conditions.";

QFrame* Line(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WHLGuiBool

WHLGuiBool::WHLGuiBool(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("boolButton"));
    m_button->setAutoRaise(true);
    m_button->setFixedSize(Scaled(this, 35), Scaled(this, 18));
    layout->addWidget(Line(this), 1);
    layout->addWidget(m_button);
    layout->addWidget(Line(this), 1);
    setFixedHeight(Scaled(this, 20));
    SetBoolValue(true);
    connect(m_button, &QToolButton::clicked, this, [this] {
        SetBoolValue(!m_value);
        Q_EMIT changed();
    });
}

void WHLGuiBool::SetBoolValue(bool value) {
    m_value = value;
    m_button->setText(value ? QStringLiteral("And") : QStringLiteral("Or"));
}

// ---------------------------------------------------------------------------------------------
// WHLGuiCond

WHLGuiCond::WHLGuiCond(WHLGuiCondModel& row, QWidget* parent) : QWidget(parent), m_row(row) {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(1, 2, 1, 2);
    outer->setSpacing(2);
    m_sign = new QToolButton(this);
    m_sign->setObjectName(QStringLiteral("signButton"));
    m_sign->setAutoRaise(true);
    m_sign->setFixedSize(Scaled(this, 16), Scaled(this, 17));
    QFont signFont = m_sign->font();
    signFont.setPointSize(12);
    m_sign->setFont(signFont);
    m_sign->setToolTip(QStringLiteral("Negate the condition"));
    outer->addWidget(m_sign, 0, Qt::AlignTop);
    m_layout = new QVBoxLayout;
    m_layout->setSpacing(2);
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("conditionList"));
    m_list->setMaxVisibleItems(20);
    m_list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_list->setMinimumContentsLength(10);
    m_layout->addWidget(m_list);
    m_layout->addStretch(1);
    outer->addLayout(m_layout, 1);
    setFixedHeight(Scaled(this, 50));
    connect(m_sign, &QToolButton::clicked, this, &WHLGuiCond::ToggleSign);
    connect(m_list, &QComboBox::activated, this, &WHLGuiCond::ChooseEntry);
    ShowModel();
}

void WHLGuiCond::Relabel() {
    const QSignalBlocker quiet(m_list);
    const std::vector<std::string> labels = m_row.Labels();
    if (m_list->count() != static_cast<int>(labels.size())) {
        m_list->clear();
        for (const std::string& label : labels) m_list->addItem(QString::fromStdString(label));
    } else {
        for (int i = 0; i < m_list->count(); ++i)
            m_list->setItemText(i, QString::fromStdString(labels[static_cast<size_t>(i)]));
    }
    m_list->setCurrentIndex(m_row.ListIndex());
    m_sign->setText(m_row.Negated() ? QStringLiteral("-") : QStringLiteral("+"));
}

void WHLGuiCond::MakeEditor() {
    if (m_editor && m_editor->State().kind == m_row.EditorKind()) {
        m_editor->SetState(m_row.Option());
        return;
    }
    m_editor.reset();
    m_editor = CreateHLOption(m_row.EditorKind(), this);
    if (!m_editor) return;
    m_editor->setObjectName(QStringLiteral("conditionEditor"));
    m_layout->insertWidget(1, m_editor.get());
    // A new editor on its initial state selects individual 1; a restored one keeps its own.
    WHLOptionState state = m_row.Option();
    m_editor->SetState(state);
    m_editor->AttachContext(m_context);
    m_row.Option() = m_editor->State();
    m_editor->show();
    connect(m_editor.get(), &WHLABSOption::changed, this, [this] {
        m_row.Option() = m_editor->State();
        Q_EMIT changed();
    });
}

void WHLGuiCond::ShowModel() {
    Relabel();
    MakeEditor();
}

void WHLGuiCond::AttachContext(const WHLContext& context) {
    m_context = context;
    if (m_editor) {
        m_editor->AttachContext(context);
        m_row.Option() = m_editor->State();
    }
}

void WHLGuiCond::ToggleSign() {
    m_row.ToggleNegated();
    Relabel();
    Q_EMIT changed();
}

void WHLGuiCond::ChooseEntry(int position) {
    m_row.SetListIndex(position);
    Relabel();
    m_editor.reset();  // a new condition starts with a new editor
    MakeEditor();
    Q_EMIT changed();
}

// ---------------------------------------------------------------------------------------------
// WHLGuiMan

WHLGuiMan::WHLGuiMan(std::vector<int> codes, QWidget* parent)
    : QWidget(parent), m_model(std::move(codes)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("hlToolBar"));
    bar->setFixedHeight(Scaled(this, 24) + 4);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(1, 1, 1, 1);
    m_add = new QPushButton(QStringLiteral("Add"), bar);
    m_add->setObjectName(QStringLiteral("hlAdd"));
    m_delete = new QPushButton(QStringLiteral("Delete"), bar);
    m_delete->setObjectName(QStringLiteral("hlDelete"));
    m_apply = new QPushButton(QStringLiteral("Apply"), bar);
    m_apply->setObjectName(QStringLiteral("hlApply"));
    for (QPushButton* b : {m_add, m_delete, m_apply}) {
        b->setAutoDefault(false);
        barLayout->addWidget(b);
    }
    barLayout->addStretch(1);
    layout->addWidget(bar);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("hlScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* inner = new QWidget(m_scroll);
    auto* rows = new QVBoxLayout(inner);
    rows->setContentsMargins(1, 1, 1, 1);
    rows->setSpacing(0);
    // Ten rows and the nine separators between them, made once and shown or hidden.
    for (int i = 0; i < WHLGuiManModel::kMaxRows; ++i) {
        if (i > 0) {
            auto* separator = new WHLGuiBool(inner);
            separator->setObjectName(QStringLiteral("hlBool%1").arg(i - 1));
            separator->hide();
            rows->addWidget(separator);
            m_separators.push_back(separator);
            connect(separator, &WHLGuiBool::changed, this, [this, separator, i] {
                m_model.SetSeparator(i - 1, separator->BoolValue());
                m_model.Notify();
                UpdateButtons();
            });
        }
        auto* row = new WHLGuiCond(m_model.Row(i), inner);
        row->setObjectName(QStringLiteral("hlCond%1").arg(i));
        row->hide();
        rows->addWidget(row);
        m_rows.push_back(row);
        connect(row, &WHLGuiCond::changed, this, [this] {
            m_model.Notify();
            UpdateButtons();
        });
    }
    rows->addStretch(1);
    m_scroll->setWidget(inner);
    layout->addWidget(m_scroll, 1);

    m_model.onChange = [this] { Q_EMIT changeRequested(); };
    m_model.onApply = [this] {
        UpdateButtons();
        Q_EMIT applyStateChanged();
    };
    connect(m_add, &QPushButton::clicked, this, &WHLGuiMan::Add);
    connect(m_delete, &QPushButton::clicked, this, &WHLGuiMan::Delete);
    connect(m_apply, &QPushButton::clicked, this, &WHLGuiMan::Apply);
    UpdateButtons();
}

WHLGuiMan::~WHLGuiMan() {
    // The rows refer to the model's rows; no handler runs while they go.
    m_model.onChange = nullptr;
    m_model.onApply = nullptr;
}

bool WHLGuiMan::SetHLStrings(const std::string& text) {
    if (!m_model.SetHLStrings(text)) return false;
    ShowRows();
    UpdateButtons();
    return true;
}

void WHLGuiMan::ShowRows() {
    for (int i = 0; i < WHLGuiManModel::kMaxRows; ++i) {
        const bool shown = i < m_model.RowCount();
        if (shown) m_rows[static_cast<size_t>(i)]->ShowModel();
        m_rows[static_cast<size_t>(i)]->setVisible(shown);
        if (i > 0) {
            WHLGuiBool* separator = m_separators[static_cast<size_t>(i - 1)];
            separator->SetBoolValue(m_model.SeparatorIsAnd(i - 1));
            separator->setVisible(shown);
        }
    }
}

void WHLGuiMan::AttachContext(const WHLContext& context) {
    for (WHLGuiCond* row : m_rows) row->AttachContext(context);
}

void WHLGuiMan::SetManual(bool manual) {
    m_model.SetManual(manual);
    UpdateButtons();
}

void WHLGuiMan::Defer(bool defer) {
    m_model.Defer(defer);
    UpdateButtons();
}

void WHLGuiMan::Add() {
    if (!m_model.CanAdd()) {
        WMessageBox::Show(this,
                          QString::fromUtf8(WHLGuiManModel::kTooManyText) +
                              QString::number(WHLGuiManModel::kMaxRows),
                          QString::fromUtf8(kProductName));
        return;
    }
    const int i = m_model.RowCount();
    // Shown before the model notifies, so the owner reads the new row.
    m_model.Row(i).SetHLCondStr({});
    WHLGuiCond* row = m_rows[static_cast<size_t>(i)];
    row->ShowModel();
    row->show();
    if (i > 0) {
        WHLGuiBool* separator = m_separators[static_cast<size_t>(i - 1)];
        separator->SetBoolValue(m_model.SeparatorIsAnd(i - 1));
        separator->show();
    }
    m_model.Add();
    row->List()->setFocus();
    m_scroll->ensureWidgetVisible(row);
    UpdateButtons();
}

void WHLGuiMan::Delete() {
    if (!m_model.CanDelete()) {
        WMessageBox::Show(this, QString::fromUtf8(WHLGuiManModel::kNoMoreText),
                          QString::fromUtf8(kProductName));
        return;
    }
    const int i = m_model.RowCount() - 1;
    m_rows[static_cast<size_t>(i)]->hide();
    if (i > 0) m_separators[static_cast<size_t>(i - 1)]->hide();
    m_model.Delete();
    if (i > 0) m_scroll->ensureWidgetVisible(m_rows[static_cast<size_t>(i - 1)]);
    UpdateButtons();
}

void WHLGuiMan::Apply() {
    m_model.Apply();
    UpdateButtons();
}

void WHLGuiMan::CopyConditionString() {
    QApplication::clipboard()->setText(QString::fromStdString(m_model.HLStrings()));
}

void WHLGuiMan::PasteConditionString() {
    const std::string text = QApplication::clipboard()->text().trimmed().toStdString();
    if (text.empty() || !SetHLStrings(text)) {
        WMessageBox::Show(this, QString::fromUtf8(kNotAConditionString),
                          QString::fromUtf8(kProductName), MessageRecord::kWarning);
        return;
    }
    m_model.Notify();
    UpdateButtons();
}

void WHLGuiMan::UpdateButtons() {
    m_add->setEnabled(m_model.CanAdd());
    m_delete->setEnabled(m_model.CanDelete());
    m_apply->setEnabled(m_model.ApplyEnabled());
    m_apply->setVisible(m_model.ApplyVisible());
    QPalette palette = m_apply->palette();
    palette.setColor(QPalette::ButtonText, m_model.ApplyEnabled() ? Qt::red : Qt::black);
    m_apply->setPalette(palette);
}

void WHLGuiMan::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("hlContextMenu"));
    QAction* add = menu.addAction(QStringLiteral("Add"), this, &WHLGuiMan::Add);
    add->setEnabled(m_model.CanAdd());
    QAction* del = menu.addAction(QStringLiteral("Delete"), this, &WHLGuiMan::Delete);
    del->setEnabled(m_model.CanDelete());
    if (m_model.ApplyVisible()) {
        QAction* apply = menu.addAction(QStringLiteral("Apply"), this, &WHLGuiMan::Apply);
        apply->setEnabled(m_model.ApplyEnabled());
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Copy Condition String"), this,
                   &WHLGuiMan::CopyConditionString);
    menu.addAction(QStringLiteral("Paste Condition String"), this,
                   &WHLGuiMan::PasteConditionString);
    menu.exec(event->globalPos());
}

WHLGuiColMan::WHLGuiColMan(QWidget* parent) : WHLGuiMan(HLColManCodes(), parent) {
    setObjectName(QStringLiteral("hlGuiColMan"));
}

WHLGuiSearchMan::WHLGuiSearchMan(QWidget* parent) : WHLGuiMan(HLSearchManCodes(), parent) {
    setObjectName(QStringLiteral("hlGuiSearchMan"));
}

}  // namespace kindrel
