#include "platform/win32/win_dialogs.h"

#include <windows.h>
#undef MessageBox

namespace kv::platform::win32 {

void WinDialogs::SetOwnerWindow(BoxOwner owner, HWND window) {
    (owner == BoxOwner::Application ? application_ : wizard_) = window;
}

int WinDialogs::MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) {
    HWND window = owner == BoxOwner::Application ? application_ : wizard_;
    if (window != nullptr && !IsWindow(window)) window = nullptr;
    return MessageBoxA(window, text.c_str(), caption.c_str(), flags);
}

}  // namespace kv::platform::win32
