// The link lists, the identifier index and the individual-to-family links.
#include "gedcom/ged_indexes.h"
#include "containers/errors.h"
#include "gedcom/fam_links.h"
#include "gedcom/link_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace kindrel {
namespace {

TEST(WLinkArray, ListsGrowChunkByChunkAndReadBackInOrder) {
    WLinkArray links(4);
    const int list = links.NewList(10, 1, 7);
    ASSERT_GT(list, 0);
    const int other = links.NewList(99, 0, 0);
    for (int n = 11; n <= 17; ++n) EXPECT_TRUE(links.AppendLink(list, false, 1, 7, n));
    EXPECT_EQ(links.ListLength(list), 8);
    EXPECT_EQ(links.ListLength(other), 1);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(links.LinkAt(list, k), 9 + k);
    EXPECT_EQ(links.LinkAt(list, 9), 0);
    EXPECT_EQ(links.LinkAt(other, 2), 0);
    std::int32_t number = 0;
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    ASSERT_TRUE(links.GetLink(list, 4, number, first, second));
    EXPECT_EQ(number, 13);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 7);
    // Position 10 lies in the fourth chunk, which does not exist.
    EXPECT_FALSE(links.GetLink(list, 10, number, first, second));
}

TEST(WLinkArray, DuplicatesAreRefusedUnlessAllowed) {
    WLinkArray links(0);
    const int list = links.NewList(5, 0, 0);
    EXPECT_FALSE(links.AppendLink(list, false, 0, 0, 5));
    EXPECT_TRUE(links.AppendLink(list, true, 0, 0, 5));
    EXPECT_EQ(links.ListLength(list), 2);
    EXPECT_FALSE(links.AppendLink(list, false, 0, 0, 0)) << "0 cannot be stored";
    EXPECT_EQ(links.NewList(0, 0, 0), 0);
}

TEST(WLinkArray, FindReplaceAndSetWorkOverTheWholeChain) {
    WLinkArray links(0);
    const int list = links.NewList(1, 0, 0);
    for (int n = 2; n <= 7; ++n) links.AppendLink(list, false, 0, 0, n);
    EXPECT_EQ(links.FindLink(list, 6), 6);
    EXPECT_EQ(links.FindLink(list, 42), 0);
    links.ReplaceLink(list, 6, 60, 2, 3);
    EXPECT_EQ(links.LinkAt(list, 6), 60);
    EXPECT_TRUE(links.SetLink(list, 1, 100, 0, 0));
    EXPECT_EQ(links.LinkAt(list, 1), 100);
    EXPECT_FALSE(links.SetLink(list, 13, 5, 0, 0));
    EXPECT_EQ(links.LinkAt(0, 1), 0);
    EXPECT_EQ(links.LinkAt(list + 100, 1), 0);
}

TEST(WFamLinks, ChildrenListedTwiceCountOnce) {
    WFamLinks families(2);
    families.AddChild(1, 4);
    families.AddChild(1, 5);
    families.AddChild(1, 4);
    families.AddChild(1, 5);
    EXPECT_EQ(families.ChildCount(1), 2);
    EXPECT_EQ(families.Child(1, 1), 4);
    EXPECT_EQ(families.Child(1, 2), 5);
    EXPECT_EQ(families.Child(1, 3), 0);
    EXPECT_EQ(families.ChildCount(2), 0);
}

TEST(WFamLinks, InvalidFamiliesReadAsZeroAndIgnoreWrites) {
    WFamLinks families(1);
    families.SetHusband(0, 3);
    families.SetWife(2, 3);
    families.AddChild(-1, 3);
    EXPECT_EQ(families.Husband(0), 0);
    EXPECT_EQ(families.Wife(2), 0);
    EXPECT_EQ(families.ChildCount(5), 0);
    families.SetHusband(1, 3);
    families.SetHusband(1, 8);
    EXPECT_EQ(families.Husband(1), 8) << "a later husband replaces the earlier one";
}

