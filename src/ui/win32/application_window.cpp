#include "ui/win32/application_window.h"

#include "ui/app_identity.h"

namespace kv::ui::win32 {

namespace {
constexpr UINT kBringToFront = WM_APP + 10;
}

ApplicationWindow::ApplicationWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kApplicationClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, kApplicationTitle,
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ApplicationWindow::~ApplicationWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void ApplicationWindow::BringMainWindowToFront() {
    if (IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
    if (main_ == nullptr || !IsWindow(main_)) return;
    if (IsIconic(main_)) ShowWindow(main_, SW_RESTORE);
    HWND target = GetLastActivePopup(main_);
    const HWND ownBox = GetLastActivePopup(window_);
    if (ownBox != window_ && IsWindowVisible(ownBox)) target = ownBox;  // a box of the application itself
    SetForegroundWindow(target);
}

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ApplicationWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) {
        const bool restored = (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) ||
                              (message == WM_SHOWWINDOW && wParam != FALSE) ||
                              (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE);
        if (restored) {
            // Not while the notification is still being delivered.
            PostMessageA(window, kBringToFront, 0, 0);
            if (message == WM_SYSCOMMAND) return 0;
        }
        if (message == kBringToFront) {
            self->BringMainWindowToFront();
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RaiseRunningInstance() {
    HWND running = FindWindowA(kApplicationClass, kApplicationSearchTitle);
    if (running == nullptr) return false;
    if (IsIconic(running))
        ShowWindow(running, SW_RESTORE);
    else
        SetForegroundWindow(running);
    return true;
}

}  // namespace kv::ui::win32
