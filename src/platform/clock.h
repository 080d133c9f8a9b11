#pragma once
#include <cstdint>

namespace kv::platform {

struct LocalDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
    // The fixed pauses of the GUI thread.
    virtual void Pause(int milliseconds) = 0;
};

// Whole days since 30 December 1899 (the integer part of an OLE date).
std::int64_t DayNumber(int year, int month, int day);

}  // namespace kv::platform
