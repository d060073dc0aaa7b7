// The Family and Pedigree pages in the real window over the sample family: panels, "+"
// buttons, Next Spouse shared between the two pages, the children grid and the side lists read
// back from their models, double clicks, Enter, context menus and highlight colours; and the
// pages alone over no file and over a family that cannot be read.
#include "gui_test_support.h"

#include "app/pages/family_page.h"
#include "app/pages/ind_info_panel.h"
#include "app/pages/pedigree_page.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "gedcom/ged_collection.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kindrel::guitest {
namespace {

constexpr uint32_t kYellow = 65535;
constexpr uint32_t kWhite = 0xFFFFFF;

class FamilyPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
        m_window = OpenWindow(PackSample());
        ASSERT_NE(m_window->Collection(), nullptr);
        m_family = qobject_cast<TFamilyPage*>(m_window->PageNamed("familyPage"));
        m_pedigree = qobject_cast<TPedigreePage*>(m_window->PageNamed("pedigreePage"));
        ASSERT_TRUE(m_family && m_pedigree);
    }
    void TearDown() override {
        SetContextMenuTestHandler({});
        m_window.reset();
    }

    // Makes n active and shows tab.
    void Show(int32_t n, int tab) {
        m_window->JumpToIndividual(n);
        m_window->SelectTab(tab);
        m_window->FlushPendingRefresh();
    }
    QString Name(int32_t n) const {
        return QString::fromStdString(m_window->Collection()->DisplayNameOf(n));
    }
    static QString Cell(const QAbstractItemModel* model, int row, int column) {
        return model->index(row, column).data().toString();
    }
    // Opens the context menu of widget at pos and triggers the action named action.
    static void Menu(QWidget* widget, QPoint pos, const char* action,
                     QStringList* texts = nullptr) {
        SetContextMenuTestHandler([action, texts](QMenu& menu) {
            for (QAction* a : menu.actions()) {
                if (texts) *texts << a->text();
                if (a->objectName() == QLatin1String(action)) a->trigger();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QCoreApplication::sendEvent(widget, &event);
        SetContextMenuTestHandler({});
    }
    static void DoubleClick(WPersonTable* table, int row, int column) {
        const QRect cell = table->visualRect(table->model()->index(row, column));
        // A view takes a double click only on the index pressed first.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
    TFamilyPage* m_family = nullptr;
    TPedigreePage* m_pedigree = nullptr;
};

TEST_F(FamilyPagesTest, FamilyOfWilliamThroughHisThreeMarriages) {
    Show(4, kTabFamily);
    QAbstractItemModelTester tester(m_family->ChildrenModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubject)->Tag(), 4);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubject)->NameText(), Name(4));
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubject)->BirthText(),
              "12 JUN 1821, Ashcombe, Wendle, England");
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubjectFather)->Tag(), 1);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubjectMother)->Tag(), 2);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSpouseFather)->Tag(), 0);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSpouseFather)->Colour(), kSilverColour);
    for (auto p : {TFamilyPage::kSubjectFather, TFamilyPage::kSubjectMother,
                   TFamilyPage::kSpouseFather, TFamilyPage::kSpouseMother})
        EXPECT_TRUE(m_family->PlusButton(p)->isHidden());  // nobody here has known parents

    struct Expected {
        const char* index;
        int32_t spouse;
        const char* marriage;
        int rows;
    };
    // His marriages by date; Next Spouse wraps to the first.
    const Expected table[] = {{"(1 of 3)", 8, "3 APR 1843, Millbrook, Wendle, England", 2},
                              {"(2 of 3)", 10, "9 SEP 1856, Millbrook, Wendle, England", 3},
                              {"(3 of 3)", 9, "Bremen, Germany", 1},
                              {"(1 of 3)", 8, "3 APR 1843, Millbrook, Wendle, England", 2}};
    for (const Expected& e : table) {
        SCOPED_TRACE(e.index);
        EXPECT_TRUE(m_family->NextSpouseButton()->isVisible());
        EXPECT_EQ(m_family->FamilyIndexLabel()->text(), e.index);
        EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSpouse)->Tag(), e.spouse);
        EXPECT_EQ(m_family->MarriageLabel()->text(), e.marriage);
        EXPECT_EQ(m_family->ChildrenModel()->rowCount(), e.rows);
        EXPECT_EQ(m_family->ChildrenModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole),
                  QStringLiteral("Children (%1)").arg(e.rows));
        QTest::mouseClick(m_family->NextSpouseButton(), Qt::LeftButton);
    }

    // Back at family 1: Clara and Henry, each married with children.
    QTest::mouseClick(m_family->NextSpouseButton(), Qt::LeftButton);
    QTest::mouseClick(m_family->NextSpouseButton(), Qt::LeftButton);
    EXPECT_EQ(m_window->CurrentFamilyIndex(), 1);
    const QAbstractItemModel* model = m_family->ChildrenModel();
    const QStringList headers = {" ", "Children (2)", "Sex", "Birth", "Death", "Spouse"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
    const QStringList clara = {"+", Name(12), "F", "5 AUG 1844", "1921", "(1 of 2) " + Name(20)};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(model, 0, c), clara[c]) << c;
    EXPECT_EQ(Cell(model, 1, 1), Name(13));
    EXPECT_EQ(Cell(model, 1, 5), Name(22));

    // Double clicks: column 1 to the child, column 5 to that spouse; Enter the same.
    DoubleClick(m_family->ChildrenGrid(), 0, 1);
    EXPECT_EQ(m_window->ActiveIndividual(), 12);
    EXPECT_EQ(m_window->CurrentFamilyIndex(), 1);  // a new individual starts at family 1
    Show(4, kTabFamily);
    DoubleClick(m_family->ChildrenGrid(), 1, 5);
    EXPECT_EQ(m_window->ActiveIndividual(), 22);
    Show(4, kTabFamily);
    m_family->ChildrenGrid()->setFocus();
    m_family->ChildrenGrid()->setCurrentIndex(model->index(0, 2));
    QTest::keyClick(m_family->ChildrenGrid(), Qt::Key_Down);
    QTest::keyClick(m_family->ChildrenGrid(), Qt::Key_Return);
    EXPECT_EQ(m_window->ActiveIndividual(), 13);  // Enter on Henry's row
}

