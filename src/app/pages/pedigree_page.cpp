#include "app/pages/pedigree_page.h"

#include "app/app_texts.h"
#include "app/family_group.h"
#include "app/message_box.h"
#include "app/page_copy.h"
#include "app/page_texts.h"
#include "app/pages/ind_info_panel.h"
#include "app/pages/page_metrics.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "model/collection.h"
#include "services/options.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace kindrel {

namespace {

// Layout at 96 dpi.
constexpr int kMargin = 8;
constexpr int kColumnGap = 24;                               // between generation columns
constexpr int kRowGap = 8;                                   // between outermost panels
constexpr int kColumnWidths[5] = {160, 160, 160, 160, 180};  // per generation
constexpr int kLinesShown[5] = {3, 3, 3, 2, 1};              // per generation
constexpr int kPlusGap = 4;
constexpr int kPlusSize = 18;
constexpr int kPaneWidth = 200;
constexpr int kLdsColumn = 9;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Draws a list item in the person's colours: "+", the qualifier and year, the given names at
// 2 x FontSize + 31 pixels, and the LDS marks in four columns at the right.
class TPedigreeItemDelegate : public QStyledItemDelegate {
  public:
    TPedigreeItemDelegate(TPedigreeListModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.row() >= m_model->rowCount()) return;
        const PedigreeListItem& item = m_model->Items()[static_cast<size_t>(index.row())];
        const QWidget* view = option.widget;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, index.data(Qt::BackgroundRole).value<QColor>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->setFont(option.font);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        // The names start 2 x FontSize + 31 pixels in, or further when this font needs more
        // room for "+", a qualifier letter and a year.
        const QFontMetrics& metrics = option.fontMetrics;
        const int needed = Scaled(view, 2) + metrics.horizontalAdvance(QStringLiteral("+ e0000")) +
                           Scaled(view, 4);
        const int nameLeft = std::max(Scaled(view, 2 * SettingFontSize() + 31), needed);
        const int ldsWidth = item.lds.empty() ? 0 : 4 * Scaled(view, kLdsColumn);
        painter->drawText(r.adjusted(Scaled(view, 2), 0, 0, 0), flags, Text(item.plus));
        // The year right-aligned before the names, its qualifier letter just before it.
        const int yearRight = r.left() + nameLeft - Scaled(view, 4);
        const int yearWidth = metrics.horizontalAdvance(QStringLiteral("0000"));
        const QRect year(yearRight - yearWidth, r.top(), yearWidth, r.height());
        painter->drawText(year, Qt::AlignRight | Qt::AlignVCenter, Text(item.year));
        painter->drawText(QRect(r.left(), r.top(), year.left() - r.left() - 1, r.height()),
                          Qt::AlignRight | Qt::AlignVCenter, Text(item.qualifier));
        const QRect name(r.left() + nameLeft, r.top(),
                         std::max(0, r.width() - nameLeft - ldsWidth - 2), r.height());
        painter->drawText(
            name, flags,
            option.fontMetrics.elidedText(Text(item.given), Qt::ElideRight, name.width()));
        for (size_t i = 0; i < item.lds.size() && i < 4; ++i) {
            const QRect cell(r.right() - ldsWidth + static_cast<int>(i) * ldsWidth / 4, r.top(),
                             ldsWidth / 4, r.height());
            painter->drawText(cell, Qt::AlignCenter, QString(QLatin1Char(item.lds[i])));
        }
        if (option.state & QStyle::State_Selected) {
            // The selected item is framed; its colours stay the person's.
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
            painter->drawRect(r.adjusted(1, 1, -1, -1));
        }
        painter->restore();
    }

  private:
    TPedigreeListModel* m_model;
};

}  // namespace

// --- TPedigreeListModel ---

TPedigreeListModel::TPedigreeListModel(TViewContext& context, QObject* parent)
    : QAbstractListModel(parent), m_context(context) {}

