#pragma once
#include <string>
#include <unordered_map>

#include "ui/ui_host.h"

namespace kv::ui::win32 {

// Modal dialogs, popup menus and text measuring with the real window system.
class WinUiHost : public UiHost {
public:
    // The dialog is centred on (and disables) the open window above which it
    // appears; the call returns when the dialog has closed.
    void ShowModal(Form& dialog) override;
    void ShowPopup(PopupMenu& menu, const Form& over, int offsetX, int offsetY) override;
    // In 96-dpi pixels, the unit of the form descriptions. Remembered: the
    // download's progress handler measures the same caption for every
    // 1025-byte chunk, and a measurement takes a device context.
    int TextWidth(const Font& font, const std::string& text) override;

private:
    int Measure(const Font& font, const std::string& text) const;
    std::unordered_map<std::string, int> widths_;
};

}  // namespace kv::ui::win32
