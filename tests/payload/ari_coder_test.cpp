// The frequency models and the structured arithmetic coder: model updates, halving, and the
// decoder's reading of zero runs and end of block.
#include "payload/ari_model.h"
#include "payload/struc_ari_decoder.h"
#include "payload/struc_ari_encoder.h"

#include "payload_test_util.h"

namespace kindrel::test {
namespace {

// Frequencies and sums agree; with tables set, index and value tables are inverse (they stay
// so while the extra slot is never coded, which only a damaged stream does).
void ExpectConsistent(const TGroupAriModel& model, bool tables = true) {
    EXPECT_EQ(model.Freq(0), 0);
    int32_t above = 0;
    for (int i = model.Slots(); i >= 0; --i) {
        EXPECT_EQ(model.Cum(i), above) << i;
        above += model.Freq(i);
        if (i >= 1) {
            EXPECT_GE(model.Freq(i), 1) << i;
        }
    }
    if (!tables) return;
    for (int i = 1; i <= model.Values(); ++i) EXPECT_EQ(model.IndexOf(model.ValueOf(i)), i) << i;
}

TEST(GroupAriModel, StartsWithEqualFrequenciesAndAnExtraSlot) {
    const TGroupAriModel model(0, 129, 8192, 1);
    EXPECT_EQ(model.Values(), 130);
    EXPECT_EQ(model.Slots(), 131);
    EXPECT_EQ(model.Total(), 131);
    for (int i = 0; i <= 131; ++i) EXPECT_EQ(model.Cum(i), 131 - i);
    for (int i = 1; i <= 130; ++i) EXPECT_EQ(model.ValueOf(i), i - 1);
    EXPECT_EQ(model.ValueOf(131), 0);
    ExpectConsistent(model);
}

TEST(GroupAriModel, UpdateMovesTheValueToTheLowestIndexOfEqualFrequency) {
    TGroupAriModel model(0, 8, 4096, 32);
    model.Update(4);  // all equal: value 3 moves to index 1
    EXPECT_EQ(model.ValueOf(1), 3);
    EXPECT_EQ(model.ValueOf(4), 0);
    EXPECT_EQ(model.Freq(1), 33);
    EXPECT_EQ(model.Total(), 10 + 32);
    model.Update(1);  // already lowest
    EXPECT_EQ(model.ValueOf(1), 3);
    EXPECT_EQ(model.Freq(1), 65);
    model.Update(7);  // lowest index with frequency 1 is 2
    EXPECT_EQ(model.ValueOf(2), 6);
    EXPECT_EQ(model.ValueOf(7), 1);
    ExpectConsistent(model);
}

TEST(GroupAriModel, HalvingKeepsEveryUsedFrequencyAtLeastOne) {
    TGroupAriModel model(0, 3, 16, 1);
    std::mt19937 rng(5);
    int halvings = 0;
    for (int step = 0; step < 500; ++step) {
        const int32_t before = model.Total();
        model.Update(1 + static_cast<int>(rng() % 5));  // the extra slot too
        if (model.Total() < before) ++halvings;
        EXPECT_LE(model.Total(), 16);
        ExpectConsistent(model, false);
    }
    EXPECT_GT(halvings, 10);
    TGroupAriModel coded(0, 129, 8192, 1);
    for (int step = 0; step < 40000; ++step) coded.Update(1 + static_cast<int>(rng() % 130));
    ExpectConsistent(coded);
}

TEST(GroupAriModel, HalvesBeforeTheUpdateWhenTheTotalReachesTheLimit) {
    TGroupAriModel model(0, 1, 6, 1);  // N = 3, total 3
    model.Update(1);
    model.Update(1);
    model.Update(1);  // freq 4,1,1: total 6 = limit
    EXPECT_EQ(model.Total(), 6);
    model.Update(2);  // halve to 2,1,1 (total 4), then index 2 gains 1
    EXPECT_EQ(model.Freq(1), 2);
    EXPECT_EQ(model.Freq(2), 2);
    EXPECT_EQ(model.Freq(3), 1);
    EXPECT_EQ(model.Total(), 5);
}

TEST(HeadAriModel, GroupsByMagnitude) {
    const int expected[][2] = {{0, 0},  {1, 1},   {2, 2},   {3, 2},   {4, 3},  {7, 3},
                               {8, 4},  {15, 4},  {16, 5},  {31, 5},  {32, 6}, {63, 6},
                               {64, 7}, {127, 7}, {128, 8}, {256, 8}, {257, 8}};
    for (const auto& [value, group] : expected) EXPECT_EQ(THeadAriModel::GroupOf(value), group);
    THeadAriModel model;
    EXPECT_EQ(model.Head().Values(), 9);
    EXPECT_EQ(model.Group(8).Values(), 130);
    EXPECT_EQ(model.Group(2).Values(), 2);
}

// Encodes symbol values into a file and answers its name.
std::string EncodeToFile(const ScratchDir& dir, const std::vector<int>& values, int64_t* size) {
    std::vector<uint8_t> coded;
    TStrucAriEncoder encoder;
    encoder.Start(coded);
    for (int v : values) encoder.EncodeValue(v);
    encoder.Finish();
    const std::string path = dir.File("coded");
    WriteFile(path, coded);
    *size = static_cast<int64_t>(coded.size());
    return path;
}

std::vector<uint8_t> DecodeIndexes(const std::vector<int>& values, int maxLength = kMaxBlockBytes) {
    ScratchDir dir;
    int64_t size = 0;
    const std::string path = EncodeToFile(dir, values, &size);
    TBitFile file(path, FileOpenMode::Read);
    file.SetByteLimit(size);
    std::vector<uint8_t> indexes(static_cast<size_t>(maxLength));
    TFileStrucAriDecoder decoder;
    const int n = decoder.DecodeBlock(file, indexes.data(), maxLength, 1);
    indexes.resize(static_cast<size_t>(n));
    return indexes;
}

TEST(StrucAriCoder, DecodesWhatWasEncoded) {
    std::mt19937 rng(11);
    std::vector<int> values;
    for (int i = 0; i < 20000; ++i) {
        // Mostly small values, as move-to-front output has them, but every value appears.
        const int v = (i % 7 == 0) ? static_cast<int>(rng() % 258) : static_cast<int>(rng() % 6);
        values.push_back(v);
    }
    ScratchDir dir;
    int64_t size = 0;
    const std::string path = EncodeToFile(dir, values, &size);
    TBitFile file(path, FileOpenMode::Read);
    file.SetByteLimit(size);
    TFileStrucAriDecoder decoder;
    decoder.Attach(file);
    decoder.Start();
    for (size_t i = 0; i < values.size(); ++i) ASSERT_EQ(decoder.DecodeValue(), values[i]) << i;
    // The decoder looks 16 bits ahead: it reads at most two zero bytes past the coded data.
    EXPECT_LE(file.BytesTaken() - size, 2);
}

TEST(StrucAriCoder, FirstValueEndOfBlockGivesNothing) {
    EXPECT_TRUE(DecodeIndexes({257}).empty());
}

TEST(StrucAriCoder, RunDigitsZeroOneGiveFiveZeros) {
    EXPECT_EQ(DecodeIndexes({0, 1, 257}), Bytes(5, 0));
}

TEST(StrucAriCoder, RunDigitsOneOneGiveSixZeros) {
    EXPECT_EQ(DecodeIndexes({1, 1, 257}), Bytes(6, 0));
}

TEST(StrucAriCoder, IndexesAreValueMinusOneAndEndRuns) {
    EXPECT_EQ(DecodeIndexes({5, 0, 256, 1, 2, 0, 0, 257}), (Bytes{4, 0, 255, 0, 0, 1, 0, 0, 0}));
}

TEST(StrucAriCoder, RefusesARunPastTheLimit) {
    try {
        DecodeIndexes({0, 0, 0, 0, 257}, 14);  // 1 + 2 + 4 + 8 = 15 zeros
        FAIL() << "run accepted";
    } catch (const EBlockError& e) {
        EXPECT_STREQ(e.what(), "Block 1: the coded data expands past 14 bytes");
    }
    EXPECT_EQ(DecodeIndexes({0, 0, 0, 0, 257}, 15).size(), 15u);
    // Forty digits would overflow a 32-bit run; the limit stops it first.
    EXPECT_THROW(DecodeIndexes(std::vector<int>(40, 1)), EBlockError);
}

TEST(StrucAriCoder, RefusesMoreIndexesThanTheLimit) {
    std::vector<int> values(10, 3);
    values.push_back(257);
    EXPECT_EQ(DecodeIndexes(values, 10).size(), 10u);
    EXPECT_THROW(DecodeIndexes(values, 9), EBlockError);
}

}  // namespace
}  // namespace kindrel::test
