#include "ui/win32/message_loop.h"

#include "ui/win32/native_internal.h"

namespace kv::ui::win32 {

namespace {

// Without a dispatcher the loops wait for messages alone.
MessageWait& Wait() {
    static MessageWait wait = [](unsigned long milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
        return false;
    };
    return wait;
}

// While work keeps coming, messages are still looked at this often, so that
// input, timers and repaints are never starved.
constexpr DWORD kLookAtMessagesMillis = 10;

void Deliver(MSG& msg) {
    if (NativeForm::PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// Every message there is now; false when the program is asked to quit
// (which is passed on to any outer loop).
bool DeliverPending(const NativeForm* form) {
    MSG msg;
    while ((form == nullptr || form->IsOpen()) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Deliver(msg);
    }
    return true;
}

}  // namespace

void SetMessageWait(MessageWait wait) { Wait() = std::move(wait); }

void RunMessageLoop(const NativeForm& form) {
    DWORD lastLook = GetTickCount();
    while (form.IsOpen()) {
        // A wait that ran handed-over work goes on waiting: looking at an
        // empty queue after every progress step would cost a round trip.
        if (Wait()(INFINITE) && GetTickCount() - lastLook < kLookAtMessagesMillis) continue;
        lastLook = GetTickCount();
        if (!DeliverPending(&form)) return;
    }
}

void PumpPendingMessages() {
    Wait()(10);
    DeliverPending(nullptr);
}

}  // namespace kv::ui::win32