TEST_F(FamilyPagesTest, PlusButtonsAndPanelsLeadToThatPerson) {
    // Johanna (I35): her father Nils has parents, her mother Karen has none.
    Show(35, kTabFamily);
    EXPECT_FALSE(m_family->PlusButton(TFamilyPage::kSubjectFather)->isHidden());
    EXPECT_TRUE(m_family->PlusButton(TFamilyPage::kSubjectMother)->isHidden());
    QTest::mouseClick(m_family->PlusButton(TFamilyPage::kSubjectFather), Qt::LeftButton);
    EXPECT_EQ(m_window->ActiveIndividual(), 25);
    // I43: his wife's father has parents.
    Show(43, kTabFamily);
    EXPECT_FALSE(m_family->PlusButton(TFamilyPage::kSpouseFather)->isHidden());
    QTest::mouseClick(m_family->PlusButton(TFamilyPage::kSpouseFather), Qt::LeftButton);
    EXPECT_EQ(m_window->ActiveIndividual(), 29);
    m_window->FlushPendingRefresh();
    // A panel: double click and Enter; arrows move between panels.
    TIndInfoPanel* mother = m_family->PanelAt(TFamilyPage::kSubjectMother);
    QTest::mouseDClick(mother, Qt::LeftButton);
    EXPECT_EQ(m_window->ActiveIndividual(), 23);
    m_window->FlushPendingRefresh();
    TIndInfoPanel* subject = m_family->PanelAt(TFamilyPage::kSubject);
    subject->setFocus();
    QTest::keyClick(subject, Qt::Key_Right);
    EXPECT_TRUE(m_family->PanelAt(TFamilyPage::kSpouse)->hasFocus());
    QTest::keyClick(m_family->PanelAt(TFamilyPage::kSpouse), Qt::Key_Up);
    EXPECT_TRUE(m_family->PanelAt(TFamilyPage::kSpouseMother)->hasFocus());
    QTest::keyClick(m_family->PanelAt(TFamilyPage::kSpouseMother), Qt::Key_Return);
    EXPECT_EQ(m_window->ActiveIndividual(), m_window->Collection()->Mother(15));
}