void TPedigreeListModel::SetItems(std::vector<PedigreeListItem> items) {
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

void TPedigreeListModel::ColoursChanged() {
    if (m_items.empty()) return;
    Q_EMIT dataChanged(index(0), index(rowCount() - 1), {Qt::BackgroundRole, Qt::ForegroundRole});
}

int32_t TPedigreeListModel::IndividualAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) return 0;
    return m_items[static_cast<size_t>(index.row())].individual;
}

int TPedigreeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant TPedigreeListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() != 0) return {};
    const PedigreeListItem& item = m_items[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return Text(item.Text());
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            const WColourPair colours = PersonColours(m_context.Highlighter(), item.individual);
            return ToQColor(role == Qt::BackgroundRole ? colours.background : colours.text);
        }
        case Qt::UserRole:
            return item.individual;
        default:
            return {};
    }
}

// --- TPedigreeCanvas ---

// The chart: the 31 ancestor panels, their connectors and "+" buttons, and the spouse.
class TPedigreeCanvas : public QWidget {
  public:
    TPedigreeCanvas(TViewContext& context, QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("pedigreeCanvas"));
        for (int k = 1; k <= kPedigreeSlots; ++k) {
            panels[k] = new TIndInfoPanel(&context, this);
            panels[k]->setObjectName(QStringLiteral("pedigreePanel%1").arg(k));
            panels[k]->SetLinesToShow(kLinesShown[PedigreeGeneration(k)]);
            connect(panels[k], &TIndInfoPanel::activated, this,
                    [&context](int32_t n) { context.JumpToIndividual(n); });
            if (k >= kPedigreeOuterSlot) {
                plus[k] = new QToolButton(this);
                plus[k]->setObjectName(QStringLiteral("pedigreePlus%1").arg(k));
                plus[k]->setText(QStringLiteral("+"));
                plus[k]->setFocusPolicy(Qt::NoFocus);
                plus[k]->hide();
            }
        }
        spouseCaption = new QLabel(QStringLiteral("Spouse:"), this);
        spouseCaption->setObjectName(QStringLiteral("pedigreeSpouseCaption"));
        spouseMark = new QLabel(QStringLiteral("+"), this);
        spouseMark->setObjectName(QStringLiteral("pedigreeSpouseMark"));
        spouseMark->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        spouseMark->setToolTip(QStringLiteral("This spouse's parents are known"));
        spouseMark->hide();
        spouse = new TIndInfoPanel(&context, this);
        spouse->setObjectName(QStringLiteral("pedigreeSpousePanel"));
        connect(spouse, &TIndInfoPanel::activated, this,
                [&context](int32_t n) { context.JumpToIndividual(n); });
        nextFamily = new QPushButton(QStringLiteral("Next Spouse"), this);
        nextFamily->setObjectName(QStringLiteral("pedigreeNextFamily"));
        nextFamily->hide();
        familyIndex = new QLabel(this);
        familyIndex->setObjectName(QStringLiteral("pedigreeFamilyIndex"));
        familyIndex->hide();
        setTabOrder(panels[1], spouse);
        for (int k = 2; k <= kPedigreeSlots; ++k)
            setTabOrder(k == 2 ? spouse : panels[k - 1], panels[k]);
    }

    // Sets the panels' font size and places everything again.
    void LayOut(int fontSize) {
        for (int k = 1; k <= kPedigreeSlots; ++k) panels[k]->SetFontSize(fontSize);
        spouse->SetFontSize(fontSize);
        Place();
    }

    // Places the chart: the 96-dpi sizes at least, spread over the room the page gives (up
    // to twice as wide and with up to twice the gaps); the canvas asks for the minimum, so a
    // small window scrolls.
    void Place() {
        int heights[5] = {};
        for (int k = 1; k <= kPedigreeSlots; ++k)
            heights[PedigreeGeneration(k)] = panels[k]->height();
        m_gap = Scaled(this, kColumnGap);
        const int margin = Scaled(this, kMargin);
        const int plusSize = std::min(heights[4], Scaled(this, kPlusSize));
        const int plusRoom = Scaled(this, kPlusGap) + plusSize;
        int widths[5];
        int minWidth = 2 * margin + 4 * m_gap + plusRoom;
        for (int g = 0; g < 5; ++g) {
            widths[g] = Scaled(this, kColumnWidths[g]);
            minWidth += widths[g];
        }
        const int rowGap = Scaled(this, kRowGap);
        const int basePitch = heights[4] + rowGap;
        const int captionHeight = spouseCaption->sizeHint().height();
        const QSize button = nextFamily->sizeHint();
        const int spouseRoom = Scaled(this, 24) + captionHeight + Scaled(this, 2) + heights[0] +
                               Scaled(this, 6) + button.height();
        const int minHeight = std::max(2 * margin + 16 * basePitch - rowGap,
                                       2 * margin + 8 * basePitch + heights[0] / 2 + spouseRoom);
        setMinimumSize(minWidth, minHeight);

        const int extraWidth = std::max(0, width() - minWidth);
        int x[5];
        for (int g = 0; g < 5; ++g) {
            widths[g] += std::min(extraWidth / 5, widths[g]);
            x[g] = g == 0 ? margin : x[g - 1] + widths[g - 1] + m_gap;
        }
        const int pitch =
            basePitch + std::min(std::max(0, height() - minHeight) / 16, rowGap + heights[4] / 2);
        const int top = margin;
        for (int k = 1; k <= kPedigreeSlots; ++k) {
            const int g = PedigreeGeneration(k);
            const int first = 1 << g;
            const int span = 16 >> g;  // outermost rows per panel of this generation
            const int centre = top + ((k - first) * span * 2 + span) * pitch / 2;
            panels[k]->setGeometry(x[g], centre - heights[g] / 2, widths[g], heights[g]);
            if (plus[k])
                plus[k]->setGeometry(x[4] + widths[4] + Scaled(this, kPlusGap),
                                     centre - plusSize / 2, plusSize, plusSize);
        }
        // The spouse below the subject.
        int y = panels[1]->geometry().bottom() + Scaled(this, 24);
        const int markWidth = Scaled(this, 16);
        spouseCaption->setGeometry(x[0], y, widths[0] - markWidth, captionHeight);
        spouseMark->setGeometry(x[0] + widths[0] - markWidth, y, markWidth, captionHeight);
        y += captionHeight + Scaled(this, 2);
        spouse->setGeometry(x[0], y, widths[0], heights[0]);
        y += heights[0] + Scaled(this, 6);
        nextFamily->setGeometry(x[0], y, button.width(), button.height());
        familyIndex->setGeometry(x[0] + button.width() + Scaled(this, 6), y,
                                 std::max(0, widths[0] - button.width()), button.height());
        update();
    }

    TIndInfoPanel* panels[kPedigreeSlots + 1] = {};
    QToolButton* plus[kPedigreeSlots + 1] = {};
    TIndInfoPanel* spouse = nullptr;
    QLabel* spouseCaption = nullptr;
    QLabel* spouseMark = nullptr;
    QPushButton* nextFamily = nullptr;
    QLabel* familyIndex = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Place();
    }

    void paintEvent(QPaintEvent*) override {
        // Each pair of parents: a stub from each parent's left edge to half the gap, a
        // vertical line between the two, and a line from its middle to the child.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        for (int k = 1; 2 * k + 1 <= kPedigreeSlots; ++k) {
            const QRect child = panels[k]->geometry();
            const QRect father = panels[2 * k]->geometry();
            const QRect mother = panels[2 * k + 1]->geometry();
            const int stub = father.left() - m_gap / 2;
            const int fatherY = father.center().y();
            const int motherY = mother.center().y();
            const int childY = (fatherY + motherY) / 2;
            painter.drawLine(stub, fatherY, father.left() - 1, fatherY);
            painter.drawLine(stub, motherY, mother.left() - 1, motherY);
            painter.drawLine(stub, fatherY, stub, motherY);
            painter.drawLine(child.right() + 1, childY, stub, childY);
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        // Arrows: Right to the father, Left to the child, Up and Down within a generation;
        // Down from the subject (and Up back) reaches the spouse.
        int from = 0;
        for (int k = 1; k <= kPedigreeSlots; ++k)
            if (panels[k]->hasFocus()) from = k;
        const bool onSpouse = spouse->hasFocus();
        if (from == 0 && !onSpouse) {
            QWidget::keyPressEvent(event);
            return;
        }
        QWidget* to = nullptr;
        const int g = PedigreeGeneration(from);
        switch (event->key()) {
            case Qt::Key_Right:
                if (onSpouse)
                    to = panels[1];
                else if (2 * from <= kPedigreeSlots)
                    to = panels[2 * from];
                break;
            case Qt::Key_Left:
                if (from > 1) to = panels[from / 2];
                break;
            case Qt::Key_Up:
                if (onSpouse)
                    to = panels[1];
                else if (from > (1 << g))
                    to = panels[from - 1];
                break;
            case Qt::Key_Down:
                if (from == 1)
                    to = spouse;
                else if (!onSpouse && from < (2 << g) - 1)
                    to = panels[from + 1];
                break;
            default:
                QWidget::keyPressEvent(event);
                return;
        }
        if (to) {
            to->setFocus(Qt::TabFocusReason);
            if (auto* area = qobject_cast<QScrollArea*>(
                    parentWidget() ? parentWidget()->parentWidget() : nullptr))
                area->ensureWidgetVisible(to);
        }
        event->accept();
    }

  private:
    int m_gap = kColumnGap;
};

