#include "ui/win32/fonts.h"

#include <windows.h>

namespace kv::ui::win32 {

FontCache::~FontCache() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(const Font& font, int dpi) {
    Key key{font.face, font.height, font.bold, font.italic, font.underline, dpi};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    // A negative height asks for the character height in pixels, which is
    // what the form descriptions give.
    HFONT created = CreateFontA(-Scale(font.height, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                                font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
    fonts_.emplace(key, created);
    return created;
}

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

int Scale(int value, int dpi) { return MulDiv(value, dpi, 96); }

}  // namespace kv::ui::win32
