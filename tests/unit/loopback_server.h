#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

// What a scripted server sends for one request: the pieces in order with a
// pause before each but the first, then it closes the connection.
struct Reply {
    std::vector<std::string> pieces;
    int pauseMs = 0;

    static Reply Status(int code, const std::string& body);  // with Content-Length
    static Reply Ok(const std::string& body) { return Status(200, body); }
    static Reply WithoutLength(const std::string& body);      // the body ends at the close
    static Reply Raw(std::string bytes) { return Reply{{std::move(bytes)}, 0}; }
    // The head with the given length, then the body in pieces of `piece` bytes.
    static Reply Slow(const std::string& body, std::size_t piece, int pauseMs);
};

// A one-request-per-connection HTTP server on a free loopback port that
// answers from a script and keeps every request it received.
class LoopbackServer {
public:
    using Handler = std::function<Reply(const std::string& request)>;
    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::vector<std::string> Requests() const;  // head and body as received

private:
    void AcceptLoop();
    void Serve(int fd);
    void Pause(int milliseconds) const;

    Handler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

// The request line ("GET /x HTTP/1.0") of a received request.
std::string RequestLine(const std::string& request);
// True when the head carries this exact header line.
bool HasHeader(const std::string& request, const std::string& line);
// A port on 127.0.0.1 where nothing listens (just released).
int UnusedPort();

}  // namespace kv::test
