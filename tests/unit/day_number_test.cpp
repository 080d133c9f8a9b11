#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(DayNumber, CountsWholeDaysSinceTheEndOf1899) {
    EXPECT_EQ(kv::platform::DayNumber(1899, 12, 30), 0);
    EXPECT_EQ(kv::platform::DayNumber(1900, 1, 1), 2);
    EXPECT_EQ(kv::platform::DayNumber(1900, 3, 1), 61);  // 1900 was no leap year
    EXPECT_EQ(kv::platform::DayNumber(2025, 1, 1), 45658);
    EXPECT_EQ(kv::platform::DayNumber(2024, 2, 29) + 1, kv::platform::DayNumber(2024, 3, 1));
}

}  // namespace
