#pragma once
// What the files of the native view share: the view's own constants, the
// list of open windows and the record of each control's real window.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/native_form.h"

namespace kv::ui::win32 {

inline constexpr int kFirstControlId = 1000;
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Every open window, the main window first and the topmost dialog last.
std::vector<NativeForm*>& OpenForms();

// Windows before 10 lack the per-window density functions.
int WindowDpi(HWND window);
SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi);

COLORREF Resolve(std::uint32_t color);

// Edits typed into call the model's key filter.
LRESULT CALLBACK KeyFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

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

}  // namespace kv::ui::win32
