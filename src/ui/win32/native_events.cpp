#include <algorithm>
#include <exception>
#include <optional>

#include "ui/app_identity.h"
#include "ui/win32/native_internal.h"

namespace kv::ui::win32 {

namespace {

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

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
    if (!clicked || IsHeld() || !form_.AcceptsClick(c)) return;
    if (c.kind == Kind::CheckBox) {
        c.checked = SendMessageA(e.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        e.checked = c.checked;
    }
    const std::function<void()> handler = c.onClick;
    if (handler) RunHandler(handler);
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
    if (!failure) return;
    if (failureDialogs != nullptr) {
        failureDialogs->MessageBox(platform::BoxOwner::Application, *failure, kApplicationTitle,
                                   platform::MbOk | platform::MbIconError);
        return;
    }
    // Before the program has its dialogs service the failure is still shown.
    NativeForm* top = Topmost();
    MessageBoxA(top != nullptr ? top->window_ : nullptr, failure->c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
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

}  // namespace kv::ui::win32
