#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::platform {

struct OsVersionRecord {
    unsigned major = 0, minor = 0, build = 0, platformId = 0;
    std::string servicePack;
    unsigned short suiteMask = 0;
    unsigned char productType = 0;
};

struct AdapterStatus {
    unsigned char returnCode = 0;  // NRC_* of the status command
    std::array<std::uint8_t, 6> address{};
};

class SystemFacts {
public:
    virtual ~SystemFacts() = default;
    virtual std::optional<OsVersionRecord> VersionRecord() = 0;
    virtual int ServerR2Metric() = 0;
    // Empty when the shell does not know the folder.
    virtual std::string SpecialFolder(int csidl) = 0;
    // nullopt when the enumeration fails; else the adapter numbers.
    virtual std::optional<std::vector<std::uint8_t>> NetbiosAdapters() = 0;
    virtual AdapterStatus NetbiosAdapterStatus(std::uint8_t adapter) = 0;
    virtual int ScreenDpi() = 0;
    // The LOCALE_ICOUNTRY text of the user's default locale; nullopt when unreadable.
    virtual std::optional<std::string> UserCountryCode() = 0;
    virtual std::string SystemLanguageName() = 0;
    // The program file's folder, without a trailing delimiter.
    virtual std::string ProgramFolder() = 0;
};

}  // namespace kv::platform
