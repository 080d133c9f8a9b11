#include "ui/win32/native_internal.h"

#include <commctrl.h>
#include <richedit.h>

#include "platform/win32/system_library.h"
#include "ui/win32/fonts.h"
#include "platform/portable/text.h"

namespace kv::ui::win32 {

namespace {

// Tooltip texts break their lines at CR.
std::string TooltipText(const std::string& hint) {
    std::string text;
    for (char c : hint) text += c == '\r' ? std::string("\r\n") : std::string(1, c);
    return text;
}

DWORD CALLBACK ReadRichTextChunk(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
    DWORD read = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(capacity), &read, nullptr)) return 1;
    *got = static_cast<LONG>(read);
    return 0;
}

// A missing or unreadable file leaves the view empty.
void LoadRichText(HWND view, const std::string& path) {
    SetWindowTextA(view, "");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, ReadRichTextChunk};
    SendMessageA(view, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    CloseHandle(file);
}

struct NativeClass {
    const char* name;
    DWORD style;
    DWORD exStyle;
};

NativeClass ClassOf(const Control& c) {
    switch (c.kind) {
        case Kind::Panel: return {"STATIC", SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case Kind::Label:
            return {"STATIC", static_cast<DWORD>(SS_NOTIFY | SS_NOPREFIX | (c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)), 0};
        case Kind::Button: return {"BUTTON", BS_PUSHBUTTON, 0};
        case Kind::FlatButton: return {"BUTTON", BS_PUSHBUTTON | BS_FLAT, 0};
        case Kind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX, 0};
        case Kind::Edit: return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case Kind::Progress: return {PROGRESS_CLASSA, PBS_SMOOTH, 0};
        case Kind::Memo: return {"EDIT", ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_READONLY, 0};
        case Kind::RichText:
            return {"RichEdit20A", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
        case Kind::ListBox: return {"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
        case Kind::Image: return {"STATIC", SS_NOTIFY | SS_OWNERDRAW, 0};
        case Kind::Bevel: return {"STATIC", static_cast<DWORD>(c.width >= c.height ? SS_ETCHEDHORZ : SS_ETCHEDVERT), 0};
    }
    return {"STATIC", 0, 0};
}

// A memo in a panel that is disabled for input keeps the look of its text but
// takes no focus and no selection: the mouse goes through it to the window.
LRESULT CALLBACK HeldTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCHITTEST && !EnabledWithParents(*reinterpret_cast<const Control*>(data))) return HTTRANSPARENT;
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void NativeForm::CreateControlWindow(std::size_t index) {
    Entry& entry = *entries_[index];
    Control& control = *entry.control;
    if (control.kind == Kind::RichText) platform::win32::LoadSystemLibrary("riched20.dll");  // registers the rich-text window class
    const NativeClass native = ClassOf(control);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style;
    if (control.tabOrder >= 0) style |= WS_TABSTOP;
    // Born in its state: a button that the page shows disabled is never,
    // not even between two calls, a window that takes a click.
    if (!EffectivelyEnabled(control)) style |= WS_DISABLED;
    entry.enabled = EffectivelyEnabled(control) ? 1 : 0;
    const int id = kFirstControlId + static_cast<int>(index);
    entry.window = CreateWindowExA(native.exStyle, native.name, "", style, 0, 0, 0, 0, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    // Each later control lies above the earlier ones: below the first later
    // one that has a window already, else on top.
    HWND above = HWND_TOP;
    for (std::size_t later = index + 1; later < entries_.size() && above == HWND_TOP; ++later)
        if (entries_[later]->window != nullptr) above = entries_[later]->window;
    SetWindowPos(entry.window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (control.kind == Kind::Edit)
        SetWindowSubclass(entry.window, KeyFilterProc, 0, reinterpret_cast<DWORD_PTR>(&control));
    if (control.kind == Kind::Memo)
        SetWindowSubclass(entry.window, HeldTextProc, 0, reinterpret_cast<DWORD_PTR>(&control));
}

void NativeForm::Mirror() {
    if (window_ == nullptr) return;
    MirrorWindow();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i]->window == nullptr) {
            if (!form_.Showing(*entries_[i]->control)) continue;
            CreateControlWindow(i);
        }
        MirrorControl(*entries_[i]);
    }
    MirrorTimers();
}

void NativeForm::MirrorWindow() {
    if (form_.caption != appliedCaption_) {
        SetWindowTextA(window_, form_.caption.c_str());
        appliedCaption_ = form_.caption;
    }
    if (form_.clientWidth != appliedClientWidth_ || form_.clientHeight != appliedClientHeight_) {
        const SIZE outer = OuterSize(kWindowStyle, 0, form_.clientWidth, form_.clientHeight, dpi_);
        SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        appliedClientWidth_ = form_.clientWidth;
        appliedClientHeight_ = form_.clientHeight;
    }
}

