#pragma once
#include "platform/profile.h"

namespace kv::platform::win32 {

// The system's profile functions (the Windows INI cache included).
class WinProfile : public Profile {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void Flush(const std::string& file) override;
};

}  // namespace kv::platform::win32
