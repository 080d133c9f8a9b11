#pragma once
#include <windows.h>
#undef MessageBox

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "ui/form.h"

namespace kv::ui::win32 {

// The real window of a ui::Form: a top-level window with one child control
// per model control (all children of the top-level window, stacked in
// creation order), its timers and its tooltips. Events run the model's
// handlers; after every event the model of every open window is mirrored
// into the controls, touching only what changed since the last time.
class NativeForm {
public:
    // Creates the window hidden and mirrors the model once. A modal window
    // disables its owner while it is shown.
    NativeForm(Form& form, HWND owner, bool modal);
    ~NativeForm();
    NativeForm(const NativeForm&) = delete;
    NativeForm& operator=(const NativeForm&) = delete;

    HWND Handle() const { return window_; }
    bool IsOpen() const { return window_ != nullptr; }
    int Dpi() const { return dpi_; }
    void Show();
    void Mirror();

    // The screen point at an offset from the window's outer top-left corner
    // given in the form's own 96-dpi units.
    POINT ScreenPoint(int offsetX, int offsetY) const;

    // The open window whose events are handled last: the main window or the
    // modal dialog above it.
    static NativeForm* Topmost();
    static NativeForm* ViewOf(const Form& form);
    // Keyboard navigation of the window that a message is for (Tab by the
    // model's tab order, Enter on the focused button, mnemonics). True when
    // the message was consumed.
    static bool PreTranslate(MSG& msg);
    // Runs handler code: an error becomes a message box instead of unwinding
    // through the system, and then every open window is mirrored.
    static void RunHandler(const std::function<void()>& handler);
    // Where that box comes from: a box of the application, so it follows
    // the rules of every other box (the view mirrored first, the program's
    // windows held while it is up).
    static void ShowFailuresIn(platform::Dialogs& dialogs);
    // The same for handlers that run many times a second (a download's
    // progress steps): every one changes the model, but the windows are
    // mirrored at most once per kFrequentMirrorMillis; a timer mirrors what
    // the last ones changed.
    static void RunFrequentHandler(const std::function<void()>& handler);
    static constexpr unsigned kFrequentMirrorMillis = 40;
    static void MirrorAll();

private:
    struct Entry;
    struct TimerState {
        bool running = false;
        int interval = 0;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void RunGuarded(const std::function<void()>& handler);
    static void CALLBACK CatchUp(HWND, UINT, UINT_PTR, DWORD);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateTopLevel(HWND owner);
    void CreateControls();
    void CreateControlWindow(std::size_t index);
    void PlaceWindow();
    void MirrorWindow();
    void MirrorControl(Entry& entry);
    void MirrorContent(Entry& entry);
    void MirrorHint(Entry& entry);
    void MirrorTimers();
    void OnCommand(WORD id, WORD code);
    LRESULT OnControlColor(HDC dc, HWND child, bool edit);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND child);
    void OnTimer(UINT_PTR id);
    void OnClose();
    // True while a box or a dialog above holds the window.
    bool IsHeld() const;
    void OnDestroy();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void MoveFocus(bool backwards);
    HWND FocusedButton() const;
    Entry* FindEntry(HWND child) const;
    HBRUSH Brush(std::uint32_t color);

    Form& form_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HWND tooltip_ = nullptr;
    bool modal_ = false;
    bool closing_ = false;
    int dpi_ = 96;
    int appliedClientWidth_ = -1, appliedClientHeight_ = -1;
    std::string appliedCaption_;
    HWND lastFocus_ = nullptr;
    std::vector<std::unique_ptr<Entry>> entries_;
    std::vector<TimerState> timers_;
    std::vector<std::pair<std::uint32_t, HBRUSH>> brushes_;
};

}  // namespace kv::ui::win32
