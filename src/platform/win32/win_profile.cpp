#include "platform/win32/win_profile.h"

#include <windows.h>

#include <vector>

namespace kv::platform::win32 {

namespace {

// Beyond this a value is not a setting any more; the read stops growing there.
constexpr size_t kLargestValue = 16u << 20;

}  // namespace

std::string WinProfile::ReadString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) {
    // The function reports a cut value as size - 1 characters: grow until the value fits.
    std::vector<char> buffer(1024);
    for (;;) {
        DWORD got = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
        if (got + 1 < buffer.size() || buffer.size() >= kLargestValue) return std::string(buffer.data(), got);
        buffer.resize(buffer.size() * 4);
    }
}

void WinProfile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()))
        throw IniWriteError("Cannot write [" + section + "] " + key + " to " + file);
}

void WinProfile::Flush(const std::string& file) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }

}  // namespace kv::platform::win32
