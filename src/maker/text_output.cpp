#include "maker/text_output.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace kv::maker {

namespace {

constexpr std::uint16_t Undefined = 0xFFFD;

// Code points of 0x80-0x9F; the rest of the bytes are Latin-1.
constexpr std::array<std::uint16_t, 32> HighControls{
    0x20AC, Undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, Undefined, 0x017D, Undefined, Undefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, Undefined, 0x017E, 0x0178};

std::uint16_t CodePoint(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte; }

void Append(std::string& out, std::uint16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool IsWindows1252(unsigned char byte) { return CodePoint(byte) != Undefined; }

std::string Utf8(const std::string& windows1252) {
    std::string out;
    for (char c : windows1252) Append(out, CodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string JsonString(const std::string& windows1252) {
    std::string out = "\"";
    for (char c : windows1252) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string CsvField(const std::string& windows1252) {
    const std::string& text = windows1252;
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace kv::maker
