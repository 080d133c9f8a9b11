#pragma once
#include "platform/clock.h"

namespace kv::platform::win32 {

class WinClock : public Clock {
public:
    LocalDateTime Now() override;
    void Pause(int milliseconds) override;
};

}  // namespace kv::platform::win32