TEST(WXREFIndex, AscendingIdentifiersNeedNoSort) {
    const std::vector<std::string> ids = {"I1", "I2", "I10"};
    WXREFIndex index(0);
    for (const std::string& id : ids) index.AddXref(id);
    EXPECT_FALSE(index.NeedsSorting());
    EXPECT_EQ(index.FindXref("I1"), 1);
    EXPECT_EQ(index.FindXref("I2"), 2);
    EXPECT_EQ(index.FindXref("I10"), 3);
    EXPECT_EQ(index.FindXref("I3"), 0);
}

TEST(WXREFIndex, OutOfOrderIdentifiersAreSortedAndFound) {
    const std::vector<std::string> ids = {"I10", "I2", "I1"};
    WXREFIndex index(0);
    for (const std::string& id : ids) index.AddXref(id);
    EXPECT_TRUE(index.NeedsSorting());
    index.SortIfNeeded();
    EXPECT_FALSE(index.NeedsSorting());
    EXPECT_EQ(index.FindXref("I10"), 1);
    EXPECT_EQ(index.FindXref("I2"), 2);
    EXPECT_EQ(index.FindXref("I1"), 3);
    // Identifier order: the first four bytes as one little-endian integer.
    EXPECT_EQ(index.XrefAt(1), "I1");
    EXPECT_EQ(index.XrefAt(2), "I2");
    EXPECT_EQ(index.XrefAt(3), "I10");
}

TEST(WXREFIndex, LongIdentifiersAreKeptWholeAndNeverCollide) {
    // Identifiers that share their first eleven (and first eight) characters.
    const std::vector<std::string> ids = {
        "INDIVIDUAL_000001",  "INDIVIDUAL_000002",
        "INDIVIDUAL_0000010", "INDIVIDU",
        "INDIVIDUAL",         "INDIVIDUAL_0000011_AND_A_VERY_LONG_TAIL_OF_CHARACTERS",
        "I12345678901"};
    WXREFIndex index(0);
    for (const std::string& id : ids) index.AddXref(id);
    for (std::size_t k = 0; k < ids.size(); ++k) {
        EXPECT_EQ(index.FindXref(ids[k]), int(k + 1)) << ids[k];
    }
    EXPECT_EQ(index.FindXref("INDIVIDUAL_00000"), 0);
    EXPECT_EQ(index.FindXref("INDIVIDUAL_0000001"), 0);
    EXPECT_EQ(index.FindXref("I1234567890"), 0);
    for (int i = 1; i <= index.RecordCount(); ++i) {
        EXPECT_EQ(index.XrefAt(i), ids[std::size_t(index.NumberAt(i) - 1)]);
    }
}

TEST(WXREFIndex, ZeroBytesInsideAnIdentifierDoNotCollideWithItsPrefix) {
    const std::string withZero("I1\0", 3);
    const std::vector<std::string> ids = {"I1", withZero, std::string("I1\0\0\0\0\0\0X", 9)};
    WXREFIndex index(0);
    for (const std::string& id : ids) index.AddXref(id);
    for (std::size_t k = 0; k < ids.size(); ++k) EXPECT_EQ(index.FindXref(ids[k]), int(k + 1));
}

TEST(WXREFIndex, DuplicatesAreIndexedTwiceAndOneIsFound) {
    const std::vector<std::string> ids = {"F1", "F2", "F1"};
    WXREFIndex index(0);
    for (const std::string& id : ids) index.AddXref(id);
    EXPECT_EQ(index.RecordCount(), 3);
    const int found = index.FindXref("F1");
    EXPECT_TRUE(found == 1 || found == 3);
    EXPECT_EQ(index.FindXref("F2"), 2);
}

TEST(WXREFIndex, EmptyIdentifierAndEmptyIndex) {
    WXREFIndex empty(0);
    EXPECT_EQ(empty.FindXref("I1"), 0);
    EXPECT_EQ(empty.FindXref(""), 0);
    const std::string none;
    WXREFIndex index(0);
    index.AddXref(none);
    EXPECT_EQ(index.FindXref(""), 1);
}

