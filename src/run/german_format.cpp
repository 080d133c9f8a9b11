#include "run/german_format.h"

namespace kv::german {

namespace {
std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string FourDigits(int value) { return TwoDigits(value / 100) + TwoDigits(value % 100); }

template <std::size_t N>
const char* Name(const std::array<const char*, N>& names, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? names[static_cast<std::size_t>(index)] : "";
}
}  // namespace

int DayOfWeek(const platform::LocalDateTime& moment) {
    // Day 0 of the day numbers, 30 December 1899, was a Saturday.
    const std::int64_t weekday = (platform::DayNumber(moment.year, moment.month, moment.day) + 6) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

std::string FormatDate(const platform::LocalDateTime& moment) {
    return TwoDigits(moment.day) + DateSeparator + TwoDigits(moment.month) + DateSeparator + FourDigits(moment.year);
}

std::string FormatLongDate(const platform::LocalDateTime& moment) {
    return std::string(Name(LongDayNames, DayOfWeek(moment))) + ", " + std::to_string(moment.day) + ". " +
           Name(LongMonthNames, moment.month - 1) + " " + FourDigits(moment.year);
}

std::string FormatShortTime(const platform::LocalDateTime& moment) {
    return TwoDigits(moment.hour) + TimeSeparator + TwoDigits(moment.minute);
}

std::string FormatTime(const platform::LocalDateTime& moment) {
    return FormatShortTime(moment) + TimeSeparator + TwoDigits(moment.second);
}

}  // namespace kv::german
