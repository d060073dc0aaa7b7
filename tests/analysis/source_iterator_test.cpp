// The source iterator: number order, sorting by each key type, direction flips and the view.
#include "analysis/source_iterator.h"

#include "containers/ui_hooks.h"
#include "fake_collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;
using fake::FakeSource;
using fake::FakeSourceRecord;

// A fake collection with sources.
class SourceCollection : public FakeCollection {
  public:
    int32_t AddSource(FakeSource source) {
        m_sources.push_back(std::move(source));
        return static_cast<int32_t>(m_sources.size());
    }
    int32_t SourceCount() override { return static_cast<int32_t>(m_sources.size()); }
    std::unique_ptr<WABSSource> GetSource(int32_t n) override {
        ++sourceRequests;
        if (n < 1 || n > SourceCount()) return nullptr;
        return std::make_unique<FakeSourceRecord>(m_sources[static_cast<size_t>(n - 1)]);
    }
    int sourceRequests = 0;

  private:
    std::vector<FakeSource> m_sources;
};

struct Sources {
    SourceCollection tree;
    Sources() {
        FakeSource a;
        a.title = "parish registers";
        a.author = "Wendle";
        a.note = fake::NoteLines{"n"};
        tree.AddSource(a);
        FakeSource b;
        b.title = "Census returns";
        b.abbreviation = "CEN";
        b.repository = 1;
        tree.AddSource(b);
        FakeSource c;
        c.title = "Bible";
        c.author = "anon";
        c.text = fake::NoteLines{"t"};
        c.callNumber = "B-1";
        tree.AddSource(c);
        FakeSource d;
        d.title = "census returns";  // equal to b without regard to case
        d.publication = "1851";
        tree.AddSource(d);
    }
};

std::vector<int32_t> View(const WSourceIterator& iterator) {
    std::vector<int32_t> order;
    for (int i = 1; i <= iterator.RecordCount(); ++i) order.push_back(iterator.SourceAt(i));
    return order;
}

TEST(WSourceIteratorTest, StartsInNumberOrder) {
    Sources s;
    WSourceIterator iterator("", &s.tree);
    EXPECT_EQ(iterator.KeyType(), kSourceByNumber);
    EXPECT_EQ(iterator.Direction(), 1);
    EXPECT_EQ(View(iterator), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(iterator.SourceAt(0), 0);
    EXPECT_EQ(iterator.SourceAt(5), 0);
    EXPECT_EQ(s.tree.sourceRequests, 0);
}

TEST(WSourceIteratorTest, SortsByTitleWithoutRegardToCase) {
    Sources s;
    WSourceIterator iterator("", &s.tree);
    iterator.SortBy(kSourceByTitle, true);
    const std::vector<int32_t> order = View(iterator);
    EXPECT_EQ(order[0], 3);               // Bible
    EXPECT_EQ(order[3], 1);               // parish
    EXPECT_EQ(s.tree.sourceRequests, 4);  // each key read once
    // The same key type flips the view.
    iterator.SortBy(kSourceByTitle, true);
    EXPECT_EQ(iterator.Direction(), 2);
    EXPECT_EQ(View(iterator).front(), 1);
    EXPECT_EQ(s.tree.sourceRequests, 4);
}

TEST(WSourceIteratorTest, DescendingCompareSortsTheRecordsDescending) {
    Sources s;
    WSourceIterator iterator("", &s.tree);
    iterator.SortBy(kSourceByAuthor, false);
    EXPECT_EQ(iterator.Direction(), 1);
    const std::vector<int32_t> order = View(iterator);
    EXPECT_EQ(order[0], 1);  // Wendle
    EXPECT_EQ(order[1], 3);  // anon (a > W without regard to case)
}

TEST(WSourceIteratorTest, MarksAndOtherFields) {
    Sources s;
    WSourceIterator iterator("", &s.tree);
    iterator.SortBy(kSourceByNote, false);
    EXPECT_EQ(View(iterator).front(), 1);  // "Y" first when descending
    iterator.SortBy(kSourceByText, false);
    EXPECT_EQ(View(iterator).front(), 3);
    iterator.SortBy(kSourceByRepository, false);
    EXPECT_EQ(View(iterator).front(), 2);
    iterator.SortBy(kSourceByAbbreviation, false);
    EXPECT_EQ(View(iterator).front(), 2);
    iterator.SortBy(kSourceByPublication, false);
    EXPECT_EQ(View(iterator).front(), 4);
    iterator.SortBy(kSourceByCallNumber, false);
    EXPECT_EQ(View(iterator).front(), 3);
    iterator.SortBy(kSourceByNumber, false);
    EXPECT_EQ(View(iterator), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(iterator.KeyType(), kSourceByNumber);
    iterator.SortBy(42, true);  // unknown key: every key empty
    EXPECT_EQ(iterator.RecordCount(), 4);
}

TEST(WSourceIteratorTest, ReportsSortingProgress) {
    Sources s;
    WSourceIterator iterator("", &s.tree);
    std::string label;
    Hooks().progress = [&](const std::string& text, long long, long long) { label = text; };
    iterator.SortBy(kSourceByTitle, true);
    Hooks().progress = nullptr;
    EXPECT_EQ(label, "Sorting.  Please Wait...");
}

TEST(WSourceIteratorTest, NoSourcesOrNoCollection) {
    FakeCollection empty;
    WSourceIterator iterator("", &empty);
    iterator.SortBy(kSourceByTitle, true);
    EXPECT_EQ(iterator.KeyType(), 0);
    EXPECT_EQ(iterator.RecordCount(), 0);
    WSourceIterator none("", nullptr);
    EXPECT_EQ(none.SourceCount(), 0);
    EXPECT_EQ(none.SourceAt(1), 0);
}

TEST(WSourceIteratorTest, EachIteratorKeepsItsOwnSortState) {
    Sources s;
    WSourceIterator first("", &s.tree);
    first.SortBy(kSourceByTitle, true);
    WSourceIterator second("", &s.tree);
    EXPECT_EQ(first.KeyType(), kSourceByTitle);
    EXPECT_EQ(second.KeyType(), kSourceByNumber);
    first.SortBy(kSourceByTitle, true);
    EXPECT_EQ(first.Direction(), 2);
    EXPECT_EQ(second.Direction(), 1);
}

}  // namespace
}  // namespace kindrel
