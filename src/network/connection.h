#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

#include "platform/services.h"

namespace kv {

// The dial-up library lacks its enumeration function.
class ERasError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum ConnectionClass : int { ConnectionDirect = 1, ConnectionSystemProxy = 2, ConnectionDialUp = 3 };

// 1 direct, 2 a proxy is configured and switched on, 3 a dial-up connection
// is active (2 wins over 3). Registry problems count as no proxy; raises
// ERasError from CountDialUpConnections.
int DetectConnection(platform::Registry& registry, platform::RemoteAccess& remoteAccess);

// Active dial-up connections; 0 when the library is missing or the call fails.
int CountDialUpConnections(platform::RemoteAccess& remoteAccess);

struct SystemProxy {
    std::string host;
    std::string port;
    std::string bypass;
};

// The proxy for one protocol ("" means "http") in the system's proxy answer:
// the first "protocol=" entry, else the last entry without "=". Empty unless
// the answer names a proxy.
SystemProxy ChooseSystemProxy(const platform::ProxyOption& option, const std::string& protocol);

// The system's proxy for one protocol ("" means "http"); empty when none is named.
SystemProxy GetSystemProxy(platform::Internet& internet, const std::string& protocol);

// What the connection probe reads of an answer at most.
inline constexpr std::size_t ProbeBodyLimit = 4096;

// Requests url (through the wizard's own proxy when Process().UseProxy, with
// its user and password for the proxy) and reads its body up to
// ProbeBodyLimit; true when an answer came, whatever the status.
bool ProbeUrl(platform::Internet& internet, const std::string& url, std::string& body);

}  // namespace kv
