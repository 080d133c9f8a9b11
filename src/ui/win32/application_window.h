#pragma once
#include <windows.h>
#undef MessageBox

namespace kv::ui::win32 {

// The hidden top-level window that stands for the program. Whenever it is
// restored, shown or activated from outside (a second instance does that),
// it hides again and brings the main window, or the dialog or box open over
// it, to the front.
class ApplicationWindow {
public:
    ApplicationWindow();
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return window_; }
    void SetMainWindow(HWND window) { main_ = window; }
    void BringMainWindowToFront();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    HWND main_ = nullptr;
};

// A running instance is restored when minimised, else brought to the
// foreground. True when there was one.
bool RaiseRunningInstance();

}  // namespace kv::ui::win32
