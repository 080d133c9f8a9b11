#pragma once
#include "ui/ui_host.h"

namespace kv::ui::win32 {

// Modal dialogs, popup menus and text measuring with the real window system.
class WinUiHost : public UiHost {
public:
    // The dialog is centred on (and disables) the open window above which it
    // appears; the call returns when the dialog has closed.
    void ShowModal(Form& dialog) override;
    void ShowPopup(PopupMenu& menu, int screenX, int screenY) override;
    // In 96-dpi pixels, the unit of the form descriptions.
    int TextWidth(const Font& font, const std::string& text) override;
};

}  // namespace kv::ui::win32
