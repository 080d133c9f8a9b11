#include <algorithm>
#include <cctype>

#include "platform/signatures.h"

namespace kv::platform {

namespace {
// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined keep their
// code, as the system's own conversion does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromCp1252(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F ? Cp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

std::u16string Utf16FromCp1252(const std::string& text) {
    std::u16string wide;
    for (const char c : text) wide += FromCp1252(c);
    return wide;
}

// The name as a report line can carry it: a character Windows-1252 lacks, or a
// control character, is a "?".
std::string Printable(const std::u16string& name) {
    std::string text;
    for (const char16_t c : name) {
        char byte = '?';
        for (int b = 0x20; b <= 0xFF; ++b)
            if (b != 0x7F && FromCp1252(static_cast<char>(b)) == c && (b < 0x80 || b > 0x9F || c > 0x9F)) {
                byte = static_cast<char>(b);
                break;
            }
        text += byte;
    }
    return text;
}
}  // namespace

std::string SignerNameMismatch(const std::vector<std::u16string>& commonNames, const std::string& configured) {
    if (commonNames.empty()) return "signer without a common name";
    if (commonNames.size() > 1) return "signer with several common names";
    const std::u16string& name = commonNames.front();
    if (name == Utf16FromCp1252(configured)) return {};
    return "signer '" + Printable(name) + "' not accepted";
}

bool SignerRule::Lists(const std::string& thumbprint) const {
    return thumbprints.empty() || std::find(thumbprints.begin(), thumbprints.end(), thumbprint) != thumbprints.end();
}

SignerRule SignerRuleFromText(const std::string& commonName, const std::string& thumbprintList) {
    SignerRule rule{commonName, {}};
    std::string current;
    auto finish = [&] {
        if (!current.empty()) rule.thumbprints.push_back(current);
        current.clear();
    };
    for (const char c : thumbprintList) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ' || c == ',' || c == ';' || c == '\t') finish();
        else if (c != ':') current += static_cast<char>(std::toupper(u));
    }
    finish();
    return rule;
}

}  // namespace kv::platform
