#include "containers/int_array.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace kindrel {
namespace {

int CompareInts(const void* a, const void* b, void*) {
    std::int32_t x, y;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    return x < y ? -1 : (x > y ? 1 : 0);
}

TEST(WIntArray, StartsWithNZeros) {
    WIntArray array(5);
    EXPECT_EQ(array.Count(), 5);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(array.GetValue(i), 0);
    WIntArray named("", 3);
    EXPECT_EQ(named.Count(), 3);
}

TEST(WIntArray, InvalidPositionsReadZeroAndIgnoreWrites) {
    WIntArray array(3);
    array.Fill(4);
    EXPECT_EQ(array.GetValue(0), 0);
    EXPECT_EQ(array.GetValue(4), 0);
    EXPECT_EQ(array.GetValue(-7), 0);
    array.SetValue(0, 9);
    array.SetValue(4, 9);
    array.Increment(4);
    EXPECT_EQ(array.Count(), 3);
    EXPECT_EQ(array.GetValue(3), 4);
}

TEST(WIntArray, SetIncrementFillAndAdd) {
    WIntArray array(2);
    array.SetValue(1, -5);
    array.Increment(1);
    array.Increment(2);
    EXPECT_EQ(array.GetValue(1), -4);
    EXPECT_EQ(array.GetValue(2), 1);
    EXPECT_EQ(array.Add(INT32_MIN), 3);
    EXPECT_EQ(array.GetValue(3), INT32_MIN);
    array.Fill(-1);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(array.GetValue(i), -1);
    array.Fill(0);
    EXPECT_EQ(array.GetValue(2), 0);
}

TEST(WIntArray, TwentyThousandElementsLiveInATemporaryFileFromTheStart) {
    WIntArray big(20000);
    EXPECT_FALSE(big.InMemory());
    // The file's name goes as soon as it is made; it lives on as the mapping.
    EXPECT_FALSE(big.StoreFileName().empty());
    EXPECT_FALSE(std::filesystem::exists(big.StoreFileName()));
    WIntArray small(100);
    EXPECT_TRUE(small.InMemory());
    // The same operations give the same answers in both.
    for (WIntArray* array : {&big, &small}) {
        const int n = array->Count();
        for (int i = 1; i <= n; ++i) array->SetValue(i, (i * 37) % n);
        EXPECT_EQ(array->GetValue(0), 0);
        EXPECT_EQ(array->GetValue(n + 1), 0);
        array->Sort(CompareInts, nullptr);
        for (int i = 2; i <= n; ++i) ASSERT_LE(array->GetValue(i - 1), array->GetValue(i));
        const std::int32_t key = n / 2;
        const int at = array->Find(CompareInts, &key);
        ASSERT_GT(at, 0);
        EXPECT_EQ(array->GetValue(at), key);
        array->Add(n + 5);
        EXPECT_EQ(array->GetValue(n + 1), n + 5);
    }
}

TEST(WIntArray, GrowingPast64KMovesToAFileAndKeepsTheValues) {
    WIntArray array;
    EXPECT_TRUE(array.InMemory());
    for (int i = 1; i <= 40000; ++i) array.Add(i * 3);
    EXPECT_FALSE(array.InMemory());
    for (int i = 1; i <= 40000; ++i) ASSERT_EQ(array.GetValue(i), i * 3);
}

TEST(WBoolArray, StoresOneAndZeroAndReadsFalseOutside) {
    WBoolArray flags(4);
    EXPECT_EQ(flags.Count(), 4);
    flags.SetValue(2, true);
    flags.SetValue(9, true);
    EXPECT_FALSE(flags.GetValue(1));
    EXPECT_TRUE(flags.GetValue(2));
    EXPECT_FALSE(flags.GetValue(0));
    EXPECT_FALSE(flags.GetValue(5));
    EXPECT_EQ(*flags.Item(2), 1);
    flags.Fill(true);
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(flags.GetValue(i));
    // Only a stored 1 reads as true.
    const char two = 2;
    flags.SetItem(3, &two);
    EXPECT_FALSE(flags.GetValue(3));
    EXPECT_EQ(flags.Add(true), 5);
    EXPECT_TRUE(flags.GetValue(5));
}

TEST(WFloatArray, KeepsDoublePrecisionAndReadsZeroOutside) {
    WFloatArray numbers(2);
    numbers.SetValue(1, 1.0 / 3.0);
    numbers.SetValue(3, 5.0);
    EXPECT_DOUBLE_EQ(numbers.GetValue(1), 1.0 / 3.0);
    EXPECT_EQ(numbers.GetValue(2), 0.0);
    EXPECT_EQ(numbers.GetValue(0), 0.0);
    EXPECT_EQ(numbers.GetValue(3), 0.0);
    numbers.Fill(2.5);
    EXPECT_EQ(numbers.GetValue(2), 2.5);
    EXPECT_EQ(numbers.Add(-0.125), 3);
    EXPECT_EQ(numbers.GetValue(3), -0.125);
}

}  // namespace
}  // namespace kindrel
