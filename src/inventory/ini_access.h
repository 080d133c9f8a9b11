#pragma once
#include <cstdint>
#include <string>

#include "platform/profile.h"

namespace kv {

// One value of an INI file given by its full name; empty when the file,
// section or key is missing.
std::string ReadIniString(platform::Profile& profile, const std::string& file, const std::string& section,
                          const std::string& key);

// Decimal, or hexadecimal after "0x"; anything else, and a missing value, is 0.
std::int32_t ReadIniInteger(platform::Profile& profile, const std::string& file, const std::string& section,
                            const std::string& key, std::int32_t defaultValue = 0);

// The same conversion on a text already read.
std::int32_t IniInteger(const std::string& text, std::int32_t defaultValue);

}  // namespace kv
