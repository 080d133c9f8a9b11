#include "platform/win32/win_dispatcher.h"

#include <windows.h>

#include <exception>
#include <memory>

namespace kv::platform::win32 {

namespace {

constexpr UINT kSendMessage = WM_APP + 1;
constexpr UINT kPostMessage = WM_APP + 2;
constexpr char kClassName[] = "KVDispatcher";

}  // namespace

// The senders of one dispatcher sleep on one condition variable; the lock
// guards the finished flags of their calls.
struct WinDispatcher::Waiting {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;
};

struct WinDispatcher::SendCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool finished = false;
};

struct DispatcherWindow {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK DispatcherWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* self = reinterpret_cast<const WinDispatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == kSendMessage) {
        auto& call = *reinterpret_cast<WinDispatcher::SendCall*>(lParam);
        self->RunSent(call);
        self->Finish(call);
        return 0;
    }
    if (message == kPostMessage) {
        // Posted work has no one to report to: a failure must not unwind
        // through the system's message dispatch.
        std::unique_ptr<std::function<void()>> fn(reinterpret_cast<std::function<void()>*>(lParam));
        try {
            self->Run(*fn);
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

void RegisterDispatcherClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DispatcherWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // a second dispatcher finds the class registered
}

}  // namespace

void WinDispatcher::RunSent(SendCall& call) const {
    try {
        if (sendRunner_)
            sendRunner_(*call.fn);
        else
            Run(*call.fn);
    } catch (...) {
        call.error = std::current_exception();
    }
}

void WinDispatcher::Finish(SendCall& call) const {
    // The sender may return and drop the call as soon as the lock is free:
    // after the release only the dispatcher's own members are touched.
    AcquireSRWLockExclusive(&waiting_->lock);
    call.finished = true;
    ReleaseSRWLockExclusive(&waiting_->lock);
    WakeAllConditionVariable(&waiting_->finished);
}

WinDispatcher::WinDispatcher() : waiting_(std::make_unique<Waiting>()), guiThread_(GetCurrentThreadId()) {
    RegisterDispatcherClass();
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinDispatcher::~WinDispatcher() {
    // Work posted but never run is released with the window; a sender still
    // waiting goes on without its work run, as from a window that is gone.
    MSG msg;
    while (PeekMessageA(&msg, window_, kPostMessage, kPostMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    while (PeekMessageA(&msg, window_, kSendMessage, kSendMessage, PM_REMOVE))
        Finish(*reinterpret_cast<SendCall*>(msg.lParam));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void WinDispatcher::Send(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == guiThread_) {
        Run(fn);
        return;
    }
    SendCall call{&fn, nullptr};
    if (PostMessageA(window_, kSendMessage, 0, reinterpret_cast<LPARAM>(&call))) {
        AcquireSRWLockExclusive(&waiting_->lock);
        while (!call.finished) SleepConditionVariableSRW(&waiting_->finished, &waiting_->lock, INFINITE, 0);
        ReleaseSRWLockExclusive(&waiting_->lock);
    } else {
        // A full message queue refuses the post; the window serves the call
        // directly then (and not at all once it is gone).
        SendMessageA(window_, kSendMessage, 0, reinterpret_cast<LPARAM>(&call));
    }
    if (call.error) std::rethrow_exception(call.error);
}

void WinDispatcher::Post(std::function<void()> fn) {
    auto* heap = new std::function<void()>(std::move(fn));
    if (!PostMessageA(window_, kPostMessage, 0, reinterpret_cast<LPARAM>(heap))) delete heap;
}

}  // namespace kv::platform::win32
