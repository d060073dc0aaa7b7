#include "app/pages/family_page.h"

#include "app/app_texts.h"
#include "app/message_box.h"
#include "app/page_copy.h"
#include "app/page_texts.h"
#include "app/pages/ind_info_panel.h"
#include "app/pages/page_metrics.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "app/qt_colours.h"
#include "model/collection.h"
#include "services/options.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kindrel {

namespace {

// The grid's columns: settings and default widths.
constexpr Opt kWidthSettings[TFamilyChildrenModel::kColumnCount] = {
    Opt::FamCol1, Opt::FamCol2, Opt::FamCol3, Opt::FamCol4, Opt::FamCol5, Opt::FamCol6};
constexpr int kDefaultWidths[TFamilyChildrenModel::kColumnCount] = {10, 200, 25, 75, 75, 200};
// A stored width outside this range (hidden, negative or absurd) is held to it.
constexpr int kMinColumnWidth = 10;
constexpr int kMaxColumnWidth = 1000;

const char* const kPanelNames[TFamilyPage::kPanelCount] = {
    "subjectPanel",       "spousePanel",       "subjectFatherPanel",
    "subjectMotherPanel", "spouseFatherPanel", "spouseMotherPanel"};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// --- TFamilyChildrenModel ---

TFamilyChildrenModel::TFamilyChildrenModel(TViewContext& context, QObject* parent)
    : QAbstractTableModel(parent), m_context(context) {
    setObjectName(QStringLiteral("familyChildrenModel"));
}

void TFamilyChildrenModel::SetRows(std::vector<FamilyChildRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, kName, kName);
}

void TFamilyChildrenModel::ColoursChanged() {
    if (m_rows.empty()) return;
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1),
                       {Qt::BackgroundRole, Qt::ForegroundRole});
}

int32_t TFamilyChildrenModel::PersonAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) return 0;
    const FamilyChildRow& row = m_rows[static_cast<size_t>(index.row())];
    return index.column() == kSpouse ? row.spouse : row.child;
}

int TFamilyChildrenModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TFamilyChildrenModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TFamilyChildrenModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const FamilyChildRow& row = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            switch (column) {
                case kPlus:
                    return Text(row.plus);
                case kName:
                    return Text(row.name);
                case kSex:
                    return Text(row.sex);
                case kBirth:
                    return Text(row.birth);
                case kDeath:
                    return Text(row.death);
                case kSpouse:
                    return Text(row.spouseText);
                default:
                    return {};
            }
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            // Name and spouse in their person's colours; the other cells plain.
            if (column != kName && column != kSpouse) return {};
            const int32_t person = column == kName ? row.child : row.spouse;
            if (person == 0) return {};
            const WColourPair colours = PersonColours(m_context.Highlighter(), person);
            return ToQColor(role == Qt::BackgroundRole ? colours.background : colours.text);
        }
        case Qt::TextAlignmentRole:
            return column == kPlus || column == kSex ? QVariant(Qt::AlignCenter)
                                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant TFamilyChildrenModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kPlus:
            return QStringLiteral(" ");
        case kName:
            return Text(ChildrenHeaderText(m_rows.size()));
        case kSex:
            return QStringLiteral("Sex");
        case kBirth:
            return QStringLiteral("Birth");
        case kDeath:
            return QStringLiteral("Death");
        case kSpouse:
            return QStringLiteral("Spouse");
        default:
            return {};
    }
}

// --- TFamilyPage ---

