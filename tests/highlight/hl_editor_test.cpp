// The condition editor's logic: condition lists, parameter texts, row and manager strings
// read back unchanged, and when changes are passed on.
#include "highlight/hl_editor.h"

#include "fake_collection.h"
#include "highlight/hl_catalogue.h"
#include "highlight/hl_group.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kindrel {
namespace {

TEST(HLEditorLists, HoldEveryCodeOnceInTheirOrder) {
    const std::vector<int>& all = HLColManCodes();
    ASSERT_EQ(all.size(), 100u);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), 100u);
    EXPECT_EQ(all[0], 1);
    EXPECT_EQ(all[1], 97);
    EXPECT_EQ(all.back(), 64);

    const std::vector<int>& search = HLSearchManCodes();
    ASSERT_EQ(search.size(), 77u);
    const std::set<int> codes(search.begin(), search.end());
    EXPECT_EQ(codes.size(), 77u);
    for (int left : {21, 22, 23, 60, 61, 62, 63, 66, 70, 77, 95, 96, 99, 100})
        EXPECT_EQ(codes.count(left), 0u) << left;
    EXPECT_EQ(search[1], 29);
    EXPECT_EQ(search.back(), 65);
}

TEST(HLEditorOptions, WriteAndReadEachKind) {
    struct Case {
        int kind;
        std::string text;
    };
    const std::vector<Case> cases = {
        {kHLEditorSex, "F"},           {kHLEditorSex, "U"},          {kHLEditorSex, "M"},
        {kHLEditorIndividualGenerations, "15^3"},                    {kHLEditorTextMatch, "3Smi th"},
        {kHLEditorSoundex, "2S530"},   {kHLEditorDate, "BEF 1 JAN 1850"},
        {kHLEditorDate, "ABT JAN 1850"},                             {kHLEditorDate, "1850"},
        {kHLEditorNumber, "4100"},     {kHLEditorIndividual, "42"}, {kHLEditorAgeLimit, "90"},
        {kHLEditorLDSSealedToSpouse, "4"}};
    for (const Case& c : cases)
        EXPECT_EQ(HLOptionText(ReadHLOption(c.kind, c.text)), c.text) << c.kind << " " << c.text;
}

TEST(HLEditorOptions, BadParametersAreClampedOrDropped) {
    EXPECT_EQ(ReadHLOption(kHLEditorAgeLimit, "0").ageLimit, 1);
    EXPECT_EQ(ReadHLOption(kHLEditorAgeLimit, "99999999999999").ageLimit, 150);
    EXPECT_EQ(ReadHLOption(kHLEditorAgeLimit, "x").ageLimit, 110);
    EXPECT_EQ(ReadHLOption(kHLEditorIndividualGenerations, "7^5000").generations, 999);
    EXPECT_EQ(ReadHLOption(kHLEditorIndividual, "999999999999999999").individual, INT32_MAX);
    EXPECT_EQ(ReadHLOption(kHLEditorNumber, "9123").choice, 1);
    EXPECT_EQ(ReadHLOption(kHLEditorLDSBaptism, "77").choice,
              static_cast<int>(HLLdsItems(kHLEditorLDSBaptism).size()));
    // The condition string cannot carry ":" or ";" inside a parameter.
    EXPECT_EQ(HLCleanMatchText("  a:b;c  "), "abc");
    WHLOptionState text = HLInitialOption(kHLEditorTextMatch);
    text.text = " 29:1a;b ";
    EXPECT_EQ(HLOptionText(text), "1291ab");
    // A day without a month is no date part.
    EXPECT_EQ(HLDateText(15, 0, 1850), "1850");
    EXPECT_EQ(HLDateText(0, 2, 1850), "FEB 1850");
    EXPECT_EQ(HLDateText(3, 0, 0), "");
    EXPECT_EQ(HLLdsItems(kHLEditorLDSBaptism).front(), "A Date");
    EXPECT_EQ(HLLdsItems(kHLEditorLDSBaptism)[1], "SUBMITTED");
}

TEST(HLEditorRow, CondStrBySignCodeAndEditor) {
    WHLGuiCondModel row(&HLColManCodes());
    EXPECT_EQ(row.HLCondStr(), "+1");
    row.SetCode(13);
    EXPECT_EQ(row.HLCondStr(), "+13");
    row.SetCode(17);
    row.ToggleNegated();
    row.Option().choice = 1;
    EXPECT_EQ(row.HLCondStr(), "-17:F");
    EXPECT_EQ(row.Labels()[0], HLLabel(1, true));
    // A code outside the list chooses "Select a Condition".
    WHLGuiCondModel search(&HLSearchManCodes());
    search.SetHLCondStr("+21:15^3");
    EXPECT_EQ(search.HLCondStr(), "+1");
    // Without restoring, the editor starts again.
    row.SetHLCondStr("+21:15^3", false);
    EXPECT_EQ(row.HLCondStr(), "+21:0^0");
    row.SetHLCondStr("21:15^3");
    EXPECT_EQ(row.HLCondStr(), "+21:15^3");
    row.SetHLCondStr("");
    EXPECT_EQ(row.HLCondStr(), "+1");
}

