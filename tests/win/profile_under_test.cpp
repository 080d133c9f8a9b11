#include "conformance/profile_under_test.h"

#include <windows.h>

#include <vector>

namespace kv::test {

namespace {

// For these tests only, until the Windows profile service is on main: the
// system's profile functions called directly.
class SystemProfileFunctions : public platform::Profile {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        std::vector<char> buffer(2048);
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), file.c_str());
        return std::string(buffer.data(), n);
    }
    void WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()))
            throw platform::IniWriteError("cannot write " + file);
    }
    void Flush(const std::string& file) override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }
};

}  // namespace

std::unique_ptr<platform::Profile> MakeProfileUnderTest() { return std::make_unique<SystemProfileFunctions>(); }

}  // namespace kv::test