TFamilyPage::TFamilyPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("familyPage"));
    for (int p = 0; p < kPanelCount; ++p) {
        m_panels[p] = new TIndInfoPanel(&context, this);
        m_panels[p]->setObjectName(QString::fromLatin1(kPanelNames[p]));
        connect(m_panels[p], &TIndInfoPanel::activated, this,
                [this](int32_t n) { m_context.JumpToIndividual(n); });
        if (p >= kSubjectFather) {
            auto* plus = new QToolButton(this);
            plus->setObjectName(QString::fromLatin1(kPanelNames[p])
                                    .replace(QLatin1String("Panel"), QLatin1String("Plus")));
            plus->setText(QStringLiteral("+"));
            plus->setToolTip(QStringLiteral("Show this parent's family"));
            plus->setFocusPolicy(Qt::NoFocus);
            // The panels keep their place whether the button shows or not.
            QSizePolicy policy = plus->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            plus->setSizePolicy(policy);
            plus->hide();
            connect(plus, &QToolButton::clicked, this, [this, p] {
                if (const int32_t n = m_panels[p]->Tag()) m_context.JumpToIndividual(n);
            });
            m_plus[p] = plus;
        }
    }
    m_spouseCaption = new QLabel(QStringLiteral("Spouse:"), this);
    m_spouseCaption->setObjectName(QStringLiteral("spouseCaption"));
    m_nextSpouse = new QPushButton(QStringLiteral("Next Spouse"), this);
    m_nextSpouse->setObjectName(QStringLiteral("nextSpouseButton"));
    m_nextSpouse->hide();
    connect(m_nextSpouse, &QPushButton::clicked, this, &TFamilyPage::NextSpouse);
    m_familyIndex = new QLabel(this);
    m_familyIndex->setObjectName(QStringLiteral("familyIndexLabel"));
    m_familyIndex->hide();
    m_marriage = new QLabel(this);
    m_marriage->setObjectName(QStringLiteral("marriageLabel"));
    m_marriage->setTextFormat(Qt::PlainText);

    m_model = new TFamilyChildrenModel(context, this);
    m_grid = new WPersonTable(context, this);
    m_grid->setObjectName(QStringLiteral("childrenGrid"));
    KeepGridRowHeight(m_grid, 4);
    m_grid->setModel(m_model);
    m_grid->SetPersonAt([this](const QModelIndex& index) { return m_model->PersonAt(index); });
    QHeaderView* header = m_grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(kMinColumnWidth);
    for (int c = 0; c < TFamilyChildrenModel::kColumnCount; ++c) {
        const int stored = Options().ReadInt(kWidthSettings[c]);
        const int width =
            stored <= 0 ? kDefaultWidths[c] : std::clamp(stored, kMinColumnWidth, kMaxColumnWidth);
        header->resizeSection(c, width);
    }
    // Widths the user sets go to the settings at once, so they are written with the others
    // however the window closes.
    connect(header, &QHeaderView::sectionResized, this, [this](int, int, int) {
        if (m_grid->isVisible()) StoreColumnWidths();
    });

    // Parents above their child, the subject's side on the left, the spouse's on the right.
    auto* people = new QGridLayout;
    people->setHorizontalSpacing(6);
    people->setVerticalSpacing(6);
    people->setColumnStretch(0, 1);
    people->setColumnStretch(4, 1);
    people->setColumnMinimumWidth(2, 12);
    people->addWidget(m_panels[kSubjectFather], 0, 0);
    people->addWidget(m_plus[kSubjectFather], 0, 1);
    people->addWidget(m_panels[kSubjectMother], 1, 0);
    people->addWidget(m_plus[kSubjectMother], 1, 1);
    people->addWidget(m_panels[kSpouseFather], 0, 4);
    people->addWidget(m_plus[kSpouseFather], 0, 5);
    people->addWidget(m_panels[kSpouseMother], 1, 4);
    people->addWidget(m_plus[kSpouseMother], 1, 5);
    people->setRowMinimumHeight(2, 14);
    people->addWidget(m_panels[kSubject], 3, 0);
    people->addWidget(m_spouseCaption, 3, 3, Qt::AlignRight | Qt::AlignVCenter);
    people->addWidget(m_panels[kSpouse], 3, 4);
    auto* next = new QHBoxLayout;
    next->addWidget(m_nextSpouse);
    next->addWidget(m_familyIndex);
    next->addStretch(1);
    people->addLayout(next, 4, 0);
    people->addWidget(m_marriage, 4, 4, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addLayout(people);
    layout->addWidget(m_grid, 1);

    setTabOrder(m_panels[kSubjectFather], m_panels[kSubjectMother]);
    setTabOrder(m_panels[kSubjectMother], m_panels[kSubject]);
    setTabOrder(m_panels[kSubject], m_panels[kSpouse]);
    setTabOrder(m_panels[kSpouse], m_panels[kSpouseFather]);
    setTabOrder(m_panels[kSpouseFather], m_panels[kSpouseMother]);
    setTabOrder(m_panels[kSpouseMother], m_grid);
    ApplyFontSize();
    Clear();
}

TFamilyPage::~TFamilyPage() {
    StoreColumnWidths();
}

void TFamilyPage::StoreColumnWidths() {
    const QHeaderView* header = m_grid->horizontalHeader();
    for (int c = 0; c < TFamilyChildrenModel::kColumnCount; ++c)
        Options().WriteInt(kWidthSettings[c], header->sectionSize(c));
}

QToolButton* TFamilyPage::PlusButton(Panel panel) const {
    return panel >= 0 && panel < kPanelCount ? m_plus[panel] : nullptr;
}

void TFamilyPage::ApplyFontSize() {
    const int size = SettingFontSize();
    if (size == m_fontSize) return;
    m_fontSize = size;
    for (TIndInfoPanel* panel : m_panels) panel->SetFontSize(size);
    QFont font = m_grid->font();
    font.setPointSize(size);
    m_grid->setFont(font);
}

