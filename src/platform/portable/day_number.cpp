#include "platform/clock.h"

namespace kv::platform {

// Days from the civil calendar (proleptic Gregorian), shifted so that
// 30 December 1899 is day 0.
std::int64_t DayNumber(int year, int month, int day) {
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t daysSince1970 = era * 146097 + doe - 719468;
    return daysSince1970 + 25569;
}

}  // namespace kv::platform
