// Column sets: parsing column strings (junk, unknown codes, too many items), headers with sort
// state, cells, widths kept in the settings section, sorting through the attached iterator.
#include "analysis/list_columns.h"
#include "analysis/collection_iterator.h"
#include "containers/ui_hooks.h"
#include "fake_collection.h"
#include "model/display_options.h"
#include "services/ini_file.h"
#include "services/options.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kindrel {
namespace {

using fake::FakeCollection;

// A settings file in a fresh temporary folder, removed afterwards.
class TempSettings {
  public:
    TempSettings() {
        char pattern[] = "/tmp/kindrel-columns-XXXXXX";
        m_dir = mkdtemp(pattern);
        m_file = m_dir + "/KDSE.ini";
    }
    ~TempSettings() { std::filesystem::remove_all(m_dir); }
    const std::string& File() const { return m_file; }
    void Write(const std::string& text) const { std::ofstream(m_file) << text; }

  private:
    std::string m_dir;
    std::string m_file;
};

struct Family {
    FakeCollection tree;
    Family() {
        tree.AddPerson("John", "Smith", 'M');
        tree.AddPerson("Ann", "Brown", 'F');
        tree.AddPerson("Carl", "Young", 'M');
        tree.Person(1).id = "12";
        tree.SetBirth(1, "1900");
        tree.SetBirth(2, "1850");
        tree.SetBirth(3, "1875");
    }
};

TEST(WListColumnsTest, ParsesAColumnString) {
    Family f;
    WListColumns columns(&f.tree, "List");
    EXPECT_EQ(columns.ColumnCount(), 0);
    columns.SetColumns("1,2,7,65,67,19,18");
    EXPECT_EQ(columns.Columns(), "1,2,7,65,67,19,18");
    ASSERT_EQ(columns.ColumnCount(), 7);
    EXPECT_EQ(columns.ColumnCode(1), 1);
    EXPECT_EQ(columns.ColumnCode(4), 65);
    EXPECT_EQ(columns.ColumnCode(7), 18);
    EXPECT_EQ(columns.ColumnCode(0), 0);
    EXPECT_EQ(columns.ColumnCode(8), 0);
    EXPECT_EQ(columns.CellText(3, 1), "Smith, John");
    EXPECT_EQ(columns.CellText(2, 1), "12");
    EXPECT_EQ(columns.CellText(8, 1), "");
}

TEST(WListColumnsTest, JunkAndUnknownCodesBecomeErrorColumns) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns(" 7 ,x7,0,69,-1,1e2,,9 ,007,");
    // Blanks around items are ignored and empty items skipped.
    ASSERT_EQ(columns.ColumnCount(), 8);
    EXPECT_EQ(columns.ColumnCode(1), 7);
    for (int i = 2; i <= 6; ++i) {
        EXPECT_EQ(columns.ColumnCode(i), 0) << i;
        EXPECT_EQ(columns.Attribute(i), nullptr);
        int state = 0;
        EXPECT_EQ(columns.HeaderText(i, false, state), "ERROR");
        EXPECT_EQ(state, kHeaderUnsorted);
        EXPECT_EQ(columns.CellText(i, 1), "ERROR");
        EXPECT_EQ(columns.Width(i), WListColumns::kErrorColumnWidth);
        EXPECT_EQ(columns.TabStops(i), nullptr);
    }
    EXPECT_EQ(columns.ColumnCode(7), 9);
    EXPECT_EQ(columns.ColumnCode(8), 7);
    // Sorting by an error column changes nothing and does not fail.
    WColSortIterator iterator("", &f.tree);
    columns.AttachIterator(&iterator);
    columns.SortByColumn(2);
    EXPECT_EQ(iterator.SortAttributeCode(), 0);
    EXPECT_EQ(columns.ColumnsText().find("Column 2: ERROR"),
              std::string("Column 1: Surname, Given\r\n").size());
}

TEST(WListColumnsTest, EmptyStringGivesNoColumns) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("1");
    columns.SetColumns("");
    EXPECT_EQ(columns.ColumnCount(), 0);
    columns.SetColumns(" , ,");
    EXPECT_EQ(columns.ColumnCount(), 0);
    EXPECT_EQ(columns.ColumnsText(), "");
}

TEST(WListColumnsTest, ItemsPastThe68thAreLeftOut) {
    Family f;
    WListColumns columns(&f.tree, "List");
    std::string text;
    for (int i = 0; i < 100; ++i) text += std::to_string(i % 68 + 1) + ",";
    columns.SetColumns(text);
    EXPECT_EQ(columns.ColumnCount(), 68);
    EXPECT_EQ(columns.ColumnCode(68), 68);
    for (int i = 1; i <= 68; ++i) EXPECT_EQ(columns.ColumnCode(i), i);
}

