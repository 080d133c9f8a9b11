#include "loopback_server.h"

#include <chrono>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kv::test {

namespace {
std::string StatusText(int code) {
    switch (code) {
        case 200: return "OK";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

int ListenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot listen on loopback");
    }
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

std::size_t DeclaredLength(const std::string& head) {
    const std::string key = "\r\nContent-Length: ";
    const auto at = head.find(key);
    return at == std::string::npos ? 0 : std::stoul(head.substr(at + key.size()));
}
}  // namespace

Reply Reply::Status(int code, const std::string& body) {
    return Raw("HTTP/1.0 " + std::to_string(code) + " " + StatusText(code) + "\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\n\r\n" + body);
}

Reply Reply::WithoutLength(const std::string& body) { return Raw("HTTP/1.0 200 OK\r\n\r\n" + body); }

Reply Reply::Slow(const std::string& body, std::size_t piece, int pause) {
    Reply r{{"HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n"}, pause};
    for (std::size_t at = 0; at < body.size(); at += piece) r.pieces.push_back(body.substr(at, piece));
    return r;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ListenOnLoopback(port_);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    acceptor_.join();
    for (std::thread& t : connections_) t.join();
    ::close(listenFd_);
}

std::vector<std::string> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::AcceptLoop() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        connections_.emplace_back([this, fd] { Serve(fd); });
    }
}

void LoopbackServer::Pause(int milliseconds) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!stop_ && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void LoopbackServer::Serve(int fd) {
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::string request;
    char buffer[4096];
    std::size_t headEnd;
    while ((headEnd = request.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ::close(fd);
            return;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t wanted = headEnd + 4 + DeclaredLength(request.substr(0, headEnd + 2));
    while (request.size() < wanted) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const Reply reply = handler_(request);
    for (std::size_t i = 0; i < reply.pieces.size() && !stop_; ++i) {
        if (i > 0) Pause(reply.pauseMs);
        const std::string& piece = reply.pieces[i];
        if (::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(piece.size())) break;
    }
    ::close(fd);
}

std::string RequestLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

bool HasHeader(const std::string& request, const std::string& line) {
    const std::string head = request.substr(0, request.find("\r\n\r\n") + 2);
    return head.find("\r\n" + line + "\r\n") != std::string::npos;
}

int UnusedPort() {
    int port = 0;
    ::close(ListenOnLoopback(port));
    return port;
}

}  // namespace kv::test
