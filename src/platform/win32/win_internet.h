#pragma once
#include "platform/internet.h"

namespace kv::platform::win32 {

// The system HTTP client (WinINet). Every transfer connects on the port the
// caller names; a secure request checks the server's certificate as the system
// does, and no certificate error is ever ignored.
class WinInternet : public Internet {
public:
    NetHandle Open(const std::string& agent, int accessType, const std::string& proxy) override;
    NetHandle Connect(NetHandle root, const std::string& host, int port) override;
    NetHandle OpenRequest(NetHandle connection, const std::string& verb, const std::string& path,
                          const std::string& version, const std::string& referer, const std::string& acceptType,
                          unsigned flags) override;
    bool SetProxyCredentials(NetHandle request, const std::string& user, const std::string& password) override;
    // A proxy that still asks after the first send gets the request once more:
    // the system client answers a challenge with the credentials set on it.
    bool SendRequest(NetHandle request, const std::string& headers, const std::string& body) override;
    std::optional<std::string> QueryContentLength(NetHandle request) override;
    int QueryStatusCode(NetHandle request) override;
    bool Read(NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) override;
    void Close(NetHandle handle) override;
    NetHandle OpenUrl(NetHandle root, const std::string& url, unsigned flags) override;
    bool IsConnected() override;
    // Looked up at run time, as older systems may lack it.
    std::optional<ProxyOption> QueryProxyOption() override;
};

}  // namespace kv::platform::win32