TEST(WListColumnsTest, SameStringChangesNothing) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("7,10");
    WColSortIterator iterator("", &f.tree);
    columns.AttachIterator(&iterator);
    columns.SortByColumn(2);
    WAttrib* before = columns.Attribute(2);
    columns.SetColumns("7,10");
    EXPECT_EQ(columns.SortColumn(), 2);
    EXPECT_EQ(columns.Attribute(2), before);
    columns.SetColumns("7,10,1");
    EXPECT_EQ(columns.SortColumn(), -1);
    EXPECT_NE(columns.Attribute(1), nullptr);
}

TEST(WListColumnsTest, HeadersShortLongRefAndSortState) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("2,12,7");
    int state = 0;
    EXPECT_EQ(columns.HeaderText(1, false, state), "REF");
    EXPECT_EQ(columns.HeaderText(2, false, state), "Chr Date");
    EXPECT_EQ(columns.HeaderText(2, true, state), "Christening Date");
    EXPECT_EQ(state, kHeaderUnsorted);
    columns.SortByColumn(3);  // no iterator yet: state stays unsorted
    EXPECT_EQ(columns.HeaderText(3, false, state), "Surname, Given");
    EXPECT_EQ(state, kHeaderUnsorted);
    WColSortIterator iterator("", &f.tree);
    columns.AttachIterator(&iterator);
    columns.HeaderText(3, false, state);
    EXPECT_EQ(state, kHeaderAscending);
    columns.SortByColumn(3);
    columns.HeaderText(3, false, state);
    EXPECT_EQ(state, kHeaderDescending);
    columns.HeaderText(2, false, state);
    EXPECT_EQ(state, kHeaderUnsorted);
    EXPECT_EQ(columns.HeaderText(4, false, state), "");
    // "RIN" outside GEDCOM collections.
    class Other : public FakeCollection {
      public:
        Other() { m_kind = kKindPaf; }
    } other;
    WListColumns rin(&other, "List");
    rin.SetColumns("2");
    EXPECT_EQ(rin.HeaderText(1, false, state), "RIN");
    WListColumns none(nullptr, "List");
    none.SetColumns("2");
    EXPECT_EQ(none.HeaderText(1, true, state), "RIN");
}

TEST(WListColumnsTest, ColumnsTextListsLongHeaders) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("1,12,59");
    EXPECT_EQ(columns.ColumnsText(),
              "Column 1: Index\r\nColumn 2: Christening Date\r\nColumn 3: Father's age at birth");
}

TEST(WListColumnsTest, SortByColumnTogglesAndResortKeepsTheDirection) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("7,10");
    WColSortIterator iterator("", &f.tree);
    columns.AttachIterator(&iterator);
    columns.SortByColumn(2);
    EXPECT_TRUE(columns.IsAscending());
    EXPECT_EQ(iterator.NumberAt(1), 2);  // 1850
    columns.SortByColumn(2);
    EXPECT_FALSE(columns.IsAscending());
    EXPECT_EQ(iterator.NumberAt(1), 1);  // 1900
    columns.Resort();
    EXPECT_FALSE(columns.IsAscending());
    EXPECT_EQ(iterator.NumberAt(1), 1);
    // A new iterator gets the stored direction and the sort column's order.
    WColSortIterator fresh("", &f.tree);
    columns.AttachIterator(&fresh);
    EXPECT_FALSE(fresh.IsAscending());
    EXPECT_EQ(fresh.SortAttributeCode(), 10);
    EXPECT_EQ(fresh.NumberAt(1), 1);
    columns.SortByColumn(1);
    EXPECT_TRUE(columns.IsAscending());
    EXPECT_EQ(fresh.NumberAt(1), 2);  // Brown
    columns.ClearSort();
    EXPECT_EQ(columns.SortColumn(), -1);
    columns.Resort();  // nothing to sort by
    EXPECT_EQ(fresh.SortAttributeCode(), 7);
    columns.AttachIterator(nullptr);
    EXPECT_EQ(columns.Iterator(), nullptr);
}

