#pragma once
#include <atomic>
#include <map>
#include <optional>

#include "platform/internet.h"

namespace kv::platform {

// An HTTP/1.0 client over plain sockets with the pull-style reads of the
// system client: a request is sent, its head read, and the body is read
// piece by piece by the caller. Native builds only; the tests use it against
// servers on loopback.
class SocketInternet : public Internet {
public:
    // portMap sends a connection for one port to another, so a test server on
    // a free port can stand in for port 80.
    explicit SocketInternet(std::map<int, int> portMap = {});

    bool connected = true;                      // what IsConnected answers
    std::optional<ProxyOption> proxyOption;     // what QueryProxyOption answers
    int receiveTimeoutMs = 20000;

    NetHandle Open(const std::string& agent, int accessType, const std::string& proxy) override;
    NetHandle Connect(NetHandle root, const std::string& host, int port) override;
    NetHandle OpenRequest(NetHandle connection, const std::string& verb, const std::string& path,
                          const std::string& version, const std::string& referer, const std::string& acceptType,
                          unsigned flags) override;
    // Kept on the request and sent only to a proxy that answers 407, as the
    // system client does; a server never gets them.
    bool SetProxyCredentials(NetHandle request, const std::string& user, const std::string& password) override;
    bool SendRequest(NetHandle request, const std::string& headers, const std::string& body) override;
    std::optional<std::string> QueryContentLength(NetHandle request) override;
    int QueryStatusCode(NetHandle request) override;
    bool Read(NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) override;
    void Close(NetHandle handle) override;
    NetHandle OpenUrl(NetHandle root, const std::string& url, unsigned flags) override;
    bool IsConnected() override { return connected; }
    std::optional<ProxyOption> QueryProxyOption() override { return proxyOption; }

    // Handles opened and not yet closed (every run must end at 0).
    int OpenHandles() const { return openHandles_; }

private:
    struct Request;
    int MappedPort(int port) const;
    NetHandle Track(NetHandle handle);
    bool Transmit(Request& request, const std::string& headers, const std::string& body);
    bool Exchange(Request& request, const std::string& headers, const std::string& body, bool withProxyCredentials);

    const std::map<int, int> portMap_;
    std::atomic<int> openHandles_{0};
};

}  // namespace kv::platform
