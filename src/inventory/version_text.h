#pragma once
#include <cstdint>
#include <string>

namespace kv {

// A version text reduced to its decimal digits, read as a 32-bit signed
// number: -1 for the empty text, 0 when no digit remains or it does not fit.
std::int32_t VersionNumber(const std::string& text);

// "YYYY-MM-DD" shown as "DD.MM.YYYY"; shorter texts give shorter pieces.
std::string FormatDisplayDate(const std::string& text);

}  // namespace kv
