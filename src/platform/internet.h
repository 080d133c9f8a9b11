#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace kv::platform {

// An opaque handle of the HTTP client (root, connection, request or URL).
using NetHandle = void*;

enum InternetOpenType : int { OpenTypePreconfig = 0, OpenTypeDirect = 1, OpenTypeProxy = 3 };
inline constexpr unsigned FlagReload = 0x80000000u;
inline constexpr unsigned FlagSecure = 0x00800000u;  // INTERNET_FLAG_SECURE: TLS, certificates checked
inline constexpr int DefaultHttpPort = 80;
inline constexpr int DefaultHttpsPort = 443;

struct ProxyOption {
    int accessType = 0;       // INTERNET_OPEN_TYPE_*
    std::string proxyList;    // as the system stores it
    std::string bypassList;
};

// The system HTTP client, shaped like the operations the transfers use.
// Every call that takes a handle accepts a null handle and then fails.
class Internet {
public:
    virtual ~Internet() = default;
    // agent empty = no agent name; proxy empty = none.
    virtual NetHandle Open(const std::string& agent, int accessType, const std::string& proxy) = 0;
    // No credentials here: the system client would hand them to the server.
    virtual NetHandle Connect(NetHandle root, const std::string& host, int port) = 0;
    virtual NetHandle OpenRequest(NetHandle connection, const std::string& verb, const std::string& path,
                                  const std::string& version, const std::string& referer,
                                  const std::string& acceptType, unsigned flags) = 0;
    // The proxy's user and password for a request, set before it is sent: they
    // answer a proxy that asks for them (407, also before the tunnel of a
    // secure request) and never reach the server, whatever it answers.
    virtual bool SetProxyCredentials(NetHandle request, const std::string& user, const std::string& password) = 0;
    virtual bool SendRequest(NetHandle request, const std::string& headers, const std::string& body) = 0;
    // The Content-Length header as text; nullopt when the response has none.
    virtual std::optional<std::string> QueryContentLength(NetHandle request) = 0;
    // The HTTP status code; 0 when no response arrived.
    virtual int QueryStatusCode(NetHandle request) = 0;
    // false when the read failed; got == 0 at the end of the body.
    virtual bool Read(NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) = 0;
    virtual void Close(NetHandle handle) = 0;
    virtual NetHandle OpenUrl(NetHandle root, const std::string& url, unsigned flags) = 0;
    virtual bool IsConnected() = 0;
    // nullopt when the query function is missing or the query fails.
    virtual std::optional<ProxyOption> QueryProxyOption() = 0;
};

}  // namespace kv::platform
