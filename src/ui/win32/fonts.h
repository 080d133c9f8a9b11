#pragma once
#include <map>
#include <string>
#include <tuple>

#include "ui/control.h"

struct HFONT__;

namespace kv::ui::win32 {

// One GDI font per look and screen density, alive until the program ends.
class FontCache {
public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT__* Get(const Font& font, int dpi);

private:
    using Key = std::tuple<std::string, int, bool, bool, bool, int>;
    std::map<Key, HFONT__*> fonts_;
};

FontCache& Fonts();

// Scales a length in 96-dpi pixels to the given density.
int Scale(int value, int dpi);

}  // namespace kv::ui::win32