TEST_F(FamilyPagesTest, PedigreeOfRuthAndOfObadiah) {
    Show(45, kTabPedigree);
    const std::map<int, int32_t> filled = {{1, 45},  {2, 41},  {3, 35}, {6, 25}, {7, 31},
                                           {12, 20}, {13, 12}, {26, 4}, {27, 8}};
    for (int k = 1; k <= kPedigreeSlots; ++k) {
        SCOPED_TRACE(k);
        const auto it = filled.find(k);
        const int32_t n = it == filled.end() ? 0 : it->second;
        EXPECT_EQ(m_pedigree->Panel(k)->Tag(), n);
        if (n == 0) {
            EXPECT_EQ(m_pedigree->Panel(k)->Colour(), kSilverColour);
            EXPECT_EQ(m_pedigree->Panel(k)->PanelText(), "");
        } else {
            EXPECT_EQ(m_pedigree->Panel(k)->NameText(), Name(n));
        }
        if (k >= kPedigreeOuterSlot) {
            EXPECT_EQ(m_pedigree->PlusButton(k)->isHidden(), k != 26);
        }
    }
    // William (slot 26) has parents; his "+" is on the mother's half: it leads to her.
    EXPECT_EQ(m_pedigree->PlusTarget(17), 41);
    QTest::mouseClick(m_pedigree->PlusButton(26), Qt::LeftButton);
    EXPECT_EQ(m_window->ActiveIndividual(), 35);
    Show(45, kTabPedigree);
    EXPECT_EQ(m_pedigree->SiblingsCaption()->text(), "Siblings (1)");
    EXPECT_EQ(Cell(m_pedigree->SiblingsModel(), 0, 0), "  1918 Ellen");
    EXPECT_EQ(m_pedigree->ChildrenCaption()->text(), "Children (0)");
    EXPECT_EQ(m_pedigree->SpousePanel()->Tag(), 0);
    EXPECT_TRUE(m_pedigree->NextFamilyButton()->isHidden());
    DoubleClick(m_pedigree->SiblingsList(), 0, 0);
    EXPECT_EQ(m_window->ActiveIndividual(), 46);

    // Obadiah: nobody known around him.
    Show(59, kTabPedigree);
    EXPECT_EQ(m_pedigree->Panel(1)->Tag(), 59);
    for (int k = 2; k <= kPedigreeSlots; ++k) {
        EXPECT_EQ(m_pedigree->Panel(k)->Tag(), 0);
        EXPECT_EQ(m_pedigree->Panel(k)->Colour(), kSilverColour);
    }
    for (int k = kPedigreeOuterSlot; k <= kPedigreeSlots; ++k)
        EXPECT_TRUE(m_pedigree->PlusButton(k)->isHidden());
    EXPECT_EQ(m_pedigree->SiblingsCaption()->text(), "Siblings (0)");
    EXPECT_EQ(m_pedigree->ChildrenCaption()->text(), "Children (0)");

    // The pane folds away and comes back; the chart scrolls in a small window.
    QTest::mouseClick(m_pedigree->findChild<QToolButton*>("collapsePane"), Qt::LeftButton);
    EXPECT_TRUE(m_pedigree->PaneCollapsed());
    QTest::mouseClick(m_pedigree->findChild<QToolButton*>("expandPane"), Qt::LeftButton);
    EXPECT_FALSE(m_pedigree->PaneCollapsed());
    m_window->resize(500, 400);
    EXPECT_TRUE(
        WaitFor([this] { return m_pedigree->ScrollArea()->verticalScrollBar()->maximum() > 0; }));
    EXPECT_GT(m_pedigree->ScrollArea()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(FamilyPagesTest, CurrentFamilyIsSharedByFamilyAndPedigree) {
    Show(4, kTabFamily);
    QTest::mouseClick(m_family->NextSpouseButton(), Qt::LeftButton);
    m_window->SelectTab(kTabPedigree);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(m_pedigree->SpousePanel()->Tag(), 10);
    EXPECT_EQ(m_pedigree->FamilyIndexLabel()->text(), "(2 of 3)");
    EXPECT_EQ(m_pedigree->ChildrenCaption()->text(), "Children (3)");
    EXPECT_EQ(Cell(m_pedigree->ChildrenModel(), 0, 0), "  1858 Beatrice");
    EXPECT_EQ(Cell(m_pedigree->ChildrenModel(), 1, 0), "+ 1862 Arthur");
    EXPECT_EQ(m_pedigree->SiblingsCaption()->text(), "Siblings (4)");
    QTest::mouseClick(m_pedigree->NextFamilyButton(), Qt::LeftButton);
    EXPECT_EQ(m_pedigree->SpousePanel()->Tag(), 9);
    m_window->SelectTab(kTabFamily);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(m_family->FamilyIndexLabel()->text(), "(3 of 3)");
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSpouse)->Tag(), 9);
    // Someone else, then William again: family 1.
    Show(12, kTabFamily);
    Show(4, kTabPedigree);
    EXPECT_EQ(m_pedigree->SpousePanel()->Tag(), 8);
}

