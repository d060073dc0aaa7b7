// The condition string: splitting, operators, code fields, parameters and the limits.
#include "highlight/hl_string.h"
#include "containers/errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace kindrel {
namespace {

TEST(HLStringTest, EmptyTextHasNoConditions) {
    WHLString s;
    s.Parse("");
    EXPECT_EQ(s.ConditionCount(), 0);
    EXPECT_EQ(s.ConditionText(0), "");
    EXPECT_EQ(s.ConditionCode(0), 0);
}

TEST(HLStringTest, ReadsTheExampleOfTheEditor) {
    WHLString s;
    s.Parse("+21:15^3;A;-13");
    ASSERT_EQ(s.ConditionCount(), 2);
    EXPECT_EQ(s.ConditionText(0), "+21:15^3");
    EXPECT_EQ(s.ConditionCode(0), 21);
    EXPECT_FALSE(s.IsNegated(0));
    EXPECT_EQ(s.ConditionParameter(0), "15^3");
    EXPECT_TRUE(s.IsAnd(0));
    EXPECT_EQ(s.ConditionText(1), "-13");
    EXPECT_EQ(s.ConditionCode(1), 13);
    EXPECT_TRUE(s.IsNegated(1));
    EXPECT_EQ(s.ConditionParameter(1), "");
    EXPECT_FALSE(s.IsAnd(1));
}

TEST(HLStringTest, AnyOperatorButAReadsOr) {
    WHLString s;
    s.Parse("+17:M;X;+13:");
    ASSERT_EQ(s.ConditionCount(), 2);
    EXPECT_FALSE(s.IsAnd(0));
    s.Parse("+17:M;O;+13;a;+14");
    EXPECT_FALSE(s.IsAnd(0));
    EXPECT_FALSE(s.IsAnd(1));  // lower-case "a" is not AND
    s.Parse("+17:M;A;+13;A;+14");
    EXPECT_TRUE(s.IsAnd(0));
    EXPECT_TRUE(s.IsAnd(1));
}

TEST(HLStringTest, ParameterIsTheTextBetweenTheFirstTwoColons) {
    WHLString s;
    s.Parse("+28:1Salem:ignored;O;+13:;O;17");
    ASSERT_EQ(s.ConditionCount(), 3);
    EXPECT_EQ(s.ConditionParameter(0), "1Salem");
    EXPECT_EQ(s.ConditionParameter(1), "");
    EXPECT_EQ(s.ConditionCode(2), 17);  // no sign reads as plain
    EXPECT_FALSE(s.IsNegated(2));
}

TEST(HLStringTest, EmptyPieceAfterTheLastSeparatorIsDropped) {
    WHLString s;
    s.Parse("+13;");
    EXPECT_EQ(s.ConditionCount(), 1);
    s.Parse("+13;A;");
    EXPECT_EQ(s.ConditionCount(), 1);
    EXPECT_TRUE(s.IsAnd(0));
}

TEST(HLStringTest, EmptyConditionBetweenSeparatorsIsRefused) {
    WHLString s;
    EXPECT_THROW(s.Parse("+13;A;;O;+14"), KindrelError);
    EXPECT_THROW(s.Parse(";"), KindrelError);
    EXPECT_EQ(s.ConditionCount(), 0);
}

TEST(HLStringTest, CodeFieldThatIsNotANumberIsRefusedWithItsText) {
    WHLString s;
    s.Parse("+13");
    try {
        s.Parse("+13;A;+x7:M");
        FAIL() << "no error";
    } catch (const KindrelError& e) {
        EXPECT_NE(std::string(e.what()).find("\"+x7:M\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Condition 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.ConditionCount(), 0);
    EXPECT_THROW(s.Parse("+"), KindrelError);
    EXPECT_THROW(s.Parse("-:F"), KindrelError);
    EXPECT_THROW(s.Parse("+99999999999"), KindrelError);
    EXPECT_THROW(s.Parse("+-3"), KindrelError);
    EXPECT_THROW(s.Parse(" +3"), KindrelError);
}

TEST(HLStringTest, ThirteenConditionsFitAndAFourteenthIsRefused) {
    std::string text = "+13";
    for (int i = 2; i <= 13; ++i) text += ";A;+14";
    WHLString s;
    s.Parse(text);
    ASSERT_EQ(s.ConditionCount(), 13);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(s.IsAnd(i)) << i;
    EXPECT_FALSE(s.IsAnd(12));
    // An operator after the thirteenth condition joins nothing.
    s.Parse(text + ";A;");
    EXPECT_EQ(s.ConditionCount(), 13);
    EXPECT_FALSE(s.IsAnd(12));
    try {
        s.Parse(text + ";O;+15");
        FAIL() << "no error";
    } catch (const KindrelError& e) {
        EXPECT_NE(std::string(e.what()).find("at most 13"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("has 14"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.ConditionCount(), 0);
}

TEST(HLStringTest, TenThousandConditionsAreRefusedQuickly) {
    std::string text = "+13";
    for (int i = 1; i < 10000; ++i) text += ";O;+13";
    WHLString s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(s.Parse(text), KindrelError);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
    EXPECT_EQ(s.ConditionCount(), 0);
}

TEST(HLStringTest, OutOfRangeAccessorsAnswerNothing) {
    WHLString s;
    s.Parse("-17:F");
    EXPECT_EQ(s.ConditionText(-1), "");
    EXPECT_EQ(s.ConditionText(1), "");
    EXPECT_FALSE(s.IsNegated(5));
    EXPECT_FALSE(s.IsAnd(-1));
    EXPECT_FALSE(s.IsAnd(99));
    EXPECT_EQ(s.ConditionParameter(3), "");
}

}  // namespace
}  // namespace kindrel
