#include "support/socket_internet.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace kv::platform {

namespace {
constexpr std::size_t MaxHeadSize = 65536;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string Base64(const std::string& in) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < in.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
        if (i + 2 < in.size()) v |= static_cast<unsigned char>(in[i + 2]);
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < in.size() ? digits[(v >> 6) & 63] : '=';
        out += i + 2 < in.size() ? digits[v & 63] : '=';
    }
    return out;
}

struct HostPort {
    std::string host;
    int port = 80;
};

// "host[:port]"; a port that is not a number leaves the default.
HostPort SplitHostPort(const std::string& text, int defaultPort) {
    HostPort hp{text, defaultPort};
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) return hp;
    hp.host = text.substr(0, colon);
    try {
        hp.port = std::stoi(text.substr(colon + 1));
    } catch (const std::exception&) {
        hp.port = defaultPort;
    }
    return hp;
}

// The proxy for http from a proxy list ("host:port", "http=host:port ftp=...").
HostPort HttpProxy(const std::string& list) {
    std::string general;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto end = std::min(list.find_first_of(" ,;", start), list.size());
        const std::string entry = list.substr(start, end - start);
        start = end + 1;
        if (entry.empty()) continue;
        const auto eq = entry.find('=');
        if (eq == std::string::npos) {
            if (general.empty()) general = entry;
        } else if (Lower(entry.substr(0, eq)) == "http") {
            return SplitHostPort(entry.substr(eq + 1), 80);
        }
    }
    return SplitHostPort(general, 80);
}

int ConnectTo(const HostPort& target, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (target.host.empty() ||
        getaddrinfo(target.host.c_str(), std::to_string(target.port).c_str(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd < 0) continue;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd >= 0) {
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    }
    return fd;
}

bool SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

ssize_t Receive(int fd, char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, capacity, 0);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}
}  // namespace

namespace {
enum class HandleKind { Root, Connection, Request };

struct HandleBase {
    explicit HandleBase(HandleKind k) : kind(k) {}
    virtual ~HandleBase() = default;
    HandleKind kind;
};

struct RootData {
    std::string agent;
    int accessType = OpenTypePreconfig;
    std::string proxy;
};

struct ConnectionData {
    RootData root;
    std::string host;
    int port = DefaultHttpPort;
};

struct RootHandle : HandleBase {
    RootHandle() : HandleBase(HandleKind::Root) {}
    RootData data;
};

struct ConnectionHandle : HandleBase {
    ConnectionHandle() : HandleBase(HandleKind::Connection) {}
    ConnectionData data;
};

template <class T>
T* As(NetHandle h, HandleKind kind) {
    auto* handle = static_cast<HandleBase*>(h);
    return handle && handle->kind == kind ? static_cast<T*>(handle) : nullptr;
}
}  // namespace

struct SocketInternet::Request : HandleBase {
    Request() : HandleBase(HandleKind::Request) {}
    ~Request() override {
        if (fd >= 0) ::close(fd);
    }
    ConnectionData connection;
    std::string verb, path, version, referer, accept;
    unsigned flags = 0;
    std::optional<std::pair<std::string, std::string>> proxyCredentials;

    int fd = -1;
    int status = 0;
    std::map<std::string, std::string> headers;  // lower-case names
    std::string pending;                         // body bytes that came with the head
    long long remaining = -1;                    // body bytes still due; -1 = until the server closes
};

SocketInternet::SocketInternet(std::map<int, int> portMap) : portMap_(std::move(portMap)) {}

int SocketInternet::MappedPort(int port) const {
    const auto it = portMap_.find(port);
    return it == portMap_.end() ? port : it->second;
}

NetHandle SocketInternet::Track(NetHandle handle) {
    ++openHandles_;
    return handle;
}

NetHandle SocketInternet::Open(const std::string& agent, int accessType, const std::string& proxy) {
    auto* root = new RootHandle;
    root->data = {agent, accessType, proxy};
    return Track(root);
}

