#include "app/ind_scroll.h"

#include "app/ind_scroll_texts.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "app/wait_dialog.h"
#include "highlight/hl_group.h"
#include "model/collection.h"

#include <QApplication>
#include <QElapsedTimer>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr int kHintPauseMs = 30000;

// The label's look; silver with black text when the individual is not highlighted.
QString LabelStyle(const QColor& background, const QColor& text) {
    return QStringLiteral(
               "QLabel#scrollLabel { background: %1; color: %2; border: 1px solid "
               "#a0a0a0; padding: 1px 4px; }")
        .arg(background.name(), text.name());
}

// Events are processed this often while Next / Previous Highlighted searches: well inside the
// tenth of a second after which the window would feel stuck.
constexpr int kSearchPumpMs = 40;
constexpr const char* kNoMoreHighlighted = "No more highlighted individuals";

QToolButton* MakeButton(const QString& text, const char* name, const QString& hint,
                        QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFixedWidth(28);
    return button;
}

}  // namespace

WIndScroll::WIndScroll(QWidget* parent)
    : QWidget(parent), m_history([this](int32_t individual) { MoveTo(individual); }) {
    setObjectName(QStringLiteral("indScroll"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 2);
    layout->setSpacing(3);

    auto* top = new QHBoxLayout;
    top->setSpacing(3);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("scrollLabel"));
    m_label->setStyleSheet(LabelStyle(ToQColor(kSilverColour), Qt::black));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSize(10);
    labelFont.setBold(true);
    m_label->setFont(labelFont);
    // The summary hint is long: it stays up for 30 seconds.
    m_label->setToolTipDuration(kHintPauseMs);
    top->addWidget(m_label, 1);
    m_father = MakeButton(QStringLiteral("F"), "fatherButton", QString(), this);
    m_mother = MakeButton(QStringLiteral("M"), "motherButton", QString(), this);
    m_spouse = new WSelectionButton(this);
    m_spouse->setObjectName(QStringLiteral("spouseButton"));
    m_spouse->setText(QStringLiteral("S"));
    m_spouse->setToolTip(QStringLiteral("Spouses and children"));
    m_spouse->setFixedWidth(28);
    m_spouse->SetUpdateCaption(false);
    m_spouseMenu = m_spouse->Menu();
    m_spouseMenu->setObjectName(QStringLiteral("spouseMenu"));
    // The child lines align their years in columns.
    m_spouseMenu->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    top->addWidget(m_father);
    top->addWidget(m_mother);
    top->addWidget(m_spouse);
    layout->addLayout(top);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(3);
    m_previousHighlighted = MakeButton(QString(), "previousHighlightedButton",
                                       QStringLiteral("Previous Highlighted Individual"), this);
    m_previousHighlighted->setArrowType(Qt::LeftArrow);
    m_nextHighlighted = MakeButton(QString(), "nextHighlightedButton",
                                   QStringLiteral("Next Highlighted Individual"), this);
    m_nextHighlighted->setArrowType(Qt::RightArrow);
    // Enabled only while a highlighter group is attached.
    m_previousHighlighted->setEnabled(false);
    m_nextHighlighted->setEnabled(false);
    m_bar = new QScrollBar(Qt::Horizontal, this);
    m_bar->setObjectName(QStringLiteral("scrollBar"));
    m_bar->setTracking(true);
    bottom->addWidget(m_previousHighlighted);
    bottom->addWidget(m_bar, 1);
    bottom->addWidget(m_nextHighlighted);
    layout->addLayout(bottom);

    connect(m_bar, &QScrollBar::valueChanged, this, &WIndScroll::OnValueChanged);
    connect(m_bar, &QScrollBar::sliderReleased, this, &WIndScroll::OnSliderReleased);
    connect(m_nextHighlighted, &QToolButton::clicked, this, &WIndScroll::NextHighlighted);
    connect(m_previousHighlighted, &QToolButton::clicked, this, &WIndScroll::PreviousHighlighted);
    connect(m_father, &QToolButton::clicked, this, &WIndScroll::JumpToFather);
    connect(m_mother, &QToolButton::clicked, this, &WIndScroll::JumpToMother);
    connect(m_spouse, &WSelectionButton::beforeShow, this, &WIndScroll::FillSpouseMenu);
    connect(m_spouse, &WSelectionButton::itemChanged, this,
            [this](int tag) { ChooseSpouseItem(tag - 1); });

    AttachCollection(nullptr);
}