// --- TPedigreePage ---

TPedigreePage::TPedigreePage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("pedigreePage"));
    m_canvas = new TPedigreeCanvas(context, this);
    for (int k = kPedigreeOuterSlot; k <= kPedigreeSlots; ++k)
        connect(m_canvas->plus[k], &QToolButton::clicked, this, [this, k] {
            if (const int32_t n = PlusTarget(k)) m_context.JumpToIndividual(n);
        });
    connect(m_canvas->nextFamily, &QPushButton::clicked, this, &TPedigreePage::NextFamily);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pedigreeScroll"));
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);

    // The left pane with its collapse arrow, and the strip with the arrow that opens it again.
    m_pane = new QWidget(this);
    m_pane->setObjectName(QStringLiteral("pedigreePane"));
    m_pane->setFixedWidth(Scaled(this, kPaneWidth));
    auto* collapse = new QToolButton(m_pane);
    collapse->setObjectName(QStringLiteral("collapsePane"));
    collapse->setArrowType(Qt::LeftArrow);
    collapse->setAutoRaise(true);
    collapse->setToolTip(QStringLiteral("Hide the siblings and children"));
    connect(collapse, &QToolButton::clicked, this, [this] { SetPaneCollapsed(true); });
    m_siblingsCaption = new QLabel(Text(kindrel::SiblingsCaption(0)), m_pane);
    m_siblingsCaption->setObjectName(QStringLiteral("siblingsCaption"));
    m_childrenCaption = new QLabel(Text(ChildrenHeaderText(0)), m_pane);
    m_childrenCaption->setObjectName(QStringLiteral("childrenCaption"));
    m_siblingsModel = new TPedigreeListModel(context, this);
    m_siblingsModel->setObjectName(QStringLiteral("siblingsModel"));
    m_childrenModel = new TPedigreeListModel(context, this);
    m_childrenModel->setObjectName(QStringLiteral("childrenModel"));
    m_siblings = MakeList(m_siblingsModel, "siblingsList");
    m_children = MakeList(m_childrenModel, "childrenList");
    auto* paneLayout = new QVBoxLayout(m_pane);
    paneLayout->setContentsMargins(6, 4, 2, 6);
    paneLayout->setSpacing(3);
    auto* siblingsRow = new QHBoxLayout;
    siblingsRow->addWidget(m_siblingsCaption, 1);
    siblingsRow->addWidget(collapse);
    paneLayout->addLayout(siblingsRow);
    paneLayout->addWidget(m_siblings, 1);
    paneLayout->addSpacing(4);
    paneLayout->addWidget(m_childrenCaption);
    paneLayout->addWidget(m_children, 1);

    m_collapsedStrip = new QWidget(this);
    m_collapsedStrip->setObjectName(QStringLiteral("collapsedPane"));
    auto* expand = new QToolButton(m_collapsedStrip);
    expand->setObjectName(QStringLiteral("expandPane"));
    expand->setArrowType(Qt::RightArrow);
    expand->setAutoRaise(true);
    expand->setToolTip(QStringLiteral("Show the siblings and children"));
    connect(expand, &QToolButton::clicked, this, [this] { SetPaneCollapsed(false); });
    auto* stripLayout = new QVBoxLayout(m_collapsedStrip);
    stripLayout->setContentsMargins(2, 4, 2, 4);
    stripLayout->addWidget(expand);
    stripLayout->addStretch(1);
    m_collapsedStrip->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_pane);
    layout->addWidget(m_collapsedStrip);
    layout->addWidget(m_scroll, 1);

    ApplyFontSize();
    Clear();
}