TEST_F(FamilyPagesTest, HighlightColoursInPanelsGridListsAndPixels) {
    Show(4, kTabFamily);
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));  // women
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSpouse)->Colour(), kYellow);
    EXPECT_EQ(m_family->PanelAt(TFamilyPage::kSubject)->Colour(), kWhite);
    const QAbstractItemModel* model = m_family->ChildrenModel();
    EXPECT_EQ(model->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    EXPECT_EQ(model->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    const QImage image = m_family->grab().toImage();
    const QRect spouse = m_family->PanelAt(TFamilyPage::kSpouse)->geometry();
    EXPECT_EQ(image.pixelColor(spouse.center() + QPoint(spouse.width() / 3, 0)),
              QColor(Qt::yellow));

    // The pedigree only repaints: the same panels take the new colours.
    Show(45, kTabPedigree);
    EXPECT_EQ(m_pedigree->Panel(1)->Colour(), kYellow);
    EXPECT_EQ(m_pedigree->Panel(2)->Colour(), kWhite);
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:M"));
    EXPECT_EQ(m_pedigree->Panel(1)->Colour(), kWhite);
    EXPECT_EQ(m_pedigree->Panel(2)->Colour(), kYellow);
    EXPECT_EQ(m_pedigree->Panel(2)->Tag(), 41);
    EXPECT_EQ(m_pedigree->SiblingsModel()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::white));
    const QImage chart = m_pedigree->grab().toImage();
    TIndInfoPanel* father = m_pedigree->Panel(2);
    const QPoint inside =
        father->mapTo(m_pedigree, QPoint(father->width() - 8, father->height() / 2));
    EXPECT_EQ(chart.pixelColor(inside), QColor(Qt::yellow));
}

TEST_F(FamilyPagesTest, ContextMenusGoToAndCopy) {
    Show(4, kTabFamily);
    QStringList texts;
    TIndInfoPanel* subject = m_family->PanelAt(TFamilyPage::kSubject);
    Menu(subject, {10, 10}, "copyPerson", &texts);
    EXPECT_EQ(texts, QStringList({"Go to " + Name(4), "Copy"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), subject->PanelText());
    EXPECT_TRUE(subject->PanelText().startsWith(Name(4) + "\n12 JUN 1821"));

    WPersonTable* grid = m_family->ChildrenGrid();
    const QRect spouseCell = grid->visualRect(grid->model()->index(1, 5));
    Menu(grid->viewport(), spouseCell.center(), "goToPerson");
    EXPECT_EQ(m_window->ActiveIndividual(), 22);  // Henry's wife

    Show(4, kTabPedigree);
    WPersonTable* siblings = m_pedigree->SiblingsList();
    const QRect first = siblings->visualRect(siblings->model()->index(0, 0));
    texts.clear();
    Menu(siblings->viewport(), first.center(), "copyPerson", &texts);
    EXPECT_EQ(texts.size(), 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              Cell(m_pedigree->SiblingsModel(), 0, 0).trimmed());
    Menu(m_pedigree->Panel(2), {5, 5}, "goToPerson");
    EXPECT_EQ(m_window->ActiveIndividual(), 1);
}

TEST(FamilyPagesSettings, BadStoredSettingsAreHeldToTheControlsAndWidthsAreKept) {
    GuiApp();
    Options().WriteBool(Opt::DispInitHelp, false);
    Options().WriteText(Opt::FamCol2, "-40");
    Options().WriteText(Opt::FamCol3, "90000");
    Options().WriteText(Opt::FontSize, "72");
    {
        auto window = OpenWindow(PackSample());
        auto* family = qobject_cast<TFamilyPage*>(window->PageNamed("familyPage"));
        window->SelectTab(kTabFamily);
        QHeaderView* header = family->ChildrenGrid()->horizontalHeader();
        EXPECT_EQ(header->sectionSize(0), 10);
        EXPECT_EQ(header->sectionSize(1), 200);
        EXPECT_EQ(header->sectionSize(2), 1000);
        EXPECT_EQ(family->ChildrenGrid()->font().pointSize(), 12);
        header->resizeSection(4, 123);
        EXPECT_EQ(Options().ReadInt(Opt::FamCol5), 123);
        window->close();
    }
    std::ifstream file(SettingsFile());
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("FamCol5=123"), std::string::npos);
    EXPECT_NE(text.str().find("FamCol3=1000"), std::string::npos);
}

