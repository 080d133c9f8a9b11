#pragma once
#include "platform/dialogs.h"

struct HWND__;

namespace kv::platform::win32 {

// Message boxes owned by the hidden application window or by the wizard
// window; the entry tells it the two windows once they exist. Until then a
// box has no owner.
class WinDialogs : public Dialogs {
public:
    void SetOwnerWindow(BoxOwner owner, HWND__* window);
    int MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) override;

private:
    HWND__* application_ = nullptr;
    HWND__* wizard_ = nullptr;
};

}  // namespace kv::platform::win32
