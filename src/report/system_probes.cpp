#include "report/system_probes.h"

#include <charconv>
#include <cstdint>
#include <exception>

namespace kv {

namespace {
constexpr const char* Unknown = "Unbekannt";
constexpr const char* CurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::size_t MaxPath = 260;

enum class ValueKind { String = 1, Integer = 2 };

std::string StringValue(const platform::RegValue& value) { return platform::TextOf(value).value_or(""); }

std::string IntegerValue(const platform::RegValue& value) {
    if (value.type != platform::RegType::Dword || value.data.size() != 4) return {};
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[i])) << (8 * i);
    return std::to_string(static_cast<std::int32_t>(bits));
}

// One value of the current-version key; a missing, unreadable or differently
// typed value reads as "".
std::string ReadVersionValue(platform::Registry& registry, const std::string& name, ValueKind kind) {
    try {
        const auto value = registry.Read(platform::Hive::LocalMachine, CurrentVersionKey, name);
        if (!value) return {};
        return kind == ValueKind::String ? StringValue(*value) : IntegerValue(*value);
    } catch (const std::exception&) {
        return {};
    }
}

int NumberOr0(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

struct RegistryVersion {
    std::string productName;
    int major = 0, minor = 0, build = 0;
};

RegistryVersion ReadRegistryVersion(platform::Registry& registry) {
    RegistryVersion v;
    v.productName = ReadVersionValue(registry, "ProductName", ValueKind::String);
    v.major = NumberOr0(ReadVersionValue(registry, "CurrentMajorVersionNumber", ValueKind::Integer));
    v.minor = NumberOr0(ReadVersionValue(registry, "CurrentMinorVersionNumber", ValueKind::Integer));
    v.build = NumberOr0(ReadVersionValue(registry, "CurrentBuild", ValueKind::String));
    // Windows 11 still calls itself Windows 10 in its product name.
    if (v.build > 21999)
        if (const std::size_t at = v.productName.find("10"); at != std::string::npos)
            v.productName.replace(at, 2, "11");
    return v;
}

std::string Windows9xName(const platform::OsVersionRecord& r) {
    if (r.major != 4) return Unknown;
    if (r.minor == 0) return "Windows 95";
    if (r.minor == 10) return r.servicePack.size() > 1 && r.servicePack[1] == 'A' ? "Windows 98SE" : "Windows 98";
    if (r.minor == 90) return "Windows ME";
    return Unknown;
}

std::string WindowsNtName(const platform::OsVersionRecord& r, const RegistryVersion& reg,
                          platform::SystemFacts& system) {
    constexpr unsigned char Workstation = 1;
    constexpr unsigned short HomeServerSuite = 0x8000;
    const bool workstation = r.productType == Workstation;
    const auto either = [workstation](const char* desktop, const char* server) {
        return std::string(workstation ? desktop : server);
    };
    if (r.major <= 4) return "Windows NT";
    if (r.major == 5 && r.minor == 0) return "Windows 2000";
    if (r.major == 5 && r.minor == 1) return "Windows XP";
    if (r.major == 5 && r.minor == 2) {
        if (system.ServerR2Metric() != 0) return "Windows Server 2003 R2";
        if (workstation) return "Windows XP64";
        if (r.suiteMask == HomeServerSuite) return "Windows Home Server";
        return "Windows Server 2003";
    }
    if (r.major == 6 && r.minor == 0) return either("Windows Vista", "Windows Server 2008");
    if (r.major == 6 && r.minor == 1) return either("Windows 7", "Windows Server 2008 R2");
    if (r.major == 6 && r.minor == 2) return either("Windows 8", "Windows Server 2012");
    if (r.major == 6 && r.minor == 3 && reg.build <= 9600) return either("Windows 8.1", "Windows Server 2012");
    const bool modernBuild = reg.minor >= 0 && reg.build >= 19001;
    if ((r.major == 6 || reg.major == 10) && modernBuild)
        return workstation ? reg.productName : "Windows Server 2022";
    return Unknown;
}

std::string HexByte(std::uint8_t byte) {
    constexpr const char* Digits = "0123456789ABCDEF";
    return {Digits[byte >> 4], Digits[byte & 0xF]};
}

std::string FormatAddress(const std::array<std::uint8_t, 6>& address) {
    std::string text;
    for (const std::uint8_t byte : address) {
        if (!text.empty()) text += '-';
        text += HexByte(byte);
    }
    return text;
}
}  // namespace

std::string OsDisplayName(platform::Registry& registry, platform::SystemFacts& system) {
    constexpr unsigned Windows9x = 1, WindowsNt = 2;
    try {
        const RegistryVersion reg = ReadRegistryVersion(registry);
        auto record = system.VersionRecord();
        if (!record) record = system.VersionRecord();
        if (!record) return Unknown;
        if (record->platformId == Windows9x) return Windows9xName(*record);
        if (record->platformId == WindowsNt) return WindowsNtName(*record, reg, system);
        return Unknown;
    } catch (const std::exception&) {
        // A probe only describes the machine in the report; nothing of it
        // may end the run.
        return Unknown;
    }
}

std::string SpecialFolderPath(platform::SystemFacts& system, int csidl) {
    try {
        return system.SpecialFolder(csidl).substr(0, MaxPath);
    } catch (const std::exception&) {
        // As the version name: an unknown folder is an empty one.
        return {};
    }
}

std::string AdapterAddress(platform::SystemFacts& system) {
    constexpr unsigned char Success = 0, IncompleteBuffer = 6;  // NRC_GOODRET, NRC_INCOMP
    const std::string NoAddress = "00-00-00-00-00-00";
    try {
        const auto adapters = system.NetbiosAdapters();
        if (!adapters) return {};
        std::string result;
        for (const std::uint8_t adapter : *adapters) {
            const platform::AdapterStatus status = system.NetbiosAdapterStatus(adapter);
            if (status.returnCode == Success || status.returnCode == IncompleteBuffer)
                result = FormatAddress(status.address);
            if (result != NoAddress) break;
        }
        return result;
    } catch (const std::exception&) {
        // As the version name: an unknown address is an empty one.
        return {};
    }
}

}  // namespace kv
