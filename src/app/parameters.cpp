#include "app/parameters.h"

namespace kv {

namespace {
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Deletes the first occurrence of c; true when one was there.
bool EraseFirst(std::string& s, char c) {
    const std::size_t at = s.find(c);
    if (at == std::string::npos) return false;
    s.erase(at, 1);
    return true;
}
}  // namespace

std::string TrimParameter(const std::string& text) {
    std::size_t keep = text.size();
    while (keep > 0 && IsControlOrBlank(text[keep - 1])) --keep;
    if (text.empty()) return {};
    std::string s = text;
    if (const std::size_t caret = s.find('^'); caret != std::string::npos) s[caret] = ' ';
    std::size_t deleted = 0;
    if (EraseFirst(s, '\xA7')) ++deleted;  // "§" in Windows-1252
    if (EraseFirst(s, '$')) ++deleted;
    const std::size_t length = keep >= deleted ? keep - deleted : 0;
    return s.substr(0, length);
}

std::string CleanParameter(const std::string& text) {
    std::string out;
    for (char c : TrimParameter(text))
        if (!IsControlOrBlank(c)) out += c;
    return out;
}

}  // namespace kv