void TFamilyPage::RefreshPage() {
    ApplyFontSize();
    WABSCollection* collection = m_context.Collection();
    const int32_t n = m_context.ActiveIndividual();
    if (!collection || m_context.IsWindowBusy() || !IsIndividualOf(*collection, n)) {
        Clear();
        return;
    }
    FamilyGroup group;
    try {
        group = BuildFamilyGroup(*collection, n, m_context.CurrentFamilyIndex());
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
    if (group.familyIndex != 0 && group.familyIndex != m_context.CurrentFamilyIndex())
        m_context.SetCurrentFamilyIndex(group.familyIndex);
    Show(group);
}

void TFamilyPage::Show(const FamilyGroup& group) {
    m_group = group;
    WABSCollection* collection = m_context.Collection();
    WHLGroup* highlighter = m_context.Highlighter();
    const int32_t people[kPanelCount] = {group.subject,       group.spouse,
                                         group.subjectFather, group.subjectMother,
                                         group.spouseFather,  group.spouseMother};
    for (int p = 0; p < kPanelCount; ++p) {
        m_panels[p]->Fill(collection, highlighter, people[p]);
        m_panels[p]->setEnabled(true);
        if (m_plus[p]) m_plus[p]->setVisible(HasParents(*collection, people[p]));
    }
    const bool several = group.familyCount >= 2;
    m_nextSpouse->setVisible(several);
    m_familyIndex->setVisible(several);
    m_familyIndex->setText(several ? Text(FamilyIndexText(group.familyIndex, group.familyCount))
                                   : QString());
    m_marriage->setText(Text(group.marriageText));
    m_grid->setEnabled(true);
    m_model->SetRows(group.children);
}

void TFamilyPage::Clear() {
    m_group = FamilyGroup{};
    for (int p = 0; p < kPanelCount; ++p) {
        m_panels[p]->Clear();
        m_panels[p]->setEnabled(false);
        if (m_plus[p]) m_plus[p]->hide();
    }
    m_nextSpouse->hide();
    m_familyIndex->hide();
    m_familyIndex->clear();
    m_marriage->clear();
    m_model->SetRows({});
    m_grid->setEnabled(false);
}

void TFamilyPage::ForgetCollection() {
    Clear();
}

void TFamilyPage::HighlightChanged() {
    WHLGroup* highlighter = m_context.Highlighter();
    for (TIndInfoPanel* panel : m_panels) {
        if (panel->Tag() == 0) continue;
        const WColourPair colours = PersonColours(highlighter, panel->Tag());
        panel->SetColour(colours.background);
        panel->SetFontColour(colours.text);
    }
    m_model->ColoursChanged();
}

void TFamilyPage::NextSpouse() {
    if (m_group.familyCount < 2) return;
    m_context.SetCurrentFamilyIndex(m_group.familyIndex % m_group.familyCount + 1);
    RefreshPage();
}

void TFamilyPage::keyPressEvent(QKeyEvent* event) {
    // Arrows move between the panels as they stand: parents above their child, the couple
    // side by side; Down from the couple goes to the children.
    int from = -1;
    for (int p = 0; p < kPanelCount; ++p)
        if (m_panels[p]->hasFocus()) from = p;
    if (from < 0) {
        TViewPage::keyPressEvent(event);
        return;
    }
    static const int kUp[kPanelCount] = {kSubjectMother, kSpouseMother, -1, kSubjectFather, -1,
                                         kSpouseFather};
    static const int kDown[kPanelCount] = {-2,     -2, kSubjectMother, kSubject, kSpouseMother,
                                           kSpouse};
    static const int kAcross[kPanelCount] = {kSpouse,       kSubject,       kSpouseFather,
                                             kSpouseMother, kSubjectFather, kSubjectMother};
    int to = -1;
    switch (event->key()) {
        case Qt::Key_Up:
            to = kUp[from];
            break;
        case Qt::Key_Down:
            to = kDown[from];
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            to = kAcross[from];
            break;
        default:
            TViewPage::keyPressEvent(event);
            return;
    }
    if (to == -2 && m_model->rowCount() > 0) {
        m_grid->setFocus(Qt::TabFocusReason);
        if (!m_grid->currentIndex().isValid())
            m_grid->setCurrentIndex(m_model->index(0, TFamilyChildrenModel::kName));
    } else if (to >= 0) {
        m_panels[to]->setFocus(Qt::TabFocusReason);
    }
    event->accept();
}

bool TFamilyPage::CanPerform(PageCommand command) const {
    return command == PageCommand::kCopy && CanCopyActiveIndividual(m_context);
}

bool TFamilyPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    return CopyPageText(*this, [this]() -> std::optional<std::string> {
        return FamilyPageText(*m_context.Collection(), m_context.ActiveIndividual(),
                              m_context.CurrentFamilyIndex());
    });
}

}  // namespace kindrel
