// The pages as copied text, checked against golden files in tests/data/exports/golden (the
// sample family and tests/data/exports/copy.ged: quotes, "&", "ř", a 58-character
// grandparent, a family without wife, pedigree gaps, a repeat and "[k of n]"). Run with
// KINDREL_UPDATE_GOLDEN=1 to write the files afresh after a deliberate change.
#include "app/page_texts.h"
#include "analysis/des_iterator.h"
#include "app/char_screen.h"
#include "app/general_rows.h"
#include "gedcom/ged_collection.h"
#include "model/display_options.h"

#include "tests/gedcom/ged_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace kindrel {
namespace {

std::unique_ptr<WGEDCollection> Open(const std::string& file) {
    Display() = DisplayOptions{};
    return test::OpenLoadedCollection(file);
}

std::string DataFile(const std::string& name) {
    return std::string(KINDREL_TEST_DATA_DIR) + "/exports/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

enum class Page {
    kGeneral,
    kGeneralRaw,
    kIndividual,
    kIndividualRaw,
    kFamily,
    kPedigree,
    kDescendants
};

std::string Render(WABSCollection& collection, Page page, int32_t n, int k) {
    switch (page) {
        case Page::kGeneral:
        case Page::kGeneralRaw: {
            FileStatistics statistics = CollectStatistics(collection, "shown-name.ged");
            statistics.date = "2024/03/14 10:42:17";  // the checkout's time is no part of it
            return GeneralPageText(collection, statistics, page == Page::kGeneralRaw);
        }
        case Page::kIndividual:
            return IndividualPageText(collection, n, false, {});
        case Page::kIndividualRaw:
            return IndividualPageText(collection, n, true, {});
        case Page::kFamily:
            return FamilyPageText(collection, n, k);
        case Page::kPedigree:
            return PedigreePageText(collection, n, k);
        case Page::kDescendants: {
            WDesIterator walk;
            walk.SetCollection(&collection);
            walk.Start(n, 0, k != 0);
            return DescendantListText(collection, walk);
        }
    }
    return {};
}

TEST(PageTexts, GoldenTexts) {
    const auto sample = Open(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
    const auto fixture = Open(DataFile("copy.ged"));
    ASSERT_TRUE(sample && fixture);
    struct Case {
        const char* golden;
        WABSCollection* collection;
        Page page;
        int32_t n;
        int k;  // the family k; for the descendants 1 repeats duplicates
    };
    const Case cases[] = {
        {"sample_general.txt", sample.get(), Page::kGeneral, 0, 0},
        {"sample_general_raw.txt", sample.get(), Page::kGeneralRaw, 0, 0},
        {"sample_individual_4.txt", sample.get(), Page::kIndividual, 4, 0},
        {"sample_individual_4_raw.txt", sample.get(), Page::kIndividualRaw, 4, 0},
        {"sample_family_4_2.txt", sample.get(), Page::kFamily, 4, 2},
        {"sample_pedigree_12.txt", sample.get(), Page::kPedigree, 12, 1},
        {"sample_descendants_1.txt", sample.get(), Page::kDescendants, 1, 0},
        {"copy_general.txt", fixture.get(), Page::kGeneral, 0, 0},
        {"copy_individual_1.txt", fixture.get(), Page::kIndividual, 1, 0},
        {"copy_family_1_1.txt", fixture.get(), Page::kFamily, 1, 1},
        {"copy_family_1_2.txt", fixture.get(), Page::kFamily, 1, 2},    // no wife
        {"copy_family_2_1.txt", fixture.get(), Page::kFamily, 2, 1},    // F: the spouse is husband
        {"copy_family_6_1.txt", fixture.get(), Page::kFamily, 6, 1},    // U + F: husband
        {"copy_family_10_1.txt", fixture.get(), Page::kFamily, 10, 1},  // U + M: wife
        {"copy_pedigree_6.txt", fixture.get(), Page::kPedigree, 6, 1},  // gaps, long names
        {"copy_pedigree_1_2.txt", fixture.get(), Page::kPedigree, 1, 2},
        {"copy_descendants_5.txt", fixture.get(), Page::kDescendants, 5, 0},  // repeat, [k of n]
        {"copy_descendants_5_repeat.txt", fixture.get(), Page::kDescendants, 5, 1},
    };
    const bool update = std::getenv("KINDREL_UPDATE_GOLDEN") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        const std::string text = Render(*c.collection, c.page, c.n, c.k);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_EQ(text.find('\0'), std::string::npos);
        const std::string path = DataFile("golden/") + c.golden;
        if (update) std::ofstream(path, std::ios::binary) << text;
        EXPECT_EQ(text, ReadFile(path));
    }
}

TEST(PageTexts, NothingForSomeoneOutsideTheCollection) {
    const auto fixture = Open(DataFile("copy.ged"));
    ASSERT_TRUE(fixture);
    for (const int32_t n : {0, -1, 12, 1000}) {
        EXPECT_EQ(IndividualPageText(*fixture, n, false, {}), "");
        EXPECT_EQ(IndividualPageText(*fixture, n, true, {}), "");
        EXPECT_EQ(FamilyPageText(*fixture, n, 1), "");
        EXPECT_EQ(PedigreePageText(*fixture, n, 1), "");
    }
}

TEST(PageTexts, HusbandBySex) {
    EXPECT_TRUE(IsHusbandBySex('M', 'F'));
    EXPECT_TRUE(IsHusbandBySex('M', 'M'));
    EXPECT_TRUE(IsHusbandBySex('U', 'F'));
    EXPECT_TRUE(IsHusbandBySex('U', 'U'));
    EXPECT_FALSE(IsHusbandBySex('U', 'M'));
    EXPECT_FALSE(IsHusbandBySex('F', 'M'));
    EXPECT_FALSE(IsHusbandBySex('F', 'U'));
}

TEST(PageTexts, DescendantCopyStopsWhenProgressSaysSo) {
    const auto sample = Open(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
    ASSERT_TRUE(sample);
    WDesIterator walk;
    walk.SetCollection(sample.get());
    walk.Start(1, 0, false);
    ASSERT_GT(walk.RecordCount(), 3);
    int calls = 0;
    const std::string all = DescendantListText(
        *sample, walk,
        [&](int done, int total) {
            EXPECT_LE(done, total);
            ++calls;
            return true;
        },
        2);
    EXPECT_EQ(calls, (walk.RecordCount() + 1) / 2);
    EXPECT_EQ(all, DescendantListText(*sample, walk));
    EXPECT_EQ(DescendantListText(
                  *sample, walk, [](int, int) { return false; }, 2),
              "");
}

TEST(CharScreen, WritesInsideItsBoundsByCharacters) {
    WCharScreen screen(3, 6);
    screen.Put(1, 1, 10, "ř&ěxyzw");  // columns 1..5; column 6 (C) is never written
    EXPECT_EQ(screen.Line(1), "ř&ěxy ");
    screen.Put(2, 4, 1, "ab");  // at most one character
    EXPECT_EQ(screen.Line(2), "   a  ");
    screen.Put(0, 1, 5, "no");  // line 0 and line R stay blank
    screen.Put(3, 1, 5, "no");
    screen.Put(1, 6, 5, "no");  // column C
    screen.Put(2, 0, 5, "no");
    screen.Put(2, 2, 5, "a\nb");  // a line break reads as a blank
    EXPECT_EQ(screen.Line(0), "      ");
    EXPECT_EQ(screen.Line(2), " a b  ");
    EXPECT_EQ(screen.Line(3), "");
    EXPECT_EQ(screen.Line(-1), "");
    EXPECT_EQ(SplitCharacters("a\xC5\x99\xFF").size(), 3u);  // a broken byte is one character
}

}  // namespace
}  // namespace kindrel