WPersonTable* TPedigreePage::MakeList(TPedigreeListModel* model, const char* name) {
    auto* list = new WPersonTable(m_context, m_pane);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(model);
    list->setItemDelegate(new TPedigreeItemDelegate(model, list));
    list->horizontalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    list->setShowGrid(false);
    list->SetPersonAt([model](const QModelIndex& index) { return model->IndividualAt(index); });
    return list;
}

void TPedigreePage::ApplyFontSize() {
    const int size = SettingFontSize();
    if (size == m_fontSize) return;
    m_fontSize = size;
    m_canvas->LayOut(size);
    for (WPersonTable* list : {m_siblings, m_children}) {
        QFont font = list->font();
        font.setPointSize(size);
        list->setFont(font);
        // Item height 2 x FontSize - 3, at least what the font needs.
        list->verticalHeader()->setDefaultSectionSize(
            std::max(Scaled(this, 2 * size - 3), QFontMetrics(font).height() + 2));
    }
}

TIndInfoPanel* TPedigreePage::Panel(int slot) const {
    return slot >= 1 && slot <= kPedigreeSlots ? m_canvas->panels[slot] : nullptr;
}

TIndInfoPanel* TPedigreePage::SpousePanel() const {
    return m_canvas->spouse;
}

QToolButton* TPedigreePage::PlusButton(int slot) const {
    return slot >= kPedigreeOuterSlot && slot <= kPedigreeSlots ? m_canvas->plus[slot] : nullptr;
}