void NativeForm::MirrorControl(Entry& e) {
    const Control& c = *e.control;
    const RECT place{Scale(form_.ClientLeft(c), dpi_), Scale(form_.ClientTop(c), dpi_), Scale(c.width, dpi_),
                     Scale(c.height, dpi_)};
    if (place.left != e.place.left || place.top != e.place.top || place.right != e.place.right ||
        place.bottom != e.place.bottom) {
        SetWindowPos(e.window, nullptr, place.left, place.top, place.right, place.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        e.place = place;
        e.margin = -1;  // resizing an edit resets its formatting rectangle
    }
    HFONT font = Fonts().Get(c.font, dpi_);
    if (font != e.font) {
        SendMessageA(e.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        e.font = font;
        e.margin = -1;
    }
    const std::pair<std::uint32_t, std::uint32_t> colors{c.font.color, BackgroundOf(c)};
    if (e.colors != colors) {
        if (e.colors) InvalidateRect(e.window, nullptr, TRUE);
        e.colors = colors;
    }
    MirrorContent(e);
    MirrorHint(e);
    const int enabled = EffectivelyEnabled(c) ? 1 : 0;
    if (enabled != e.enabled) {
        EnableWindow(e.window, enabled);
        e.enabled = enabled;
    }
    const int visible = form_.Showing(c) ? 1 : 0;
    if (visible != e.visible) {
        ShowWindow(e.window, visible != 0 ? SW_SHOWNA : SW_HIDE);
        e.visible = visible;
    }
}

void NativeForm::MirrorContent(Entry& e) {
    const Control& c = *e.control;
    const bool textual = c.kind == Kind::Panel || c.kind == Kind::Label || c.kind == Kind::Button ||
                         c.kind == Kind::FlatButton || c.kind == Kind::CheckBox || c.kind == Kind::Edit;
    if (textual && e.caption != c.caption) {
        e.caption = c.caption;  // before the text goes in: an edit reports the change back
        SetWindowTextA(e.window, c.caption.c_str());
    }
    if ((c.kind == Kind::Edit || c.kind == Kind::Memo || c.kind == Kind::RichText) && e.readOnly != c.readOnly) {
        SendMessageA(e.window, EM_SETREADONLY, c.readOnly, 0);
        e.readOnly = c.readOnly;
    }
    switch (c.kind) {
        case Kind::Edit:
            if (e.maxLength != c.maxLength) {
                SendMessageA(e.window, EM_LIMITTEXT, static_cast<WPARAM>(c.maxLength), 0);
                e.maxLength = c.maxLength;
            }
            break;
        case Kind::CheckBox:
            if (e.checked != static_cast<int>(c.checked)) {
                SendMessageA(e.window, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
                e.checked = c.checked;
            }
            break;
        case Kind::Progress:
            if (e.maximum != c.maximum) {
                SendMessageA(e.window, PBM_SETRANGE32, 0, c.maximum);
                e.maximum = c.maximum;
                e.position = -1;
            }
            if (e.position != c.position) {
                SendMessageA(e.window, PBM_SETPOS, static_cast<WPARAM>(c.position), 0);
                e.position = c.position;
            }
            break;
        case Kind::Memo:
            if (e.lines != c.lines) {
                SetWindowTextA(e.window, kv::text::Join(c.lines, "\r\n").c_str());
                e.lines = c.lines;
            }
            // Zero leaves the system's own rectangle alone.
            if (e.margin != c.textMarginLeft && c.textMarginLeft > 0) {
                RECT r;
                SendMessageA(e.window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
                r.left = Scale(c.textMarginLeft, dpi_);
                SendMessageA(e.window, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
                e.margin = c.textMarginLeft;
            }
            break;
        case Kind::ListBox:
            if (e.lines != c.lines) {
                SendMessageA(e.window, LB_RESETCONTENT, 0, 0);
                for (const std::string& line : c.lines)
                    SendMessageA(e.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
                e.lines = c.lines;
            }
            break;
        case Kind::RichText:
            if (e.caption != c.caption) {
                LoadRichText(e.window, c.caption);
                e.caption = c.caption;
            }
            break;
        case Kind::Image:
            if (e.imageId != c.imageId) {
                if (e.bitmap != nullptr) DeleteObject(e.bitmap);
                e.bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.imageId),
                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
                e.imageId = c.imageId;
                InvalidateRect(e.window, nullptr, TRUE);
            }
            break;
        default: break;
    }
}

void NativeForm::MirrorHint(Entry& e) {
    const std::string& hint = e.control->hint;
    if (e.hint == hint || tooltip_ == nullptr) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(e.window);
    if (e.hint && !e.hint->empty()) SendMessageA(tooltip_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    std::string text = TooltipText(hint);
    tool.lpszText = text.data();
    if (!hint.empty()) SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    e.hint = hint;
}

void NativeForm::MirrorTimers() {
    const auto& timers = form_.Timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer& t = *timers[i];
        TimerState& state = timers_[i];
        if (t.enabled && (!state.running || state.interval != t.interval)) {
            SetTimer(window_, i + 1, static_cast<UINT>(std::max(1, t.interval)), nullptr);
            state = {true, t.interval};
        } else if (!t.enabled && state.running) {
            KillTimer(window_, i + 1);
            state.running = false;
        }
    }
}

}  // namespace kv::ui::win32
