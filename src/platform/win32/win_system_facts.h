#pragma once
#include "platform/system_facts.h"

namespace kv::platform::win32 {

class WinSystemFacts : public SystemFacts {
public:
    std::optional<OsVersionRecord> VersionRecord() override;
    int ServerR2Metric() override;
    std::string SpecialFolder(int csidl) override;
    std::optional<std::vector<std::uint8_t>> NetbiosAdapters() override;
    // Resets the adapter first: a status query on an adapter not reset fails on some systems.
    AdapterStatus NetbiosAdapterStatus(std::uint8_t adapter) override;
    int ScreenDpi() override;
    std::optional<std::string> UserCountryCode() override;
    std::string SystemLanguageName() override;
    std::string ProgramFolder() override;
};

}  // namespace kv::platform::win32
