#include "ui/win32/native_form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/system_library.h"
#include "ui/win32/fonts.h"
#include "ui/win32/native_internal.h"

namespace kv::ui::win32 {

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = platform::win32::LibraryFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : 96;
}

SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = platform::win32::LibraryFunction<AdjustFn>(
        "user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, Scale(clientWidth, dpi), Scale(clientHeight, dpi)};
    if (adjustForDpi != nullptr)
        adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

std::vector<NativeForm*>& OpenForms() {
    static std::vector<NativeForm*> forms;
    return forms;
}

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

void NativeForm::Show() {
    if (window_ == nullptr) return;
    if (modal_ && owner_ != nullptr) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(window_, focus)) MoveFocus(false);
    UpdateWindow(window_);
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

NativeForm* NativeForm::Topmost() {
    auto& open = OpenForms();
    return open.empty() ? nullptr : open.back();
}

}  // namespace kv::ui::win32
