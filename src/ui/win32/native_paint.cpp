#include "ui/win32/native_internal.h"

namespace kv::ui::win32 {

COLORREF Resolve(std::uint32_t color) {
    return (color & 0x80000000u) != 0 ? GetSysColor(static_cast<int>(color & 0xFFu)) : static_cast<COLORREF>(color);
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

}  // namespace kv::ui::win32
