#include "ui/win32/native_internal.h"

#include <commctrl.h>

#include <algorithm>

namespace kv::ui::win32 {

LRESULT CALLBACK KeyFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_CHAR) {
        const Control& control = *reinterpret_cast<const Control*>(data);
        if (control.onKeyPress) {
            bool accept = true;
            const char typed = static_cast<char>(wParam);
            NativeForm::RunHandler([&] { accept = control.onKeyPress(typed); });
            if (!accept) return 0;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void NativeForm::MoveFocus(bool backwards) {
    std::vector<const Entry*> stops;
    for (const auto& e : entries_)
        if (e->control->tabOrder >= 0 && IsWindowVisible(e->window) && IsWindowEnabled(e->window))
            stops.push_back(e.get());
    if (stops.empty()) {
        // Keys still need a target in this window: mnemonics and the menu key.
        const HWND focus = GetFocus();
        if (focus == nullptr || !IsWindowVisible(focus)) SetFocus(window_);
        return;
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Entry* a, const Entry* b) { return a->control->tabOrder < b->control->tabOrder; });
    const HWND focus = GetFocus();
    const auto current = std::find_if(stops.begin(), stops.end(), [&](const Entry* e) { return e->window == focus; });
    const std::size_t n = stops.size();
    std::size_t next = backwards ? n - 1 : 0;
    if (current != stops.end()) {
        const auto at = static_cast<std::size_t>(current - stops.begin());
        next = backwards ? (at + n - 1) % n : (at + 1) % n;
    }
    SetFocus(stops[next]->window);
    if (stops[next]->control->kind == Kind::Edit) SendMessageA(stops[next]->window, EM_SETSEL, 0, -1);
}

HWND NativeForm::FocusedButton() const {
    const Entry* e = FindEntry(GetFocus());
    if (e == nullptr || (e->control->kind != Kind::Button && e->control->kind != Kind::FlatButton)) return nullptr;
    return e->window;
}

bool NativeForm::PreTranslate(MSG& msg) {
    // Only keys navigate. Everything else (a transfer's progress step among
    // them, thousands a second) must not pay for finding the root window,
    // which asks the window server.
    if (msg.hwnd == nullptr || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    for (NativeForm* form : OpenForms()) {
        if (form->window_ != root) continue;
        const bool plainTab = msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
                              GetKeyState(VK_MENU) >= 0;
        if (plainTab) {
            form->MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
        return IsDialogMessageA(root, &msg) != FALSE;
    }
    return false;
}

}  // namespace kv::ui::win32
