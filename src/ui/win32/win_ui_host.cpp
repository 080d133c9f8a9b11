#include "ui/win32/win_ui_host.h"

#include "ui/win32/fonts.h"
#include "ui/win32/message_loop.h"

namespace kv::ui::win32 {

void WinUiHost::ShowModal(Form& dialog) {
    // The dialog stands over the page that the handler has set so far.
    NativeForm::MirrorAll();
    NativeForm* owner = NativeForm::Topmost();
    NativeForm view(dialog, owner != nullptr ? owner->Handle() : nullptr, true);
    view.Show();
    RunMessageLoop(view);
}

void WinUiHost::ShowPopup(PopupMenu& menu, const Form& over, int offsetX, int offsetY) {
    NativeForm* owner = NativeForm::ViewOf(over);
    if (owner == nullptr) return;
    HWND window = owner->Handle();
    const POINT at = owner->ScreenPoint(offsetX, offsetY);
    HMENU popup = CreatePopupMenu();
    for (std::size_t i = 0; i < menu.items.size(); ++i)
        AppendMenuA(popup, MF_STRING, i + 1, menu.items[i].caption.c_str());
    SetForegroundWindow(window);  // else the menu does not close when clicked beside
    const int chosen = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN |
                                                                  TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                       at.x, at.y, 0, window, nullptr));
    DestroyMenu(popup);
    PostMessageA(window, WM_NULL, 0, 0);
    if (chosen <= 0 || static_cast<std::size_t>(chosen) > menu.items.size()) return;
    const std::function<void()> handler = menu.items[static_cast<std::size_t>(chosen) - 1].onClick;
    if (handler) handler();
}

int WinUiHost::TextWidth(const Font& font, const std::string& text) {
    const std::string key = font.face + '\x1f' + std::to_string(font.height) + (font.bold ? 'b' : '-') +
                            (font.italic ? 'i' : '-') + (font.underline ? 'u' : '-') + '\x1f' + text;
    if (const auto known = widths_.find(key); known != widths_.end()) return known->second;
    if (widths_.size() >= 256) widths_.clear();  // texts without end (a counter) must not pile up
    return widths_[key] = Measure(font, text);
}

int WinUiHost::Measure(const Font& font, const std::string& text) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Fonts().Get(font, 96));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

}  // namespace kv::ui::win32
