#pragma once
#include <array>
#include <string>

#include "platform/clock.h"

// Dates and numbers in the German form, whatever the user's settings are.
namespace kv::german {

inline constexpr char DateSeparator = '.';
inline constexpr char TimeSeparator = ':';
inline constexpr char DecimalSeparator = ',';
inline constexpr char ThousandsSeparator = '.';
inline constexpr const char* CurrencyString = "\x80";  // the euro sign of Windows-1252

// Sunday first.
inline constexpr std::array<const char*, 7> ShortDayNames{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
inline constexpr std::array<const char*, 7> LongDayNames{"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                         "Donnerstag", "Freitag", "Samstag"};
// January first.
inline constexpr std::array<const char*, 12> LongMonthNames{"Januar",    "Februar", "März",     "April",
                                                            "Mai",       "Juni",    "Juli",     "August",
                                                            "September", "Oktober", "November", "Dezember"};

// 0 = Sunday.
int DayOfWeek(const platform::LocalDateTime& moment);

// "dd.mm.yyyy"
std::string FormatDate(const platform::LocalDateTime& moment);
// "dddd, d. MMMM yyyy", e.g. "Mittwoch, 1. Januar 2025"
std::string FormatLongDate(const platform::LocalDateTime& moment);
// "hh:mm"
std::string FormatShortTime(const platform::LocalDateTime& moment);
// "hh:mm:ss"
std::string FormatTime(const platform::LocalDateTime& moment);

}  // namespace kv::german