TEST(WXREFIndex, NullRecordRaisesTheCompareMessage) {
    WXREFIndex index(0);
    const std::string id = "I1";
    index.AddXref(id);
    try {
        index.CompareRecords(nullptr, index.Item(1));
        FAIL() << "no error";
    } catch (const ECompareError& e) {
        EXPECT_STREQ(e.what(),
                     "Error in compare function of WRINAssocIndex - nil passed as an argument");
    }
}

TEST(WXREFIndex, RandomIdentifiersOfEveryLengthAreAllFound) {
    std::mt19937 random(7);
    std::vector<std::string> ids;
    for (int k = 0; k < 3000; ++k) {
        std::string id = "X";
        const int length = int(random() % 24);
        for (int c = 0; c < length; ++c) id += char('0' + random() % 10);
        ids.push_back(id + "_" + std::to_string(k));
    }
    WXREFIndex index(16);
    for (const std::string& id : ids) index.AddXref(id);
    for (std::size_t k = 0; k < ids.size(); ++k) ASSERT_EQ(index.FindXref(ids[k]), int(k + 1));
    for (int i = 2; i <= index.RecordCount(); ++i) {
        EXPECT_LE(index.CompareRecords(index.Item(i - 1), index.Item(i)), 0);
    }
}

TEST(WOffsetIndex, OutOfRangeRaisesTheIndexMessage) {
    WOffsetIndex offsets(0);
    EXPECT_EQ(offsets.AddOffset(120), 1);
    EXPECT_EQ(offsets.OffsetAt(1), 120u);
    try {
        offsets.OffsetAt(2);
        FAIL() << "no error";
    } catch (const EIndexError& e) {
        EXPECT_STREQ(e.what(), "Error: In valid index value = 2");
    }
    EXPECT_THROW(offsets.OffsetAt(0), EIndexError);
}

TEST(WGEDIndIndex, CachesStartClearedAndStayPut) {
    WGEDIndIndex index(0);
    for (int n = 0; n < 3000; ++n) index.AddIndividual(std::uint32_t(n * 10));
    WIndCache* cache = index.CacheAt(2500);
    EXPECT_EQ(cache->flags, 0);
    cache->flags = WIndCache::kValid;
    cache->slots[WIndCache::kName] = 17;
    index.CacheAt(1);
    EXPECT_EQ(index.CacheAt(2500), cache);
    EXPECT_EQ(index.CacheAt(2500)->slots[WIndCache::kName], 17);
    EXPECT_EQ(index.OffsetAt(3000), 29990u);
    EXPECT_THROW(index.CacheAt(3001), EIndexError);
    EXPECT_THROW(index.CacheAt(0), EIndexError);
}

TEST(WIndLinks, FamiliesAreListedOnceInTheOrderAdded) {
    WIndLinks links(3);
    links.AddParentFamily(1, 4);
    links.AddParentFamily(1, 4);
    links.AddParentFamily(1, 6);
    links.AddParentFamily(1, 6);
    links.AddParentFamily(1, 9);
    EXPECT_EQ(links.ParentFamilyCount(1), 3);
    EXPECT_EQ(links.ParentFamily(1, 1), 4);
    EXPECT_EQ(links.ParentFamily(1, 2), 6);
    EXPECT_EQ(links.ParentFamily(1, 3), 9);
    EXPECT_EQ(links.ParentFamily(1, 4), 0);
    links.AddSpouseFamily(2, 3);
    links.AddSpouseFamily(2, 3);
    EXPECT_EQ(links.SpouseFamilyCount(2), 1);
    EXPECT_EQ(links.SpouseFamily(2, 1), 3);
    EXPECT_EQ(links.SpouseFamily(2, 0), 0);
    links.AddSpouseFamily(7, 1);
    links.AddSpouseFamily(0, 1);
    links.AddParentFamily(3, 0);
    EXPECT_EQ(links.SpouseFamilyCount(7), 0);
    EXPECT_EQ(links.ParentFamilyCount(3), 0);
}

}  // namespace
}  // namespace kindrel
