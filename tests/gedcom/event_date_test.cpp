#include "gedcom/event_date.h"

#include <gtest/gtest.h>

#include <string>

namespace kindrel {
namespace {

TEST(ReadEventDate, FillsFromTheDateLineAfterTheEvent) {
    const std::string t = "1 BIRT\n2 DATE 12 JAN 1900\n2 PLAC Rome\n";
    std::optional<WDate> date;
    ReadEventDate(date, t.data(), t.data() + t.size(), true);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->Year(), 1900);
    EXPECT_EQ(date->Month(), 1);
    EXPECT_EQ(date->Day(), 12);
}

TEST(ReadEventDate, ExaminesOnlyOneLineAndKeepsADateAlreadyRead) {
    const std::string t = "1 DEAT\n2 PLAC Paris\n2 DATE 1950\n";
    const char* end = t.data() + t.size();
    std::optional<WDate> date;
    ReadEventDate(date, t.data(), end, true);
    EXPECT_FALSE(date.has_value()) << "a DATE after the PLAC is not the line examined";
    ReadEventDate(date, t.data() + t.find("2 DATE"), end, false);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->Year(), 1950);
    const std::string other = "2 DATE 1777";
    ReadEventDate(date, other.data(), other.data() + other.size(), false);
    EXPECT_EQ(date->Year(), 1950) << "a set date is left alone";
    std::optional<WDate> none;
    ReadEventDate(none, nullptr, end, true);
    EXPECT_FALSE(none.has_value());
}

}  // namespace
}  // namespace kindrel
