// Islands of real GEDCOM files: the sample family, and generated files of every shape checked
// against a union-find built straight from the file's FAM and INDI pointer lines.
#include "analysis/islands.h"
#include "gedcom/ged_collection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<WGEDCollection> Load(const std::string& file) {
    std::string error;
    std::unique_ptr<WGEDCollection> collection = OpenGedcomCollection(file, error, kKindGedcom);
    EXPECT_NE(collection, nullptr) << error;
    if (!collection) return nullptr;
    EXPECT_TRUE(collection->LoadFile());
    collection->AfterLoad();
    return collection;
}

TEST(IslandsGedcomTest, SampleFamilyHasThreeIslands) {
    const std::unique_ptr<WGEDCollection> collection =
        Load(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
    ASSERT_NE(collection, nullptr);
    WIslands& islands = WIslands::Of(*collection);
    ASSERT_EQ(islands.CalculateIslands(), 3);
    EXPECT_EQ(islands.IslandSize(1), 54);
    EXPECT_EQ(islands.IslandFamilyCount(1), 17);
    EXPECT_EQ(islands.IslandFirstIndividual(1), 1);
    EXPECT_EQ(islands.IslandSize(2), 4);
    EXPECT_EQ(islands.IslandFamilyCount(2), 1);
    EXPECT_EQ(islands.IslandFirstIndividual(2), 55);
    EXPECT_EQ(islands.IslandSize(3), 1);
    EXPECT_EQ(islands.IslandFamilyCount(3), 0);
    EXPECT_EQ(islands.IslandFirstIndividual(3), 59);
    for (int32_t n = 1; n <= 54; ++n) EXPECT_EQ(islands.IslandOf(n), 1);
    for (int32_t n = 55; n <= 58; ++n) EXPECT_EQ(islands.IslandOf(n), 2);
    EXPECT_EQ(islands.IslandOf(59), 3);
    for (int32_t f = 1; f <= 17; ++f) EXPECT_EQ(islands.FamilyIslandNumberOf(f), 1);
    EXPECT_EQ(islands.FamilyIslandNumberOf(18), 2);

    islands.UseIsland(2);
    EXPECT_EQ(collection->ViewCount(), 4);
    EXPECT_EQ(collection->ViewToIndividual(1), 55);
    EXPECT_EQ(collection->IndividualToView(58), 4);
    EXPECT_EQ(collection->IndividualToView(1), 0);
}

// The expected islands of a GEDCOM text: individuals numbered in file order, joined through
// every pointer between INDI and FAM records.
struct Expected {
    int32_t individuals = 0;
    std::vector<int32_t> island;  // per individual (1-based), numbered by lowest member
    std::map<int32_t, int32_t> size;
    std::map<int32_t, int32_t> families;
    std::map<int32_t, int32_t> first;
};

Expected FromText(const std::string& text) {
    std::map<std::string, int32_t> node;  // "@I1@" or "@F1@" -> union-find node
    std::vector<int32_t> parent;
    std::vector<int32_t> individualNode;  // per individual number - 1
    std::vector<int32_t> familyNode;
    const auto nodeOf = [&](const std::string& id) {
        auto [it, added] = node.emplace(id, int32_t(parent.size()));
        if (added) parent.push_back(it->second);
        return it->second;
    };
    const auto find = [&](int32_t x) {
        while (parent[size_t(x)] != x) x = parent[size_t(x)] = parent[size_t(parent[size_t(x)])];
        return x;
    };
    std::string current;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("0 ", 0) == 0) {
            current.clear();
            const size_t close = line.find("@ ", 3);
            if (line.size() > 3 && line[2] == '@' && close != std::string::npos) {
                const std::string id = line.substr(2, close - 1);
                const std::string tag = line.substr(close + 2);
                if (tag == "INDI") {
                    individualNode.push_back(nodeOf(id));
                    current = id;
                } else if (tag == "FAM") {
                    familyNode.push_back(nodeOf(id));
                    current = id;
                }
            }
            continue;
        }
        if (current.empty() || line.rfind("1 ", 0) != 0 || line.size() < 8) continue;
        const std::string tag = line.substr(2, 4);
        if (tag != "HUSB" && tag != "WIFE" && tag != "CHIL" && tag != "FAMC" && tag != "FAMS") {
            continue;
        }
        const std::string target = line.substr(7);
        const int32_t a = find(nodeOf(current));
        const int32_t b = find(nodeOf(target));
        if (a != b) parent[size_t(std::max(a, b))] = std::min(a, b);
    }
    Expected expected;
    expected.individuals = int32_t(individualNode.size());
    expected.island.assign(individualNode.size() + 1, 0);
    std::map<int32_t, int32_t> numberOfRoot;
    for (int32_t n = 1; n <= expected.individuals; ++n) {
        const int32_t root = find(individualNode[size_t(n - 1)]);
        const auto [it, added] = numberOfRoot.emplace(root, int32_t(numberOfRoot.size()) + 1);
        expected.island[size_t(n)] = it->second;
        if (added) expected.first[it->second] = n;
        ++expected.size[it->second];
    }
    for (const int32_t f : familyNode) {
        const auto it = numberOfRoot.find(find(f));
        if (it != numberOfRoot.end()) ++expected.families[it->second];
    }
    return expected;
}

class GeneratedIslandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-islands-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Writes a generated file and checks its islands against the union-find.
    void Check(const std::string& options) {
        SCOPED_TRACE(options);
        const fs::path file = m_dir / "generated.ged";
        const std::string command = std::string("'") + KINDREL_GENGEDCOM + "' " + options +
                                    " -o '" + file.string() + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(file, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const Expected expected = FromText(text);
        const std::unique_ptr<WGEDCollection> collection = Load(file.string());
        ASSERT_NE(collection, nullptr);
        ASSERT_EQ(collection->IndividualCount(), expected.individuals);
        WIslands& islands = WIslands::Of(*collection);
        ASSERT_EQ(islands.CalculateIslands(), int32_t(expected.size.size()));
        for (int32_t n = 1; n <= expected.individuals; ++n) {
            const int32_t number = expected.island[size_t(n)];
            ASSERT_EQ(islands.IslandNumberOf(n), number) << "individual " << n;
        }
        int32_t previous = INT32_MAX;
        for (int32_t p = 1; p <= islands.IslandCount(); ++p) {
            const int32_t number = islands.IslandNumberAt(p);
            ASSERT_EQ(islands.IslandSize(p), expected.size.at(number));
            const auto families = expected.families.find(number);
            ASSERT_EQ(islands.IslandFamilyCount(p),
                      families == expected.families.end() ? 0 : families->second);
            ASSERT_EQ(islands.IslandFirstIndividual(p), expected.first.at(number));
            ASSERT_LE(islands.IslandSize(p), previous);
            previous = islands.IslandSize(p);
        }
    }

    fs::path m_dir;
};

TEST_F(GeneratedIslandsTest, NormalFilesOfSeveralSeeds) {
    for (const int seed : {1, 2, 3, 11}) Check("3000 --seed " + std::to_string(seed));
}

TEST_F(GeneratedIslandsTest, ShuffledIdentifiersWideAndChainShapes) {
    Check("2500 --seed 5 --shuffle-ids");
    Check("2000 --shape wide --seed 4");
    Check("2000 --shape chain --seed 6 --line-ends lf");
}

}  // namespace
}  // namespace kindrel
