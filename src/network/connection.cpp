#include "network/connection.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "network/url_split.h"
#include "run/wizard_state.h"
#include "platform/portable/text.h"

namespace kv {

namespace {
constexpr const char* InternetSettingsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet settings";
constexpr unsigned ErrorBufferTooSmall = 603;
constexpr std::size_t ProbeReadSize = 1024;
constexpr std::size_t ProbeBufferSize = 1026;

std::string BlanksToCommas(std::string s) {
    for (char& c : s)
        if (c == ' ') c = ',';
    return s;
}

// The entries of a proxy list separated by blanks, commas or the semicolons
// that the system itself puts between protocols. Empty entries (doubled or
// trailing separators) name no proxy and are left out.
std::vector<std::string> ProxyEntries(const std::string& list) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    const std::string text = BlanksToCommas(list);
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find_first_of(",;", start), text.size());
        if (comma > start) entries.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return entries;
}

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
    // A binary value is read into a zeroed 4-byte number; a longer one cannot be.
    if (enable->type == platform::RegType::Binary && enable->data.size() > 4) return false;
    if (LittleEndian32(enable->data) == 0) return false;
    const auto server = registry.Read(platform::Hive::CurrentUser, InternetSettingsKey, "ProxyServer");
    return server && platform::TextOf(*server) && !server->data.empty();
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

SystemProxy ChooseSystemProxy(const platform::ProxyOption& option, const std::string& protocol) {
    SystemProxy proxy;
    if (option.accessType != platform::OpenTypeProxy) return proxy;
    const std::string prefix = kv::text::LowerAscii(protocol.empty() ? "http" : protocol) + "=";
    std::optional<std::string> chosen;
    std::string general;
    for (const std::string& entry : ProxyEntries(option.proxyList)) {
        const auto eq = entry.find('=');
        if (eq == std::string::npos) {
            general = entry;
        } else if (kv::text::LowerAscii(entry).rfind(prefix, 0) == 0) {
            chosen = entry.substr(eq + 1);
            break;
        }
    }
    const std::string text = chosen.value_or(general);
    if (!text.empty()) {
        const auto colon = text.find(':');
        proxy.host = colon == std::string::npos ? text : kv::text::Trim(text.substr(0, colon), kv::text::ControlsAndBlank);
        proxy.port = colon == std::string::npos ? text : kv::text::Trim(text.substr(colon + 1), kv::text::ControlsAndBlank);
    }
    proxy.bypass = BlanksToCommas(option.bypassList);
    return proxy;
}

SystemProxy GetSystemProxy(platform::Internet& internet, const std::string& protocol) {
    const std::optional<platform::ProxyOption> option = internet.QueryProxyOption();
    return option ? ChooseSystemProxy(*option, protocol) : SystemProxy{};
}

namespace {
// The answer is one short sentence; whatever a server sends beyond a few KiB
// is left unread.
void ReadProbeBody(platform::Internet& internet, platform::NetHandle page, std::string& body) {
    std::array<char, ProbeBufferSize> buffer{};
    for (std::size_t total = 0; total < ProbeBodyLimit;) {
        std::size_t got = 0;
        if (!internet.Read(page, buffer.data(), std::min(ProbeReadSize, ProbeBodyLimit - total), got) || got == 0)
            break;
        total += got;
        buffer[got] = '\0';
        body.append(buffer.data(), std::strlen(buffer.data()));
    }
}
}  // namespace

bool ProbeUrl(platform::Internet& internet, const std::string& url, std::string& body) {
    body.clear();
    const ProcessState& process = Process();
    const platform::NetHandle root = process.UseProxy
                                         ? internet.Open("Karvell", platform::OpenTypeProxy, process.ProxyComplete)
                                         : internet.Open("MyApp", platform::OpenTypePreconfig, "");
    if (!root) return false;
    const UrlParts target = SplitUrl(url);
    const platform::NetHandle connection = internet.Connect(root, target.host, target.port);
    const unsigned flags = platform::FlagReload | (target.secure ? platform::FlagSecure : 0u);
    const platform::NetHandle page =
        internet.OpenRequest(connection, "GET", target.path, "HTTP/1.0", "", "*/*", flags);
    if (process.UseProxy && !process.ProxyUser.empty())
        internet.SetProxyCredentials(page, process.ProxyUser, process.ProxyPassword);
    const bool opened = internet.SendRequest(page, "", "");
    if (opened) ReadProbeBody(internet, page, body);
    internet.Close(page);
    internet.Close(connection);
    internet.Close(root);
    return opened;
}

}  // namespace kv
