#include "platform/win32/win_clock.h"

#include <windows.h>

namespace kv::platform::win32 {

LocalDateTime WinClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void WinClock::Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace kv::platform::win32