NetHandle SocketInternet::Connect(NetHandle root, const std::string& host, int port) {
    const auto* r = As<RootHandle>(root, HandleKind::Root);
    if (!r || host.empty()) return nullptr;
    auto* c = new ConnectionHandle;
    c->data = {r->data, host, port};
    return Track(c);
}

NetHandle SocketInternet::OpenRequest(NetHandle connection, const std::string& verb, const std::string& path,
                                      const std::string& version, const std::string& referer,
                                      const std::string& acceptType, unsigned flags) {
    const auto* c = As<ConnectionHandle>(connection, HandleKind::Connection);
    if (!c) return nullptr;
    auto* r = new Request;
    r->connection = c->data;
    r->verb = verb;
    r->path = path.empty() ? "/" : path;
    r->version = version.empty() ? "HTTP/1.0" : version;
    r->referer = referer;
    r->accept = acceptType;
    r->flags = flags;
    return Track(r);
}

bool SocketInternet::SetProxyCredentials(NetHandle request, const std::string& user, const std::string& password) {
    auto* r = As<Request>(request, HandleKind::Request);
    if (!r) return false;
    r->proxyCredentials.emplace(user, password);
    return true;
}

bool SocketInternet::Transmit(Request& r, const std::string& extraHeaders, const std::string& body) {
    if (!Exchange(r, extraHeaders, body, false)) return false;
    const bool viaProxy = r.connection.root.accessType == OpenTypeProxy && !r.connection.root.proxy.empty();
    if (r.status != 407 || !viaProxy || !r.proxyCredentials) return true;
    ::close(r.fd);
    r.fd = -1;
    r.headers.clear();
    r.pending.clear();
    r.remaining = -1;
    return Exchange(r, extraHeaders, body, true);
}

