// Fuzz target for genealogical dates: parses the input as a date text, prints it, orders it
// against fixed dates, steps it and measures ages, checking that ordering stays consistent.
#include "model/date.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// A step count from four input bytes, kept below 2^20 so one run stays fast.
int StepCount(const uint8_t* data, size_t size, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | (at + i < size ? data[at + i] : 0);
    const int magnitude = static_cast<int>(value & 0xFFFFF);
    return (value & 0x80000000u) ? -magnitude : magnitude;
}

void CheckOrder(const kindrel::WDate& a, const kindrel::WDate& b) {
    const int ab = a.Compare(b);
    const int ba = b.Compare(a);
    Check(ab >= -2 && ab <= 1);
    if (a.IsSet() && b.IsSet()) Check(ab == -ba);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kindrel::WDate date(text);
    (void)date.DisplayText();
    (void)date.MonthName();
    (void)date.QualifierLetter();
    Check(date.Compare(date) == (date.IsSet() ? 0 : -2));

    static const kindrel::WDate kFixed("ABT 1 JAN 1900");
    static const kindrel::WDate kUnclean("SOMETIME");
    static const kindrel::WDate kEmpty("");
    CheckOrder(date, kFixed);
    CheckOrder(date, kUnclean);
    CheckOrder(date, kEmpty);

    kindrel::WDateDiff diff;
    if (diff.Compute(kFixed, date)) (void)diff.AgeText();
    if (diff.Compute(date, kFixed)) (void)diff.AgeText();
    for (int level = 0; level <= 2; ++level) (void)date.DayNumber(level);

    // The first bytes also serve as step counts.
    kindrel::WDate stepped = date;
    stepped.AddDays(StepCount(data, size, 0));
    stepped.SubtractDays(StepCount(data, size, 4));
    stepped.AddMonths(StepCount(data, size, 8));
    stepped.SubtractMonths(StepCount(data, size, 12));
    stepped.AddYears(StepCount(data, size, 16));
    stepped.SubtractYears(StepCount(data, size, 20));
    (void)stepped.DisplayText();
    CheckOrder(stepped, date);
    if (diff.Compute(date, stepped)) (void)diff.Years();

    kindrel::WDate rebuilt;
    rebuilt.SetFromParts(stepped.Day(), stepped.Month(), stepped.Year());
    (void)rebuilt.DisplayText();
    CheckOrder(rebuilt, stepped);
    return 0;
}