void WIndScroll::AttachCollection(WABSCollection* collection) {
    m_collection = collection;
    ++m_generation;
    if (!collection) SetHighlighter(nullptr);
    m_history.Reset(1);
    const int count = collection ? collection->ViewCount() : 0;
    {
        const QSignalBlocker block(m_bar);
        m_bar->setRange(count >= 1 ? 1 : 0, count >= 1 ? count : 0);
        m_bar->setPageStep(std::max(1, count / 100));
        m_bar->setSingleStep(1);
        m_bar->setValue(count >= 1 ? 1 : 0);
    }
    m_bar->setEnabled(count >= 1);
    UpdateDisplay();
    Q_EMIT historyChanged();
    Q_EMIT changed();
}

int32_t WIndScroll::Current() const {
    if (!m_collection || m_bar->maximum() < 1) return 0;
    return m_collection->ViewToIndividual(m_bar->value());
}

int32_t WIndScroll::PositionOf(int32_t individual) const {
    if (!m_collection || individual <= 0 || individual > m_collection->IndividualCount()) return 0;
    const int32_t position = m_collection->IndividualToView(individual);
    return position >= 1 && position <= m_bar->maximum() ? position : 0;
}

void WIndScroll::MoveTo(int32_t individual) {
    const int32_t position = PositionOf(individual);
    if (position <= 0) return;
    m_programmatic = true;
    m_bar->setValue(position);
    m_programmatic = false;
    UpdateDisplay();
    Q_EMIT changed();
}

bool WIndScroll::JumpTo(int32_t individual) {
    if (PositionOf(individual) <= 0) return false;
    m_history.Jump(individual);
    Q_EMIT historyChanged();
    return true;
}

bool WIndScroll::JumpToFather() {
    return m_fatherNumber != 0 && JumpTo(m_fatherNumber);
}

bool WIndScroll::JumpToMother() {
    return m_motherNumber != 0 && JumpTo(m_motherNumber);
}

bool WIndScroll::GoBack() {
    if (!m_collection) return false;
    const bool moved = m_history.GoBack(Current());
    Q_EMIT historyChanged();
    return moved;
}

bool WIndScroll::GoForward() {
    if (!m_collection) return false;
    const bool moved = m_history.GoForward(Current());
    Q_EMIT historyChanged();
    return moved;
}

void WIndScroll::OnValueChanged(int) {
    if (m_programmatic) return;  // MoveTo updates and notifies itself
    // Live thumb tracking refreshes the pages but leaves the history alone; the release of
    // the thumb counts as the move.
    if (!m_bar->isSliderDown()) {
        m_history.UserMoved(Current());
        Q_EMIT historyChanged();
    }
    UpdateDisplay();
    Q_EMIT changed();
}

void WIndScroll::OnSliderReleased() {
    const int32_t current = Current();
    if (current == 0 || current == m_history.Previous()) return;
    m_history.UserMoved(current);
    Q_EMIT historyChanged();
}