bool SocketInternet::Exchange(Request& r, const std::string& extraHeaders, const std::string& body,
                              bool withProxyCredentials) {
    // This client speaks no TLS: a secure request must never go out in plain text.
    if (r.flags & FlagSecure) return false;
    const ConnectionData& c = r.connection;
    const int port = MappedPort(c.port);
    const std::string hostField = port == DefaultHttpPort ? c.host : c.host + ":" + std::to_string(port);
    const bool viaProxy = c.root.accessType == OpenTypeProxy && !c.root.proxy.empty();
    r.fd = ConnectTo(viaProxy ? HttpProxy(c.root.proxy) : HostPort{c.host, port}, receiveTimeoutMs);
    if (r.fd < 0) return false;

    std::string out = r.verb + " " + (viaProxy ? "http://" + hostField + r.path : r.path) + " " + r.version + "\r\n";
    out += "Host: " + hostField + "\r\n";
    if (!c.root.agent.empty()) out += "User-Agent: " + c.root.agent + "\r\n";
    if (!r.accept.empty()) out += "Accept: " + r.accept + "\r\n";
    if (!r.referer.empty()) out += "Referer: " + r.referer + "\r\n";
    if (r.flags & FlagReload) out += "Pragma: no-cache\r\n";
    if (withProxyCredentials)
        out += "Proxy-Authorization: Basic " +
               Base64(r.proxyCredentials->first + ":" + r.proxyCredentials->second) + "\r\n";
    if (!extraHeaders.empty()) out += extraHeaders + "\r\n";
    if (!body.empty()) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "\r\n" + body;
    if (!SendAll(r.fd, out)) return false;

    std::string head;
    char buffer[4096];
    std::size_t end;
    while ((end = head.find("\r\n\r\n")) == std::string::npos) {
        if (head.size() > MaxHeadSize) return false;
        const ssize_t n = Receive(r.fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    r.pending = head.substr(end + 4);
    head.resize(end);

    std::size_t lineEnd = head.find("\r\n");
    const std::string statusLine = head.substr(0, lineEnd);
    if (statusLine.rfind("HTTP/", 0) != 0) return false;
    const auto blank = statusLine.find(' ');
    try {
        r.status = blank == std::string::npos ? 0 : std::stoi(statusLine.substr(blank + 1, 3));
    } catch (const std::exception&) {
        return false;
    }
    while (lineEnd != std::string::npos) {
        const std::size_t next = head.find("\r\n", lineEnd + 2);
        const std::string line = head.substr(lineEnd + 2, next == std::string::npos ? std::string::npos : next - lineEnd - 2);
        lineEnd = next;
        const auto colon = line.find(':');
        if (colon != std::string::npos) r.headers[Lower(Trim(line.substr(0, colon)))] = Trim(line.substr(colon + 1));
    }
    // Like the system client, a stated length ends the body even when the
    // server would send more.
    const auto length = r.headers.find("content-length");
    if (length != r.headers.end() && !length->second.empty() &&
        std::all_of(length->second.begin(), length->second.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        try {
            r.remaining = std::stoll(length->second);
        } catch (const std::exception&) {
            r.remaining = -1;
        }
    }
    if (r.verb == "HEAD") r.remaining = 0;
    return true;
}

bool SocketInternet::SendRequest(NetHandle request, const std::string& headers, const std::string& body) {
    auto* r = As<Request>(request, HandleKind::Request);
    if (!r || r->fd >= 0) return false;
    if (Transmit(*r, headers, body)) return true;
    r->status = 0;
    r->headers.clear();
    r->pending.clear();
    if (r->fd >= 0) ::close(r->fd);
    r->fd = -1;
    return false;
}

std::optional<std::string> SocketInternet::QueryContentLength(NetHandle request) {
    auto* r = As<Request>(request, HandleKind::Request);
    if (!r) return std::nullopt;
    const auto it = r->headers.find("content-length");
    if (it == r->headers.end()) return std::nullopt;
    return it->second;
}

int SocketInternet::QueryStatusCode(NetHandle request) {
    auto* r = As<Request>(request, HandleKind::Request);
    return r ? r->status : 0;
}

bool SocketInternet::Read(NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) {
    got = 0;
    auto* r = As<Request>(handle, HandleKind::Request);
    if (!r || r->fd < 0) return false;
    if (r->remaining >= 0) capacity = static_cast<std::size_t>(std::min<long long>(r->remaining, static_cast<long long>(capacity)));
    if (capacity == 0) return true;
    if (!r->pending.empty()) {
        got = std::min(capacity, r->pending.size());
        std::memcpy(buffer, r->pending.data(), got);
        r->pending.erase(0, got);
    } else {
        const ssize_t n = Receive(r->fd, buffer, capacity);
        if (n < 0) return false;
        got = static_cast<std::size_t>(n);
    }
    if (r->remaining >= 0) r->remaining -= static_cast<long long>(got);
    return true;
}

void SocketInternet::Close(NetHandle handle) {
    auto* h = static_cast<HandleBase*>(handle);
    if (!h) return;
    delete h;
    --openHandles_;
}

NetHandle SocketInternet::OpenUrl(NetHandle root, const std::string& url, unsigned flags) {
    const std::string scheme = "http://";
    if (Lower(url.substr(0, scheme.size())) != scheme) return nullptr;
    const std::string rest = url.substr(scheme.size());
    const auto slash = rest.find('/');
    const HostPort target = SplitHostPort(rest.substr(0, slash), DefaultHttpPort);
    NetHandle connection = Connect(root, target.host, target.port);
    if (!connection) return nullptr;
    NetHandle request =
        OpenRequest(connection, "GET", slash == std::string::npos ? "/" : rest.substr(slash), "HTTP/1.0", "", "*/*", flags);
    Close(connection);
    if (request && SendRequest(request, "", "")) return request;
    Close(request);
    return nullptr;
}

}  // namespace kv::platform
