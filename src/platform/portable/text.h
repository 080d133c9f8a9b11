#pragma once
#include <string>
#include <string_view>
#include <vector>

// Text helpers of the whole program. Texts are Windows-1252 bytes; case is
// folded for the ASCII letters only, as the names the program compares
// (product keys, file names, URL schemes, units) are ASCII.
namespace kv::text {

char LowerAscii(char c);
std::string LowerAscii(std::string text);
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Blanks and tabs, what INI values and list entries are trimmed of.
inline constexpr std::string_view BlanksAndTabs = " \t";
// Every control character and the blank, what registry texts are trimmed of.
inline constexpr std::string_view ControlsAndBlank{"\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x20", 33};
std::string Trim(std::string_view text, std::string_view blanks = BlanksAndTabs);

std::string Join(const std::vector<std::string>& lines, std::string_view separator);

}  // namespace kv::text
