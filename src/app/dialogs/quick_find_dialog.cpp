#include "app/dialogs/quick_find_dialog.h"

#include "app/dialogs/find_dialog.h"
#include "app/ind_scroll_texts.h"
#include "app/message_box.h"
#include "app/pages/ind_info_panel.h"
#include "app/plain_text.h"
#include "app/selection_button.h"
#include "model/collection.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kindrel {

namespace {

// Digits a typed number may have: more would not fit the count anyway.
constexpr int kMaxDigits = 10;

}  // namespace

TdlgQuickFind::TdlgQuickFind(WFindOrders* orders, WHLGroup* group, WABSCollection* collection,
                             QWidget* parent)
    : QDialog(parent), m_orders(orders), m_group(group), m_collection(collection) {
    setObjectName(QStringLiteral("quickFindDialog"));
    setWindowTitle(QStringLiteral("Quick Find"));
    m_count = collection ? collection->IndividualCount() : 0;
    m_pageStep = std::max(1, m_count / 100);

    auto* layout = new QVBoxLayout(this);
    m_countLabel = new QLabel(
        QStringLiteral("Total Individuals: ") + QLocale().toString(static_cast<qlonglong>(m_count)),
        this);
    m_countLabel->setObjectName(QStringLiteral("countLabel"));
    layout->addWidget(m_countLabel);

    m_bar = new QScrollBar(Qt::Horizontal, this);
    m_bar->setObjectName(QStringLiteral("quickFindScroll"));
    m_bar->setRange(m_count > 0 ? 1 : 0, m_count);
    m_bar->setPageStep(m_pageStep);
    m_bar->setEnabled(m_count > 0);
    layout->addWidget(m_bar);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Index"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("indexEdit"));
    m_edit->setMaxLength(kMaxDigits);
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->installEventFilter(this);
    row->addWidget(m_edit);
    m_numberLabel = new QLabel(this);
    m_numberLabel->setObjectName(QStringLiteral("numberLabel"));
    row->addWidget(m_numberLabel, 1);
    layout->addLayout(row);

    m_panel = new TIndInfoPanel(nullptr, this);
    m_panel->setObjectName(QStringLiteral("quickFindPanel"));
    layout->addWidget(m_panel);

    auto* buttons = new QHBoxLayout;
    m_father = new QPushButton(QStringLiteral("Father"), this);
    m_father->setObjectName(QStringLiteral("fatherButton"));
    m_mother = new QPushButton(QStringLiteral("Mother"), this);
    m_mother->setObjectName(QStringLiteral("motherButton"));
    m_spouses = new WSelectionButton(this);
    m_spouses->setObjectName(QStringLiteral("spousesButton"));
    m_spouses->setText(QStringLiteral("Spouse(s)"));
    m_spouses->SetUpdateCaption(false);
    m_spouses->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_advanced = new QPushButton(QStringLiteral("Advanced Find"), this);
    m_advanced->setObjectName(QStringLiteral("advancedFindButton"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_father, m_mother, m_spouses, m_advanced})
        buttons->addWidget(w);
    layout->addLayout(buttons);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = box->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel = box->button(QDialogButtonBox::Cancel);
    layout->addWidget(box);

    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_bar, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_updating) SetSelected(value);
    });
    connect(m_edit, &QLineEdit::textEdited, this, &TdlgQuickFind::OnTextEdited);
    connect(m_father, &QPushButton::clicked, this, [this] { SetSelected(m_father_n); });
    connect(m_mother, &QPushButton::clicked, this, [this] { SetSelected(m_mother_n); });
    connect(m_spouses, &WSelectionButton::beforeShow, this, &TdlgQuickFind::FillSpouseList);
    connect(m_spouses, &WSelectionButton::itemChanged, this, [this](int tag) {
        if (tag >= 1 && tag <= static_cast<int>(m_spouseNumbers.size()) &&
            m_spouseNumbers[static_cast<size_t>(tag - 1)] > 0)
            SetSelected(m_spouseNumbers[static_cast<size_t>(tag - 1)]);
    });
    connect(m_advanced, &QPushButton::clicked, this, &TdlgQuickFind::RunAdvancedFind);
    SetSelected(m_count > 0 ? 1 : 0);
}

