#include "network/connection.h"

namespace kv {

namespace {
constexpr const char* InternetSettingsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet settings";
constexpr unsigned ErrorBufferTooSmall = 603;

std::uint32_t LittleEndian32(const std::string& bytes) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return v;
}

bool ProxySwitchedOn(platform::Registry& registry) {
    const auto enable = registry.Read(platform::Hive::CurrentUser, InternetSettingsKey, "ProxyEnable");
    if (!enable) return false;
    if (enable->type != platform::RegType::Binary && enable->type != platform::RegType::Dword) return false;
    if (enable->type == platform::RegType::Binary && enable->data.size() != 4) return false;
    if (LittleEndian32(enable->data) == 0) return false;
    const auto server = registry.Read(platform::Hive::CurrentUser, InternetSettingsKey, "ProxyServer");
    if (!server || (server->type != platform::RegType::String && server->type != platform::RegType::ExpandString))
        return false;
    return !server->data.empty();
}
}  // namespace

int CountDialUpConnections(platform::RemoteAccess& remoteAccess) {
    const platform::DialUpEnumeration e = remoteAccess.EnumerateConnections();
    if (!e.libraryLoaded) return 0;
    if (!e.functionFound) throw ERasError("RasEnumConnectionsA not found in rasapi32.dll");
    if (e.callResult == 0 || e.callResult == ErrorBufferTooSmall) return static_cast<int>(e.connectionCount);
    return 0;
}

int DetectConnection(platform::Registry& registry, platform::RemoteAccess& remoteAccess) {
    int result = ConnectionDirect;
    if (registry.KeyExists(platform::Hive::CurrentUser, InternetSettingsKey) && ProxySwitchedOn(registry))
        result = ConnectionSystemProxy;
    if (result == ConnectionDirect && CountDialUpConnections(remoteAccess) > 0) result = ConnectionDialUp;
    return result;
}

SystemProxy GetSystemProxy(platform::Internet&, const std::string&) { return {}; }

bool ProbeUrl(platform::Internet&, const std::string&, std::string& body) {
    body.clear();
    return false;
}

}  // namespace kv
