#include "inventory/ini_access.h"

#include <limits>

namespace kv {

std::string ReadIniString(platform::Profile& profile, const std::string& file, const std::string& section,
                          const std::string& key) {
    return profile.ReadString(file, section, key, "");
}

std::int32_t IniInteger(const std::string& text, std::int32_t defaultValue) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return defaultValue;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return defaultValue;
        value = value * base + digit;
        if (value > std::numeric_limits<std::uint32_t>::max()) return defaultValue;
    }
    // A decimal must fit the signed range (its lowest value included); a
    // hexadecimal may use all 32 bits.
    const std::int64_t decimalLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    if (base == 10 && value > decimalLimit) return defaultValue;
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

std::int32_t ReadIniInteger(platform::Profile& profile, const std::string& file, const std::string& section,
                            const std::string& key, std::int32_t defaultValue) {
    return IniInteger(profile.ReadString(file, section, key, ""), defaultValue);
}

}  // namespace kv