void WIndScroll::UpdateDisplay() {
    m_spouseNumbers.clear();
    const int32_t n = Current();
    UpdateLabelColours(n);
    if (!m_collection || n == 0) {
        m_label->clear();
        m_label->setToolTip(QString());
        m_fatherNumber = m_motherNumber = 0;
        m_father->setEnabled(false);
        m_mother->setEnabled(false);
        m_spouse->setEnabled(false);
        m_father->setToolTip(QString());
        m_mother->setToolTip(QString());
        return;
    }
    m_label->setText(QString::fromStdString(ScrollLabelText(*m_collection, n)));
    m_label->setToolTip(PlainToolTip(QString::fromStdString(m_collection->SummaryBlock(n))));
    m_fatherNumber = m_collection->Father(n);
    m_motherNumber = m_collection->Mother(n);
    m_father->setEnabled(m_fatherNumber != 0);
    m_mother->setEnabled(m_motherNumber != 0);
    m_father->setToolTip(m_fatherNumber ? PlainToolTip(QString::fromStdString(
                                              m_collection->DisplayNameOf(m_fatherNumber)))
                                        : QString());
    m_mother->setToolTip(m_motherNumber ? PlainToolTip(QString::fromStdString(
                                              m_collection->DisplayNameOf(m_motherNumber)))
                                        : QString());
    m_spouse->setEnabled(HasSpouseOrChildren(*m_collection, n));
}

void WIndScroll::FillSpouseMenu() {
    m_spouseNumbers.clear();
    QStringList items;
    if (m_collection) {
        // Items stay a list: a name holding ";", "&" or a lone "-" keeps its place.
        const SelectionList list = SpouseChildrenList(*m_collection, Current());
        m_spouseNumbers = list.numbers;
        for (const std::string& item : list.items) items << QString::fromStdString(item);
    }
    m_spouse->SetItems(items);
}

QStringList WIndScroll::SpouseItems() const {
    QStringList items;
    if (!m_collection) return items;
    for (const std::string& item : SpouseChildrenList(*m_collection, Current()).items)
        items << QString::fromStdString(item);
    return items;
}

void WIndScroll::ChooseSpouseItem(int k) {
    if (!m_collection) return;
    if (m_spouseNumbers.empty())
        m_spouseNumbers = SpouseChildrenList(*m_collection, Current()).numbers;
    if (k < 0 || static_cast<size_t>(k) >= m_spouseNumbers.size()) return;
    const int32_t target = m_spouseNumbers[static_cast<size_t>(k)];
    m_spouseNumbers.clear();
    JumpTo(target);
}

void WIndScroll::SetHighlighter(WHLGroup* group) {
    m_group = group;
    ++m_generation;
    m_previousHighlighted->setEnabled(group != nullptr);
    m_nextHighlighted->setEnabled(group != nullptr);
    UpdateLabelColours(Current());
}

void WIndScroll::UpdateLabelColours(int32_t n) {
    QString style;
    if (m_collection && n > 0 && IsPersonHighlighted(m_group, n)) {
        const WColourPair colours = PersonColours(m_group, n);
        style = LabelStyle(ToQColor(colours.background), ToQColor(colours.text));
    } else {
        style = LabelStyle(ToQColor(kSilverColour), Qt::black);
    }
    if (m_label->styleSheet() != style) m_label->setStyleSheet(style);
}

bool WIndScroll::NextHighlighted() {
    return StepHighlighted(1);
}

bool WIndScroll::PreviousHighlighted() {
    return StepHighlighted(-1);
}

bool WIndScroll::StepHighlighted(int direction) {
    if (!m_collection || !m_group || m_searching || m_bar->maximum() < 1) return false;
    m_searching = true;
    const unsigned generation = m_generation;
    const int32_t count = m_bar->maximum();
    int32_t found = 0;
    QElapsedTimer pump;
    pump.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (int32_t position = m_bar->value() + direction; position >= 1 && position <= count;
         position += direction) {
        if (m_group->IsHighlighted(m_collection->ViewToIndividual(position))) {
            found = position;
            break;
        }
        if (pump.elapsed() >= kSearchPumpMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            pump.restart();
            // The collection or the group went while events ran: the search is void.
            if (generation != m_generation) break;
        }
    }
    QApplication::restoreOverrideCursor();
    m_searching = false;
    if (generation != m_generation) return false;
    if (found == 0) {
        FlashMessage(window(), QString::fromUtf8(kNoMoreHighlighted));
        return false;
    }
    return JumpTo(m_collection->ViewToIndividual(found));
}

void WIndScroll::SetLabelFontSize(int points) {
    QFont font = m_label->font();
    font.setPointSize(std::max(4, points));
    m_label->setFont(font);
}

}  // namespace kindrel
