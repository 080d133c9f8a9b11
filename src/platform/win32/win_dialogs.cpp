#include "platform/win32/win_dialogs.h"

#include <windows.h>
#undef MessageBox

#include <vector>

namespace kv::platform::win32 {

namespace {

// While a box of the application is up no window of the program takes
// input; afterwards the windows come back as they were and the window that
// was active is active again (the box hands activation to its hidden owner).
class HeldProgramWindows {
public:
    HeldProgramWindows() : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), Hold, reinterpret_cast<LPARAM>(this));
    }
    ~HeldProgramWindows() {
        for (HWND window : held_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        if (active_ != nullptr && IsWindow(active_) && IsWindowVisible(active_)) SetActiveWindow(active_);
    }
    HeldProgramWindows(const HeldProgramWindows&) = delete;
    HeldProgramWindows& operator=(const HeldProgramWindows&) = delete;

private:
    static BOOL CALLBACK Hold(HWND window, LPARAM self) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            reinterpret_cast<HeldProgramWindows*>(self)->held_.push_back(window);
        }
        return TRUE;
    }

    HWND active_;
    std::vector<HWND> held_;
};

}  // namespace

void WinDialogs::SetOwnerWindow(BoxOwner owner, HWND window) {
    (owner == BoxOwner::Application ? application_ : wizard_) = window;
}

void WinDialogs::SetView(std::function<HWND()> openDialog, std::function<void()> mirror) {
    openDialog_ = std::move(openDialog);
    mirror_ = std::move(mirror);
}

HWND WinDialogs::OwnerWindow(BoxOwner owner) const {
    HWND window = nullptr;
    switch (owner) {
        case BoxOwner::Application: window = application_; break;
        case BoxOwner::Wizard: window = wizard_; break;
        case BoxOwner::OpenDialog: window = openDialog_ ? openDialog_() : wizard_; break;
    }
    return window != nullptr && IsWindow(window) ? window : nullptr;
}

int WinDialogs::MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) {
    // The box runs its own message loop, which paints what the handler has
    // changed so far: the page behind the box is the one the handler set.
    if (mirror_) mirror_();
    HWND window = OwnerWindow(owner);
    if (owner != BoxOwner::Application) return MessageBoxA(window, text.c_str(), caption.c_str(), flags);
    HeldProgramWindows held;
    return MessageBoxA(window, text.c_str(), caption.c_str(), flags);
}

}  // namespace kv::platform::win32
