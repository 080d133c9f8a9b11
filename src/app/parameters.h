#pragma once
#include <string>

namespace kv {

// The light rule: the first "^" becomes a blank, the first "§" and then the
// first "$" are deleted, and trailing blanks and control characters go.
std::string TrimParameter(const std::string& text);

// The strict rule: TrimParameter, then every character of code 32 or less goes.
std::string CleanParameter(const std::string& text);

}  // namespace kv