TEST(WListColumnsTest, SetCollectionAttachesAndForgetsTheSort) {
    Family f;
    WListColumns columns(nullptr, "List");
    columns.SetColumns("7,38");
    EXPECT_EQ(columns.CellText(1, 1), "");
    columns.SetReference(2);
    EXPECT_EQ(columns.Attribute(2)->Reference(), 2);
    columns.SetCollection(&f.tree);
    EXPECT_EQ(columns.Collection(), &f.tree);
    EXPECT_EQ(columns.Attribute(1)->Collection(), &f.tree);
    EXPECT_EQ(columns.Attribute(2)->Reference(), 0);
    EXPECT_EQ(columns.CellText(1, 1), "Smith, John");
    WColSortIterator iterator("", &f.tree);
    columns.AttachIterator(&iterator);
    columns.SortByColumn(1);
    columns.SetCollection(&f.tree);  // the same collection: nothing changes
    EXPECT_EQ(columns.SortColumn(), 1);
    FakeCollection other;
    columns.SetCollection(&other);
    EXPECT_EQ(columns.SortColumn(), -1);
    columns.SetReference(3);
    EXPECT_EQ(columns.Attribute(2)->Reference(), 3);
}

TEST(WListColumnsTest, NewColumnsGetTheCurrentReference) {
    Family f;
    f.tree.AddFamily(1, 2, {3});
    WListColumns columns(&f.tree, "List");
    columns.SetReference(3);
    columns.SetColumns("38");
    EXPECT_EQ(columns.CellText(1, 1), "Father");
}

TEST(WListColumnsTest, TabStopsOfTheLdsColumn) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("29,1");
    ASSERT_NE(columns.TabStops(1), nullptr);
    EXPECT_EQ(columns.TabStops(1)->count, 3);
    EXPECT_EQ(columns.TabStops(2), nullptr);
    EXPECT_EQ(columns.TabStops(3), nullptr);
    EXPECT_EQ(columns.CellText(1, 1), "-\t-\t-\t-");
}

TEST(WListColumnsTest, ChooserOrder) {
    EXPECT_EQ(WListColumns::CodeAtDisplayPosition(4), 48);
    EXPECT_EQ(WListColumns::DisplayPositionOfCode(48), 4);
    EXPECT_EQ(WListColumns::DisplayPositionOfCode(0), 0);
    EXPECT_EQ(WListColumns::CodeAtDisplayPosition(70), 0);
}

TEST(WListColumnsTest, WidthsComeFromTheSectionAndGoBackToIt) {
    TempSettings settings;
    settings.Write("[DesList]\n65=120\n19=abc\n[List]\n65=99\n");
    WOptions options(settings.File());
    Family f;
    {
        WListColumns columns(&f.tree, "DesList", &options);
        columns.SetColumns("65,67,19");
        EXPECT_EQ(columns.Width(1), 120);
        EXPECT_EQ(columns.Width(2), 75);  // catalogue default
        EXPECT_EQ(columns.Width(3), 0);   // not a number reads as 0
        columns.SetWidth(2, 88);
        EXPECT_EQ(columns.Width(2), 88);
        columns.SetWidth(9, 1);  // no such column: ignored
    }
    const WIniFile ini = WIniFile::Load(settings.File());
    EXPECT_EQ(ini.Get("DesList", "67").value_or(""), "88");
    EXPECT_EQ(ini.Get("DesList", "65").value_or(""), "120");
    EXPECT_EQ(ini.Get("DesList", "19").value_or(""), "0");
    EXPECT_EQ(ini.Get("List", "65").value_or(""), "99");  // other sections untouched
    EXPECT_FALSE(ini.Get("DesList", "1").has_value());    // only the columns' codes
    // Read back by a new set.
    WListColumns again(&f.tree, "DesList", &options);
    again.SetColumns("67");
    EXPECT_EQ(again.Width(1), 88);
}

TEST(WListColumnsTest, WithoutSettingsStoreNothingIsWritten) {
    Family f;
    WListColumns columns(&f.tree, "List");
    columns.SetColumns("7");
    EXPECT_EQ(columns.Width(1), 160);
    columns.SetWidth(1, 10);
    EXPECT_EQ(columns.Width(1), 10);
}

TEST(WListColumnsTest, AnUnwritableSettingsFileOnlyWarns) {
    Family f;
    std::string warning;
    Hooks().warning = [&](const std::string& text) { warning = text; };
    {
        WOptions options("/proc/kindrel-no-such-dir/KDSE.ini");
        WListColumns columns(&f.tree, "List", &options);
        columns.SetColumns("7");
    }
    Hooks().warning = nullptr;
    EXPECT_NE(warning.find("could not be saved"), std::string::npos);
}

}  // namespace
}  // namespace kindrel
