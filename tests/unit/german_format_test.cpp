#include <gtest/gtest.h>

#include "run/german_format.h"

namespace {

using kv::platform::LocalDateTime;

TEST(GermanFormat, DatesAndTimesArePaddedWithZeros) {
    const LocalDateTime moment{2025, 3, 7, 9, 5, 4};
    EXPECT_EQ(kv::german::FormatDate(moment), "07.03.2025");
    EXPECT_EQ(kv::german::FormatTime(moment), "09:05:04");
    EXPECT_EQ(kv::german::FormatShortTime(moment), "09:05");
    EXPECT_EQ(kv::german::FormatDate({999, 12, 31, 23, 59, 59}), "31.12.0999");
}

TEST(GermanFormat, LongDatesNameTheDayAndTheMonth) {
    EXPECT_EQ(kv::german::FormatLongDate({2025, 1, 1, 0, 0, 0}), "Mittwoch, 1. Januar 2025");
    EXPECT_EQ(kv::german::FormatLongDate({2024, 3, 31, 0, 0, 0}), "Sonntag, 31. M\xE4rz 2024");
    EXPECT_EQ(kv::german::FormatLongDate({1899, 12, 30, 0, 0, 0}), "Samstag, 30. Dezember 1899");
    EXPECT_EQ(kv::german::FormatLongDate({1899, 12, 29, 0, 0, 0}), "Freitag, 29. Dezember 1899");
}

}  // namespace