TEST(FamilyPagesQuickHelp, TopicsFourAndFiveAppearOnFirstShow) {
    GuiApp();
    Recorder recorder;
    auto window = OpenWindow(PackSample());
    const int before = recorder.dialogs;
    Options().WriteBool(Opt::DispInitHelp, true);
    window->SelectTab(kTabFamily);
    EXPECT_EQ(recorder.dialogs, before + 1);
    EXPECT_FALSE(Options().ReadBool(Opt::IH4));
    window->SelectTab(kTabPedigree);
    EXPECT_EQ(recorder.dialogs, before + 2);
    EXPECT_FALSE(Options().ReadBool(Opt::IH5));
    window->SelectTab(kTabFamily);
    EXPECT_EQ(recorder.dialogs, before + 2);
}

// A window stand-in for the pages on their own.
class TFakeContext : public TViewContext {
  public:
    WABSCollection* Collection() const override { return collection; }
    int32_t ActiveIndividual() const override { return active; }
    void JumpToIndividual(int32_t n) override { active = n; }
    bool RawMode() const override { return false; }
    const FileStatistics* Statistics() const override { return nullptr; }
    WHLGroup* Highlighter() const override { return nullptr; }
    WListColumns* ColumnSet(ColumnSetKind) const override { return nullptr; }
    bool IsWindowBusy() const override { return false; }
    bool ScrollThumbDragged() const override { return false; }
    bool FlashText(const QString&) override { return true; }
    int CurrentFamilyIndex() const override { return k; }
    void SetCurrentFamilyIndex(int value) override { k = value; }

    WABSCollection* collection = nullptr;
    int32_t active = 0;
    int k = 1;
};

// A collection with a family that cannot be read.
class TBrokenCollection : public WGEDCollection {
  public:
    TBrokenCollection(const std::string& file) : WGEDCollection(file) {}
    // From now on family `family` cannot be read (the load itself reads every family).
    void Break(int32_t family) { m_broken = family; }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t n) override {
        return n == m_broken ? nullptr : WGEDCollection::GetMarriage(n);
    }

  private:
    int32_t m_broken = 0;
};

TEST(FamilyPagesAlone, EmptyWithoutFileAndOneMessageForAnUnreadableFamily) {
    GuiApp();
    Recorder recorder;
    TFakeContext context;
    TFamilyPage family(context);
    TPedigreePage pedigree(context);
    family.RefreshPage();
    pedigree.RefreshPage();
    EXPECT_EQ(family.PanelAt(TFamilyPage::kSubject)->Tag(), 0);
    EXPECT_FALSE(family.ChildrenGrid()->isEnabled());
    EXPECT_FALSE(family.PanelAt(TFamilyPage::kSubject)->isEnabled());
    EXPECT_EQ(family.ChildrenModel()->rowCount(), 0);
    EXPECT_EQ(pedigree.Panel(1)->Colour(), kSilverColour);
    EXPECT_FALSE(pedigree.SiblingsList()->isEnabled());

    TBrokenCollection broken(std::string(KINDREL_TEST_DATA_DIR) + "/views/family.ged");
    ASSERT_TRUE(broken.LoadFile());
    broken.AfterLoad();
    broken.Break(1);
    context.collection = &broken;
    context.active = 1;  // a father of forty in family 1, his second by date
    context.k = 2;
    family.RefreshPage();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error getting pointer to Marriage 1");
    EXPECT_EQ(recorder.messages[0].kind, MessageRecord::kError);
    EXPECT_EQ(family.PanelAt(TFamilyPage::kSubject)->Tag(), 0);
    EXPECT_EQ(family.ChildrenModel()->rowCount(), 0);
    pedigree.RefreshPage();
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(pedigree.Panel(1)->Tag(), 0);
    // The family without wife can be read: the page fills again without a message.
    context.k = 1;
    family.RefreshPage();
    EXPECT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(family.PanelAt(TFamilyPage::kSubject)->Tag(), 1);
    EXPECT_EQ(family.PanelAt(TFamilyPage::kSpouse)->Colour(), kSilverColour);
    EXPECT_EQ(family.ChildrenModel()->rowCount(), 1);
    context.collection = nullptr;
    family.ForgetCollection();
    pedigree.ForgetCollection();
    EXPECT_EQ(family.PanelAt(TFamilyPage::kSubject)->Tag(), 0);
}

}  // namespace
}  // namespace kindrel::guitest
