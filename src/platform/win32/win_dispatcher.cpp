#include "platform/win32/win_dispatcher.h"

#include <windows.h>

#include <exception>
#include <memory>

namespace kv::platform::win32 {

namespace {

constexpr UINT kSendMessage = WM_APP + 1;
constexpr UINT kPostMessage = WM_APP + 2;
constexpr char kClassName[] = "KVDispatcher";

struct SendCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
};

}  // namespace

struct DispatcherWindow {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK DispatcherWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* self = reinterpret_cast<const WinDispatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == kSendMessage) {
        auto* call = reinterpret_cast<SendCall*>(lParam);
        try {
            self->Run(*call->fn);
        } catch (...) {
            call->error = std::current_exception();
        }
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

WinDispatcher::WinDispatcher() : guiThread_(GetCurrentThreadId()) {
    RegisterDispatcherClass();
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinDispatcher::~WinDispatcher() {
    // Work posted but never run is released with the window.
    MSG msg;
    while (PeekMessageA(&msg, window_, kPostMessage, kPostMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void WinDispatcher::Send(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == guiThread_) {
        Run(fn);
        return;
    }
    SendCall call{&fn, nullptr};
    SendMessageA(window_, kSendMessage, 0, reinterpret_cast<LPARAM>(&call));
    if (call.error) std::rethrow_exception(call.error);
}

void WinDispatcher::Post(std::function<void()> fn) {
    auto* heap = new std::function<void()>(std::move(fn));
    if (!PostMessageA(window_, kPostMessage, 0, reinterpret_cast<LPARAM>(heap))) delete heap;
}

}  // namespace kv::platform::win32
