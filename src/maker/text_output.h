#pragma once
#include <string>

namespace kv::maker {

// The program's texts are Windows-1252 bytes; the maker's terminal, files and
// the README are UTF-8. A byte that Windows-1252 leaves undefined shows as U+FFFD.
std::string Utf8(const std::string& windows1252);

// Whether Windows-1252 defines the byte (five in 0x80-0x9F it does not).
bool IsWindows1252(unsigned char byte);

// A text as a JSON string (quoted) and as a CSV field; the bytes stay
// Windows-1252 until the whole output goes through Utf8.
std::string JsonString(const std::string& windows1252);
std::string CsvField(const std::string& windows1252);

}  // namespace kv::maker
