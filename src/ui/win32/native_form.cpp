#include "ui/win32/native_form.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <exception>
#include <optional>

#include "platform/win32/system_library.h"
#include "ui/app_identity.h"
#include "ui/win32/fonts.h"

namespace kv::ui::win32 {

namespace {

constexpr int kFirstControlId = 1000;

// Windows before 10 lack the per-window density functions.
int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = platform::win32::LibraryFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : 96;
}

SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = platform::win32::LibraryFunction<AdjustFn>("user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, Scale(clientWidth, dpi), Scale(clientHeight, dpi)};
    if (adjustForDpi != nullptr)
        adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

COLORREF Resolve(std::uint32_t color) {
    return (color & 0x80000000u) != 0 ? GetSysColor(static_cast<int>(color & 0xFFu)) : static_cast<COLORREF>(color);
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\r\n") + lines[i];
    return text;
}

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

bool TakesInput(Kind kind) {
    return kind == Kind::Button || kind == Kind::FlatButton || kind == Kind::CheckBox || kind == Kind::Edit ||
           kind == Kind::ListBox;
}

bool EnabledWithParents(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->parent)
        if (!c->enabled) return false;
    return true;
}

// Input controls are disabled with their parents; a disabled panel leaves
// the look of its texts alone.
bool EffectivelyEnabled(const Control& control) {
    return TakesInput(control.kind) ? EnabledWithParents(control) : control.enabled;
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

std::vector<NativeForm*>& OpenForms() {
    static std::vector<NativeForm*> forms;
    return forms;
}

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

// One model control, its real window and what was last put into it.
struct NativeForm::Entry {
    explicit Entry(Control& c) : control(&c) {}
    ~Entry() {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    Control* control;
    HWND window = nullptr;
    RECT place{-1, -1, -1, -1};
    HFONT font = nullptr;
    std::optional<std::string> caption, hint;
    std::optional<std::vector<std::string>> lines;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> colors;
    int position = -1, maximum = -1, checked = -1, maxLength = -1, readOnly = -1;
    int enabled = -1, visible = -1, margin = -1, imageId = 0;
    HBITMAP bitmap = nullptr;
};

namespace {

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

// A memo in a panel that is disabled for input keeps the look of its text but
// takes no focus and no selection: the mouse goes through it to the window.
LRESULT CALLBACK HeldTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCHITTEST && !EnabledWithParents(*reinterpret_cast<const Control*>(data))) return HTTRANSPARENT;
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

NativeForm::NativeForm(Form& form, HWND owner, bool modal) : form_(form), owner_(owner), modal_(modal) {
    CreateTopLevel(owner);
    CreateControls();
    timers_.resize(form_.Timers().size());
    form_.closeHook = [this] {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
    };
    form_.repaintHook = [this] {
        Mirror();
        if (window_ != nullptr) RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    OpenForms().push_back(this);
    Mirror();
}

NativeForm::~NativeForm() {
    if (window_ != nullptr) {
        closing_ = true;  // the owner of the view ends it: no close handler
        DestroyWindow(window_);
    }
    auto& open = OpenForms();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    for (auto& [color, brush] : brushes_) DeleteObject(brush);
}

void NativeForm::CreateTopLevel(HWND owner) {
    const std::string className = "T" + form_.name;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className.c_str();
    RegisterClassExA(&wc);  // already registered by an earlier window of the same form: fine
    CreateWindowExA(0, className.c_str(), form_.caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                    owner, nullptr, wc.hInstance, this);
    appliedCaption_ = form_.caption;
    dpi_ = WindowDpi(window_);
    PlaceWindow();
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               wc.hInstance, nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

// Client size from the model, the position from the form's rule.
void NativeForm::PlaceWindow() {
    const SIZE outer = OuterSize(kWindowStyle, 0, form_.clientWidth, form_.clientHeight, dpi_);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (form_.position == Position::OwnerCenter && owner_ != nullptr) GetWindowRect(owner_, &area);
    const int x = std::max<int>(0, area.left + (area.right - area.left - outer.cx) / 2);
    const int y = std::max<int>(0, area.top + (area.bottom - area.top - outer.cy) / 2);
    SetWindowPos(window_, nullptr, x, y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    appliedClientWidth_ = form_.clientWidth;
    appliedClientHeight_ = form_.clientHeight;
}

// A control gets its window when it is first shown: a page the user has not
// reached yet costs the start nothing (each window is a round trip to the
// window server under Wine).
void NativeForm::CreateControls() {
    for (Control* control : form_.Controls()) entries_.push_back(std::make_unique<Entry>(*control));
}

void NativeForm::CreateControlWindow(std::size_t index) {
    Entry& entry = *entries_[index];
    Control& control = *entry.control;
    if (control.kind == Kind::RichText) platform::win32::LoadSystemLibrary("riched20.dll");  // registers the rich-text window class
    const NativeClass native = ClassOf(control);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style;
    if (control.tabOrder >= 0) style |= WS_TABSTOP;
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

void NativeForm::Show() {
    if (window_ == nullptr) return;
    if (modal_ && owner_ != nullptr) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(window_, focus)) MoveFocus(false);
    UpdateWindow(window_);
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
                SetWindowTextA(e.window, JoinLines(c.lines).c_str());
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

LRESULT CALLBACK NativeForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<NativeForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->OnDestroy();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT NativeForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false);
        case WM_CTLCOLOREDIT:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), true);
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_CLOSE: OnClose(); return 0;
        case WM_MOVE: {
            RECT r;
            GetWindowRect(window_, &r);
            form_.left = r.left;
            form_.top = r.top;
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
            } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                MoveFocus(false);
            }
            return 0;
        case DM_GETDEFID:
            if (HWND button = FocusedButton()) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

NativeForm::Entry* NativeForm::FindEntry(HWND child) const {
    if (child == nullptr || GetParent(child) != window_) return nullptr;
    const int index = GetDlgCtrlID(child) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(entries_.size())) return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

void NativeForm::OnCommand(WORD id, WORD code) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    Entry& e = *entries_[static_cast<std::size_t>(index)];
    Control& c = *e.control;
    if (c.kind == Kind::Edit) {
        if (code == EN_CHANGE) {
            c.caption = WindowText(e.window);
            e.caption = c.caption;
        }
        return;
    }
    const bool button = c.kind == Kind::Button || c.kind == Kind::FlatButton || c.kind == Kind::CheckBox;
    const bool clicked = button ? code == BN_CLICKED : code == STN_CLICKED;
    // A click that reaches a control the model hides or disables, or a window
    // that a box or dialog holds (a message sent from outside), is not the
    // user's: no handler may run inside the one that opened the box.
    if (!clicked || IsHeld() || !form_.Showing(c) || !EffectivelyEnabled(c)) return;
    if (c.kind == Kind::CheckBox) {
        c.checked = SendMessageA(e.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        e.checked = c.checked;
    }
    const std::function<void()> handler = c.onClick;
    if (handler) RunHandler(handler);
}

std::uint32_t NativeForm::BackgroundOf(const Control& control) const {
    for (const Control* c = &control; c != nullptr; c = c->parent)
        if (c->background != ColorDefault) return c->background;
    return ColorButtonFace;
}

HBRUSH NativeForm::Brush(std::uint32_t color) {
    if ((color & 0x80000000u) != 0) return GetSysColorBrush(static_cast<int>(color & 0xFFu));
    for (auto& [known, brush] : brushes_)
        if (known == color) return brush;
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
    brushes_.emplace_back(color, brush);
    return brush;
}

LRESULT NativeForm::OnControlColor(HDC dc, HWND child, bool edit) {
    const Entry* e = FindEntry(child);
    if (e == nullptr || (edit && e->control->background == ColorDefault))
        return DefWindowProcA(window_, edit ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(child));
    const std::uint32_t background = BackgroundOf(*e->control);
    SetTextColor(dc, Resolve(e->control->font.color));
    SetBkColor(dc, Resolve(background));
    return reinterpret_cast<LRESULT>(Brush(background));
}

void NativeForm::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const Entry* e = FindEntry(item.hwndItem);
    if (e == nullptr) return;
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, Brush(BackgroundOf(*e->control)));
    if (e->bitmap == nullptr) return;
    BITMAP info;
    GetObjectA(e->bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, e->bitmap);
    if (e->control->stretch) {
        SetStretchBltMode(item.hDC, HALFTONE);
        StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
    } else {
        BitBlt(item.hDC, r.left, r.top, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

bool NativeForm::IsHeld() const { return IsWindowEnabled(window_) == FALSE; }

POINT NativeForm::ScreenPoint(int offsetX, int offsetY) const {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return {outer.left + Scale(offsetX, dpi_), outer.top + Scale(offsetY, dpi_)};
}

NativeForm* NativeForm::ViewOf(const Form& form) {
    for (NativeForm* view : OpenForms())
        if (&view->form_ == &form) return view;
    return nullptr;
}

bool NativeForm::OnSetCursor(HWND child) {
    const Entry* e = FindEntry(child);
    if (e == nullptr || !e->control->handCursor) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

void NativeForm::OnTimer(UINT_PTR id) {
    const auto& timers = form_.Timers();
    if (id == 0 || id > timers.size()) return;
    const Timer& timer = *timers[id - 1];
    if (!timer.enabled || !timer.onTimer) {
        MirrorTimers();
        return;
    }
    const std::function<void()> handler = timer.onTimer;
    RunHandler(handler);
}

void NativeForm::OnClose() {
    if (closing_ || (IsHeld() && !form_.closeRequested)) return;
    closing_ = true;
    RunHandler([this] { form_.OnClose(); });
    // The owner comes back before the dialog goes, so activation returns to it.
    if (modal_ && owner_ != nullptr) EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
}

void NativeForm::OnDestroy() {
    form_.closeHook = nullptr;
    form_.repaintHook = nullptr;
    window_ = nullptr;
    tooltip_ = nullptr;
    auto& open = OpenForms();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop that waits for this window
}

void NativeForm::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Mirror();  // places and fonts depend on the density, so every control follows
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

NativeForm* NativeForm::Topmost() {
    auto& open = OpenForms();
    return open.empty() ? nullptr : open.back();
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

namespace {
DWORD lastMirror = 0;
UINT_PTR catchUpTimer = 0;
platform::Dialogs* failureDialogs = nullptr;
}  // namespace

void NativeForm::ShowFailuresIn(platform::Dialogs& dialogs) { failureDialogs = &dialogs; }

void NativeForm::RunHandler(const std::function<void()>& handler) {
    RunGuarded(handler);
    MirrorAll();
}

void NativeForm::RunFrequentHandler(const std::function<void()>& handler) {
    RunGuarded(handler);
    if (GetTickCount() - lastMirror >= kFrequentMirrorMillis)
        MirrorAll();
    else if (catchUpTimer == 0)
        catchUpTimer = SetTimer(nullptr, 0, kFrequentMirrorMillis, CatchUp);
}

void CALLBACK NativeForm::CatchUp(HWND, UINT, UINT_PTR, DWORD) { MirrorAll(); }

void NativeForm::RunGuarded(const std::function<void()>& handler) {
    std::optional<std::string> failure;
    try {
        handler();
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "Unbekannter Fehler";
    }
    if (failure && failureDialogs != nullptr)
        failureDialogs->MessageBox(platform::BoxOwner::Application, *failure, kApplicationTitle,
                                   platform::MbOk | platform::MbIconError);
}

void NativeForm::MirrorAll() {
    lastMirror = GetTickCount();
    if (catchUpTimer != 0) {
        KillTimer(nullptr, catchUpTimer);
        catchUpTimer = 0;
    }
    // A handler may open or close windows while the list is walked.
    const std::vector<NativeForm*> open = OpenForms();
    for (NativeForm* form : open)
        if (std::find(OpenForms().begin(), OpenForms().end(), form) != OpenForms().end()) form->Mirror();
}

namespace {

// Without a dispatcher the loops wait for messages alone.
MessageWait& Wait() {
    static MessageWait wait = [](unsigned long milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
        return false;
    };
    return wait;
}

// While work keeps coming, messages are still looked at this often, so that
// input, timers and repaints are never starved.
constexpr DWORD kLookAtMessagesMillis = 10;

void Deliver(MSG& msg) {
    if (NativeForm::PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// Every message there is now; false when the program is asked to quit
// (which is passed on to any outer loop).
bool DeliverPending(const NativeForm* form) {
    MSG msg;
    while ((form == nullptr || form->IsOpen()) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Deliver(msg);
    }
    return true;
}

}  // namespace

void SetMessageWait(MessageWait wait) { Wait() = std::move(wait); }

void RunMessageLoop(const NativeForm& form) {
    DWORD lastLook = GetTickCount();
    while (form.IsOpen()) {
        // A wait that ran handed-over work goes on waiting: looking at an
        // empty queue after every progress step would cost a round trip.
        if (Wait()(INFINITE) && GetTickCount() - lastLook < kLookAtMessagesMillis) continue;
        lastLook = GetTickCount();
        if (!DeliverPending(&form)) return;
    }
}

void PumpPendingMessages() {
    Wait()(10);
    DeliverPending(nullptr);
}

}  // namespace kv::ui::win32