void TdlgQuickFind::SetSelected(int32_t n) {
    m_selected = std::clamp<int32_t>(n, 0, m_count);
    m_updating = true;
    m_edit->setText(m_selected > 0 ? QString::number(m_selected) : QString());
    if (m_selected > 0) m_bar->setValue(m_selected);
    m_updating = false;
    ShowSelection();
}

void TdlgQuickFind::ShowSelection() {
    EnableAll(true);
    m_numberLabel->setText(m_selected > 0 ? QString::number(m_selected) : QString());
    m_panel->Fill(m_collection, m_group, m_selected);
    if (m_collection && m_selected > 0)
        m_panel->setToolTip(
            PlainToolTip(QString::fromStdString(m_collection->SummaryBlock(m_selected))));
    else
        m_panel->setToolTip({});
    m_father_n = m_collection && m_selected > 0 ? m_collection->Father(m_selected) : 0;
    m_mother_n = m_collection && m_selected > 0 ? m_collection->Mother(m_selected) : 0;
    m_father->setEnabled(m_father_n > 0);
    m_mother->setEnabled(m_mother_n > 0);
    m_spouses->setEnabled(m_collection && m_selected > 0 &&
                          HasSpouseOrChildren(*m_collection, m_selected));
    m_advanced->setEnabled(m_collection != nullptr && m_count > 0);
    m_ok->setEnabled(m_selected > 0);
}

void TdlgQuickFind::EnableAll(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_bar, m_father, m_mother, m_spouses,
                                                       m_advanced, m_ok, m_panel})
        w->setEnabled(on && m_count > 0);
}

void TdlgQuickFind::OnTextEdited(const QString& text) {
    if (text.isEmpty()) {
        m_selected = 0;
        ShowSelection();
        return;
    }
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok) return;
    if (n > m_count) {
        // Everything but the edit box is off until the number is corrected.
        EnableAll(false);
        m_selected = 0;
        return;
    }
    m_selected = static_cast<int32_t>(n);
    if (m_selected > 0) {
        m_updating = true;
        m_bar->setValue(m_selected);
        m_updating = false;
    }
    ShowSelection();
}

void TdlgQuickFind::StepBy(int delta) {
    if (m_count < 1) return;
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        if (delta > 0) SetSelected(1);
        return;
    }
    const qlonglong current = text.toLongLong();
    const qlonglong next = current + delta;
    if (next < 1) return;  // below 1: ignored
    SetSelected(static_cast<int32_t>(std::min<qlonglong>(next, m_count)));
}

bool TdlgQuickFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
                StepBy(1);
                return true;
            case Qt::Key_Down:
                StepBy(-1);
                return true;
            case Qt::Key_PageUp:
                StepBy(m_pageStep);
                return true;
            case Qt::Key_PageDown:
                StepBy(-m_pageStep);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgQuickFind::FillSpouseList() {
    m_spouseNumbers.clear();
    if (!m_collection || m_selected < 1) {
        m_spouses->SetItems({});
        return;
    }
    const SelectionList list = SpouseChildrenList(*m_collection, m_selected);
    QStringList items;
    for (const std::string& item : list.items) items << QString::fromStdString(item);
    m_spouseNumbers = list.numbers;
    m_spouses->SetItems(items);
}

void TdlgQuickFind::RunAdvancedFind() {
    if (!m_collection) return;
    TWFindDlg dialog(m_orders, m_group, m_collection, this);
    dialog.SetStart(m_selected > 0 ? m_selected : 1);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || dialog.Chosen() < 1) return;
    SetSelected(dialog.Chosen());
    accept();
}

}  // namespace kindrel
