#include "inventory/version_text.h"

#include <limits>

namespace kv {

std::int32_t VersionNumber(const std::string& text) {
    if (text.empty()) return -1;
    std::int64_t value = 0;
    bool anyDigit = false;
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        anyDigit = true;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return 0;
    }
    return anyDigit ? static_cast<std::int32_t>(value) : 0;
}

namespace {
// Characters from..to (1-based, inclusive) as far as the text reaches.
std::string Piece(const std::string& text, std::size_t from, std::size_t to) {
    if (text.size() < from) return {};
    return text.substr(from - 1, to - from + 1);
}
}  // namespace

std::string FormatDisplayDate(const std::string& text) {
    return Piece(text, 9, 10) + "." + Piece(text, 6, 7) + "." + Piece(text, 1, 4);
}

}  // namespace kv