QLabel* TPedigreePage::SpouseMark() const {
    return m_canvas->spouseMark;
}

QPushButton* TPedigreePage::NextFamilyButton() const {
    return m_canvas->nextFamily;
}

QLabel* TPedigreePage::FamilyIndexLabel() const {
    return m_canvas->familyIndex;
}

int32_t TPedigreePage::PlusTarget(int slot) const {
    // The father's half of the outermost generation leads to the subject's father, the
    // mother's half to the mother: the chart then reaches one generation further back.
    if (slot < kPedigreeOuterSlot || slot > kPedigreeSlots) return 0;
    return slot < 24 ? m_slots[2] : m_slots[3];
}

void TPedigreePage::SetPaneCollapsed(bool collapsed) {
    m_pane->setVisible(!collapsed);
    m_collapsedStrip->setVisible(collapsed);
}

bool TPedigreePage::PaneCollapsed() const {
    return m_pane->isHidden();
}

void TPedigreePage::RefreshPage() {
    ApplyFontSize();
    WABSCollection* collection = m_context.Collection();
    const int32_t n = m_context.ActiveIndividual();
    if (!collection || m_context.IsWindowBusy() || !IsIndividualOf(*collection, n)) {
        Clear();
        return;
    }
    const bool useLds = Options().ReadBool(Opt::UseLDS);
    PedigreeSlots slots{};
    SpouseFamilyChoice choice;
    std::vector<PedigreeListItem> siblings, children;
    try {
        slots = BuildPedigreeSlots(*collection, n);
        choice = ChooseSpouseFamily(*collection, n, m_context.CurrentFamilyIndex());
        siblings = SiblingItems(*collection, n, useLds);
        children = ChildItems(*collection, n, choice.family, useLds);
    } catch (const std::exception& e) {
        // A family that cannot be read empties the page and is reported once.
        Clear();
        if (m_reporting) return;
        m_reporting = true;
        WMessageBox::Show(this, std::string(e.what()), std::string(kProductName),
                          MessageRecord::kError);
        m_reporting = false;
        return;
    }
    if (choice.index != 0 && choice.index != m_context.CurrentFamilyIndex())
        m_context.SetCurrentFamilyIndex(choice.index);
    m_slots = slots;
    m_spouse = choice.spouse;
    m_familyCount = choice.count;
    m_familyIndex = choice.index;

    WHLGroup* highlighter = m_context.Highlighter();
    for (int k = 1; k <= kPedigreeSlots; ++k) {
        m_canvas->panels[k]->Fill(collection, highlighter, slots[k]);
        m_canvas->panels[k]->setEnabled(slots[k] != 0);
        if (QToolButton* plus = m_canvas->plus[k]) {
            plus->setVisible(HasParents(*collection, slots[k]));
            plus->setToolTip(PlainToolTip(QStringLiteral("Go to ") +
                                          Text(collection->DisplayNameOf(PlusTarget(k)))));
        }
    }
    m_canvas->spouse->Fill(collection, highlighter, m_spouse);
    m_canvas->spouse->setEnabled(m_spouse != 0);
    m_canvas->spouseMark->setVisible(HasParents(*collection, m_spouse));
    const bool several = m_familyCount >= 2;
    m_canvas->nextFamily->setVisible(several);
    m_canvas->familyIndex->setVisible(several);
    m_canvas->familyIndex->setText(several ? Text(FamilyIndexText(m_familyIndex, m_familyCount))
                                           : QString());
    m_siblingsCaption->setText(Text(kindrel::SiblingsCaption(siblings.size())));
    m_childrenCaption->setText(Text(ChildrenHeaderText(children.size())));
    m_siblingsModel->SetItems(std::move(siblings));
    m_childrenModel->SetItems(std::move(children));
    m_siblings->setEnabled(true);
    m_children->setEnabled(true);
}

