#pragma once
#include <functional>

#include "platform/dialogs.h"

struct HWND__;

namespace kv::platform::win32 {

// Message boxes that hold the windows of the program as the platform's own
// boxes do: one of the application disables every window of the program
// while it is up, one of a window disables that window. The entry tells it
// the windows once they exist; until then a box has no owner.
class WinDialogs : public Dialogs {
public:
    void SetOwnerWindow(BoxOwner owner, HWND__* window);
    // The view that the boxes stand over: the window open over the wizard,
    // and the mirror that makes every window show its model.
    void SetView(std::function<HWND__*()> openDialog, std::function<void()> mirror);
    int MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) override;

private:
    HWND__* OwnerWindow(BoxOwner owner) const;

    HWND__* application_ = nullptr;
    HWND__* wizard_ = nullptr;
    std::function<HWND__*()> openDialog_;
    std::function<void()> mirror_;
};

}  // namespace kv::platform::win32