TEST(HLEditorManager, StringsReadBackUnchanged) {
    WHLGuiManModel manager(HLColManCodes());
    for (const char* text :
         {"+6;O;-17:F", "+21:15^3;A;-13", "-29:2Smith;O;+39:BEF 1 JAN 1900;A;+52:90",
          "+2;A;+3;O;+4;A;+5;O;+6;A;+7;O;+8;A;+9;O;+10;A;+11"}) {
        ASSERT_TRUE(manager.SetHLStrings(text)) << text;
        EXPECT_EQ(manager.HLStrings(), text);
    }
    EXPECT_EQ(manager.RowCount(), 10);
    // Eleven conditions and text that does not parse change nothing.
    EXPECT_FALSE(manager.SetHLStrings("+2;A;+3;O;+4;A;+5;O;+6;A;+7;O;+8;A;+9;O;+10;A;+11;A;+12"));
    EXPECT_FALSE(manager.SetHLStrings("+x;A;+3"));
    EXPECT_EQ(manager.RowCount(), 10);
    // A row on "Select a Condition" empties the string.
    ASSERT_TRUE(manager.SetHLStrings("1"));
    EXPECT_EQ(manager.RowCount(), 1);
    EXPECT_EQ(manager.HLStrings(), "");
    ASSERT_TRUE(manager.SetHLStrings("+6;O;-1"));
    EXPECT_EQ(manager.HLStrings(), "");
    ASSERT_TRUE(manager.SetHLStrings(""));
    EXPECT_EQ(manager.RowCount(), 0);
    EXPECT_EQ(manager.HLStrings(), "");
}

TEST(HLEditorManager, EveryListedCodeMakesAnAcceptedString) {
    fake::FakeCollection tree;
    const int32_t john = tree.AddPerson("John", "SMITH", 'M');
    const int32_t mary = tree.AddPerson("Mary", "JONES", 'F');
    tree.AddFamily(john, mary, {}, "1 JUN 1925", "Salem");
    WHLGroup group(&tree);
    for (const std::vector<int>* list : {&HLColManCodes(), &HLSearchManCodes()}) {
        WHLGuiCondModel row(list);
        for (size_t i = 1; i < list->size(); ++i) {
            row.SetListIndex(static_cast<int>(i));
            if (row.EditorKind() == kHLEditorIndividual ||
                row.EditorKind() == kHLEditorIndividualGenerations)
                row.Option().individual = john;
            const std::string text = row.HLCondStr();
            EXPECT_EQ(group.SetConditions(text), 0) << text;
            EXPECT_EQ(group.RuleCount(), 1) << text;
            EXPECT_NO_THROW(group.Recalculate()) << text;
            EXPECT_NO_THROW(group.IsHighlighted(mary)) << text;
        }
    }
}

struct Counts {
    int change = 0;
    int apply = 0;
};

WHLGuiManModel* Counted(WHLGuiManModel& m, Counts& counts) {
    m.onChange = [&counts] { ++counts.change; };
    m.onApply = [&counts] { ++counts.apply; };
    return &m;
}

TEST(HLEditorManager, AddAndDeleteLimits) {
    WHLGuiManModel m(HLColManCodes());
    Counts counts;
    Counted(m, counts);
    EXPECT_FALSE(m.Delete());
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(m.Add());
    EXPECT_FALSE(m.CanAdd());
    EXPECT_FALSE(m.Add());
    EXPECT_EQ(m.RowCount(), 10);
    EXPECT_EQ(counts.change, 10);
    EXPECT_TRUE(m.Delete());
    EXPECT_EQ(m.RowCount(), 9);
    EXPECT_EQ(counts.change, 11);
    // Separators keep their state while rows come and go.
    m.SetSeparator(0, false);
    m.Row(0).SetCode(6);
    m.Row(1).SetCode(17);
    m.Row(1).SetNegated(true);
    m.Row(1).Option().choice = 1;
    while (m.RowCount() > 2) m.Delete();
    EXPECT_EQ(m.HLStrings(), "+6;O;-17:F");
}

TEST(HLEditorManager, NotifyCountsPerMode) {
    // Immediate: every change is passed on at once.
    {
        WHLGuiManModel m(HLColManCodes());
        Counts counts;
        m.Notify();  // no handler: nothing
        Counted(m, counts);
        m.Add();
        m.Notify();
        EXPECT_EQ(counts.change, 2);
        EXPECT_EQ(counts.apply, 0);
        EXPECT_FALSE(m.Changed());
    }
    // Deferred: held back, then passed on once.
    {
        WHLGuiManModel m(HLColManCodes());
        Counts counts;
        Counted(m, counts);
        m.Defer(true);
        m.Add();
        m.Notify();
        m.Notify();
        EXPECT_EQ(counts.change, 0);
        EXPECT_EQ(counts.apply, 3);
        EXPECT_TRUE(m.Changed());
        m.Defer(false);
        EXPECT_EQ(counts.change, 1);
        EXPECT_FALSE(m.Changed());
        m.Defer(true);
        m.Defer(false);
        EXPECT_EQ(counts.change, 1);
    }
    // Manual: only Apply passes the string on.
    {
        WHLGuiManModel m(HLColManCodes());
        Counts counts;
        Counted(m, counts);
        m.SetManual(true);
        EXPECT_TRUE(m.ApplyVisible());
        EXPECT_FALSE(m.ApplyEnabled());
        m.Add();
        m.Notify();
        m.Defer(false);  // ignored in manual mode
        EXPECT_EQ(counts.change, 0);
        EXPECT_TRUE(m.ManualChangePending());
        EXPECT_TRUE(m.ApplyEnabled());
        m.Apply();
        EXPECT_EQ(counts.change, 1);
        EXPECT_FALSE(m.ManualChangePending());
        EXPECT_FALSE(m.ApplyEnabled());
        m.SetManual(false);
        EXPECT_FALSE(m.ApplyVisible());
    }
}

}  // namespace
}  // namespace kindrel