void TPedigreePage::Clear() {
    m_slots = {};
    m_spouse = 0;
    m_familyCount = 0;
    m_familyIndex = 0;
    for (int k = 1; k <= kPedigreeSlots; ++k) {
        m_canvas->panels[k]->Clear();
        m_canvas->panels[k]->setEnabled(false);
        if (m_canvas->plus[k]) m_canvas->plus[k]->hide();
    }
    m_canvas->spouse->Clear();
    m_canvas->spouse->setEnabled(false);
    m_canvas->spouseMark->hide();
    m_canvas->nextFamily->hide();
    m_canvas->familyIndex->hide();
    m_siblingsCaption->setText(Text(kindrel::SiblingsCaption(0)));
    m_childrenCaption->setText(Text(ChildrenHeaderText(0)));
    m_siblingsModel->SetItems({});
    m_childrenModel->SetItems({});
    m_siblings->setEnabled(false);
    m_children->setEnabled(false);
}

void TPedigreePage::ForgetCollection() {
    Clear();
}

void TPedigreePage::HighlightChanged() {
    WHLGroup* highlighter = m_context.Highlighter();
    auto recolour = [highlighter](TIndInfoPanel* panel) {
        if (panel->Tag() == 0) return;
        const WColourPair colours = PersonColours(highlighter, panel->Tag());
        panel->SetColour(colours.background);
        panel->SetFontColour(colours.text);
    };
    for (int k = 1; k <= kPedigreeSlots; ++k) recolour(m_canvas->panels[k]);
    recolour(m_canvas->spouse);
    m_siblingsModel->ColoursChanged();
    m_childrenModel->ColoursChanged();
}

void TPedigreePage::NextFamily() {
    if (m_familyCount < 2) return;
    m_context.SetCurrentFamilyIndex(m_familyIndex % m_familyCount + 1);
    RefreshPage();
}

bool TPedigreePage::CanPerform(PageCommand command) const {
    return command == PageCommand::kCopy && CanCopyActiveIndividual(m_context);
}

bool TPedigreePage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    return CopyPageText(*this, [this]() -> std::optional<std::string> {
        return PedigreePageText(*m_context.Collection(), m_context.ActiveIndividual(),
                                m_context.CurrentFamilyIndex());
    });
}

}  // namespace kindrel
