#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/test_world.h"
#include "loopback_server.h"
#include "support/socket_internet.h"
#include "network/http_get.h"
#include "network/url_split.h"

namespace kv::test {
namespace {

std::string Pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

// A tinyproxy of this test's own on a free port, ended by its pid.
class Tinyproxy {
public:
    // extraConfig: further lines of its configuration, such as "BasicAuth user password".
    explicit Tinyproxy(const TempDir& dir, const std::string& extraConfig = "") : port_(UnusedPort()) {
        const std::string conf = dir.path() + "/tinyproxy.conf";
        std::ofstream(conf) << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\nMaxClients 4\n"
                            << extraConfig;
        const std::string program = "/usr/bin/tinyproxy";
        if (::access(program.c_str(), X_OK) != 0) return;
        std::vector<std::string> args{program, "-d", "-c", conf};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, program.c_str(), &quiet, nullptr, argv.data(), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&quiet);
    }
    ~Tinyproxy() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    // Waits until the proxy accepts requests.
    bool Ready(platform::Internet& net) const {
        if (pid_ <= 0) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            platform::NetHandle root = net.Open("probe", platform::OpenTypeProxy, Address());
            platform::NetHandle page = net.OpenUrl(root, "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/", 0);
            net.Close(page);
            net.Close(root);
            if (page) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int port_;
    pid_t pid_ = 0;
};

struct Events {
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;
    std::vector<void*> progressSenders;
    int done = 0;
    int errors = 0;
    std::string doneName;
    std::int32_t doneSize = -1;
    void* doneSender = nullptr;
    int Completions() const { return done + errors; }
};

void Hook(THTTPGet& get, Events& ev) {
    get.OnProgress = [&ev](void* sender, std::int32_t total, std::int32_t readed) {
        ev.progress.emplace_back(total, readed);
        ev.progressSenders.push_back(sender);
    };
    get.OnDoneFile = [&ev](void* sender, const std::string& name, std::int32_t size) {
        ++ev.done;
        ev.doneName = name;
        ev.doneSize = size;
        ev.doneSender = sender;
    };
    get.OnError = [&ev](void* sender) {
        ++ev.errors;
        ev.doneSender = sender;
    };
}

// A download component against a scripted loopback server that stands in for
// port 80 of 127.0.0.1.
class HttpGetTest : public ::testing::Test {
protected:
    void Serve(LoopbackServer::Handler handler) {
        server.emplace(std::move(handler));
        MapPort80To(server->port());
    }
    void MapPort80To(int port) {
        net = std::make_unique<platform::SocketInternet>(std::map<int, int>{{80, port}});
        get = std::make_unique<THTTPGet>(*net, world.files, world.dispatcher);
        Hook(*get, ev);
        get->FileName = Target();
    }
    std::string Target() const { return world.dir / "target.bin"; }
    std::string TargetContent() const { return world.dir.Read("target.bin"); }

    // Runs the GUI side until the transfer has reported and every handle is closed.
    void Finish() {
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return ev.Completions() > 0 && !get->Busy(); }));
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return net->OpenHandles() == 0; }));
    }
    void Fetch(const std::string& url) {
        get->URL = url;
        get->GetFile();
        Finish();
    }
    std::vector<std::string> Requests() const { return server ? server->Requests() : std::vector<std::string>{}; }

    TestWorld world;
    std::optional<LoopbackServer> server;
    std::unique_ptr<platform::SocketInternet> net;
    std::unique_ptr<THTTPGet> get;
    Events ev;
};

TEST(UrlSplit, SchemeHostPortAndPath) {
    struct Row {
        const char* url;
        const char* host;
        const char* path;
        int port;
        bool secure;
    } rows[] = {
        {"http://host/dir/file.exe", "host", "/dir/file.exe", 80, false},
        {"host/dir/file.exe", "host", "/dir/file.exe", 80, false},
        {"HTTP://HOST/x", "HOST", "/x", 80, false},
        {"http://host:8080/x", "host:8080", "/x", 80, false},  // a plain address names no port
        {"file.exe", "", "file.exe", 80, false},
        {"http://host", "", "host", 80, false},
        {"", "", "", 80, false},
        {"https://localhost/update.ini", "localhost", "/update.ini", 443, true},
        {"HTTPS://Localhost:8443/a/b", "Localhost", "/a/b", 8443, true},
        {"https://localhost:0/x", "localhost:0", "/x", 443, true},
        {"https://localhost:65536/x", "localhost:65536", "/x", 443, true},
        {"https://localhost:4a3/x", "localhost:4a3", "/x", 443, true},
        {"https://localhost", "", "localhost", 443, true},
        {"x/https://host/y", "x", "/https://host/y", 80, false},
    };
    for (const Row& row : rows) {
        const UrlParts parts = SplitUrl(row.url);
        EXPECT_EQ(parts.host, row.host) << row.url;
        EXPECT_EQ(parts.path, row.path) << row.url;
        EXPECT_EQ(parts.port, row.port) << row.url;
        EXPECT_EQ(parts.secure, row.secure) << row.url;
    }
}

// A secure address asks the system client for TLS on its port; nothing else
// about the request changes.
TEST(HttpGetSecure, TheAddressDecidesPortAndTls) {
    TestWorld world;
    THTTPGet get(world.offline, world.files, world.dispatcher);
    get.FileName = world.dir / "target.bin";
    for (const char* url : {"http://127.0.0.1/update.ini", "https://localhost/update.ini", "https://localhost:8443/x"}) {
        get.URL = url;
        get.GetFile();
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get.Busy(); }));
    }
    using Connect = std::pair<std::string, int>;
    EXPECT_EQ(world.offline.connects,
              (std::vector<Connect>{{"127.0.0.1", 80}, {"localhost", 443}, {"localhost", 8443}}));
    const unsigned reload = platform::FlagReload, secure = platform::FlagSecure;
    EXPECT_EQ(world.offline.requestFlags, (std::vector<unsigned>{reload, reload | secure, reload | secure}));
}

TEST_F(HttpGetTest, DefaultsOfANewComponent) {
    MapPort80To(UnusedPort());
    THTTPGet fresh(*net, world.files, world.dispatcher);
    EXPECT_EQ(fresh.AcceptTypes, "*/*");
    EXPECT_EQ(fresh.Agent, "HTTP");
    EXPECT_FALSE(fresh.BinaryData);
    EXPECT_FALSE(fresh.UseCache);
    EXPECT_FALSE(fresh.WaitThread);
    EXPECT_EQ(fresh.ConectLan, ctNone);
    EXPECT_TRUE(fresh.URL.empty() && fresh.FileName.empty() && fresh.PostQuery.empty());
    EXPECT_FALSE(fresh.Busy());
}

TEST_F(HttpGetTest, StoresTheBodyInChunksOfAtMost1025Bytes) {
    const std::string body = Pattern(5000);
    Serve([&](const std::string&) { return Reply::Ok(body); });
    get->BinaryData = true;
    Fetch("http://127.0.0.1/dir/file.bin");

    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.errors, 0);
    EXPECT_EQ(ev.doneName, Target());
    EXPECT_EQ(ev.doneSize, 5000);
    EXPECT_EQ(ev.doneSender, get.get());
    EXPECT_TRUE(get->LastOutcome());
    EXPECT_EQ(TargetContent(), body);
    ASSERT_FALSE(ev.progress.empty());
    std::int32_t before = 0;
    for (const auto& [total, readed] : ev.progress) {
        EXPECT_EQ(total, 5000);
        EXPECT_GT(readed, before);
        EXPECT_LE(readed - before, 1025);
        before = readed;
    }
    EXPECT_EQ(before, 5000);
    EXPECT_NE(ev.progressSenders.front(), get.get());
}

TEST_F(HttpGetTest, SendsAnHttp10GetWithTheReloadFlagUnlessTheCacheMayServe) {
    Serve([](const std::string&) { return Reply::Ok("x"); });
    get->Referer = "http://ref/";
    Fetch("127.0.0.1/a/b.ini");
    ASSERT_EQ(Requests().size(), 1u);
    const std::string first = Requests()[0];
    EXPECT_EQ(RequestLine(first), "GET /a/b.ini HTTP/1.0");
    EXPECT_TRUE(HasHeader(first, "User-Agent: HTTP"));
    EXPECT_TRUE(HasHeader(first, "Accept: */*"));
    EXPECT_TRUE(HasHeader(first, "Referer: http://ref/"));
    EXPECT_TRUE(HasHeader(first, "Pragma: no-cache"));

    ev = {};
    get->UseCache = true;
    get->Referer.clear();
    Fetch("127.0.0.1/a/b.ini");
    ASSERT_EQ(Requests().size(), 2u);
    EXPECT_FALSE(HasHeader(Requests()[1], "Pragma: no-cache"));
    EXPECT_EQ(Requests()[1].find("Referer:"), std::string::npos);
}

TEST_F(HttpGetTest, PostSendsTheFormHeaderAndBody) {
    Serve([](const std::string&) { return Reply::Ok("ok"); });
    get->PostQuery = "a=1&b=zwei";
    Fetch("http://127.0.0.1/cgi/post");
    ASSERT_EQ(Requests().size(), 1u);
    const std::string request = Requests()[0];
    EXPECT_EQ(RequestLine(request), "POST /cgi/post HTTP/1.0");
    EXPECT_TRUE(HasHeader(request, "Content-Type: application/x-www-form-urlencoded"));
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), "a=1&b=zwei");
    EXPECT_EQ(ev.done, 1);
}

TEST_F(HttpGetTest, WithoutContentLengthProgressTotalIsZeroAndABodyFails) {
    Serve([](const std::string&) { return Reply::WithoutLength(Pattern(3000)); });
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_FALSE(get->LastOutcome());
    ASSERT_FALSE(ev.progress.empty());
    for (const auto& step : ev.progress) EXPECT_EQ(step.first, 0);
    EXPECT_EQ(ev.progress.back().second, 3000);
}

TEST_F(HttpGetTest, WithoutContentLengthAnEmptyBodyIsAnEmptyFile) {
    Serve([](const std::string&) { return Reply::WithoutLength(""); });
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.doneSize, 0);
    EXPECT_EQ(TargetContent(), "");
}

TEST_F(HttpGetTest, BinaryDataWithoutContentLengthLeavesTheFileUntouched) {
    Serve([](const std::string&) { return Reply::WithoutLength("new content"); });
    world.dir.Write("target.bin", "old content");
    get->BinaryData = true;
    Fetch("http://127.0.0.1/setup.exe");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_TRUE(ev.progress.empty());
    EXPECT_EQ(TargetContent(), "old content");
}

TEST_F(HttpGetTest, ContentLengthZeroIsASuccessOfSizeZero) {
    Serve([](const std::string&) { return Reply::Ok(""); });
    get->BinaryData = true;
    Fetch("http://127.0.0.1/empty");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.doneSize, 0);
    EXPECT_EQ(TargetContent(), "");
}

TEST_F(HttpGetTest, ABodyShorterThanItsLengthFails) {
    Serve([](const std::string&) {
        return Reply::Raw("HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(100, 'a'));
    });
    get->BinaryData = true;
    Fetch("http://127.0.0.1/setup.exe");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_EQ(TargetContent(), std::string(100, 'a'));
}

TEST_F(HttpGetTest, ErrorStatusesFailWithoutTouchingTheFile) {
    for (const int status : {404, 500}) {
        Serve([status](const std::string&) { return Reply::Status(status, "<html>error</html>"); });
        world.dir.Write("target.bin", "kept");
        for (const bool binary : {false, true}) {
            ev = {};
            get->BinaryData = binary;
            Fetch("http://127.0.0.1/missing");
            EXPECT_EQ(ev.errors, 1) << status;
            EXPECT_EQ(ev.done, 0) << status;
            EXPECT_EQ(TargetContent(), "kept") << status;
        }
    }
}

TEST_F(HttpGetTest, WithoutAnyServerTheCatalogueRuleGivesAnEmptyFile) {
    MapPort80To(UnusedPort());
    world.dir.Write("target.bin", "old");
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.doneSize, 0);
    EXPECT_EQ(TargetContent(), "");

    ev = {};
    world.dir.Write("target.bin", "old");
    get->BinaryData = true;
    Fetch("http://127.0.0.1/setup.exe");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_EQ(TargetContent(), "old");
}

TEST_F(HttpGetTest, AnAddressWithoutSlashFetchesNothing) {
    Serve([](const std::string&) { return Reply::Ok("x"); });
    Fetch("update.ini");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.doneSize, 0);
    get->BinaryData = true;
    ev = {};
    Fetch("http://update.ini");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HttpGetTest, AContentLengthThatIsNoNumberFails) {
    for (const std::string length : {"abc", "-5", "12x", "99999999999"}) {
        Serve([&](const std::string&) { return Reply::Raw("HTTP/1.0 200 OK\r\nContent-Length: " + length + "\r\n\r\nabc"); });
        ev = {};
        Fetch("http://127.0.0.1/x");
        EXPECT_EQ(ev.errors, 1) << length;
    }
}

TEST_F(HttpGetTest, ADestinationThatCannotBeCreatedFails) {
    Serve([](const std::string&) { return Reply::Ok("body"); });
    get->FileName = world.dir / "no such folder\\target.bin";
    Fetch("http://127.0.0.1/x");
    EXPECT_EQ(ev.errors, 1);
    EXPECT_TRUE(ev.progress.empty());
}

TEST_F(HttpGetTest, AbortDuringTheBodyKeepsWhatWasWrittenAndFails) {
    const std::string body = Pattern(40 * 1000);
    Serve([&](const std::string&) { return Reply::Slow(body, 1000, 100); });
    get->BinaryData = true;
    std::int32_t readedAtAbort = 0;
    get->OnProgress = [&](void*, std::int32_t, std::int32_t readed) {
        ev.progress.emplace_back(0, readed);
        if (readedAtAbort == 0) {
            readedAtAbort = readed;
            get->Abort();
        }
    };
    const auto start = std::chrono::steady_clock::now();
    Fetch("http://127.0.0.1/setup.exe");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ev.errors, 1);
    EXPECT_EQ(ev.done, 0);
    EXPECT_EQ(ev.progress.size(), 1u);
    EXPECT_EQ(TargetContent(), body.substr(0, static_cast<std::size_t>(readedAtAbort)));
    EXPECT_LT(took, std::chrono::seconds(2));  // the whole body would take four
}

TEST_F(HttpGetTest, GetFileWhileBusyIsIgnored) {
    Serve([](const std::string& request) {
        return RequestLine(request).find("/slow") != std::string::npos ? Reply::Slow(Pattern(3000), 1000, 50)
                                                                        : Reply::Ok("other");
    });
    get->URL = "http://127.0.0.1/slow";
    get->GetFile();
    EXPECT_TRUE(get->Busy());
    get->URL = "http://127.0.0.1/other";
    get->GetFile();
    Finish();
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(ev.errors, 0);
    EXPECT_EQ(TargetContent(), Pattern(3000));
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(world.dispatcher.Pending(), 0u);
}

TEST_F(HttpGetTest, GetFileFromTheCompletionHandlerIsIgnoredButWorksAfterwards) {
    Serve([](const std::string&) { return Reply::Ok("abc"); });
    get->OnDoneFile = [&](void*, const std::string&, std::int32_t) {
        ++ev.done;
        EXPECT_TRUE(get->Busy());
        get->GetFile();
    };
    Fetch("http://127.0.0.1/x");
    EXPECT_FALSE(get->Busy());
    EXPECT_EQ(Requests().size(), 1u);
    ev = {};
    Fetch("http://127.0.0.1/x");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(Requests().size(), 2u);
}

// Only a held fetch hands its completion a hold on the written file, and only
// during the completion.
TEST_F(HttpGetTest, AHeldFetchHandsItsCompletionTheWrittenFileHeld) {
    Serve([](const std::string&) { return Reply::Ok("abc"); });
    std::vector<std::string> held;
    get->OnDoneFile = [&](void*, const std::string&, std::int32_t) {
        ++ev.done;
        const std::unique_ptr<platform::HeldFile> file = get->TakeHeldFile();
        held.push_back(file ? file->Path() : "none");
    };
    get->URL = "http://127.0.0.1/x";
    for (const bool hold : {false, true}) {
        hold ? get->GetHeldFile() : get->GetFile();
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get->Busy(); }));
    }
    EXPECT_EQ(held, (std::vector<std::string>{"none", Target()}));
    EXPECT_EQ(get->TakeHeldFile(), nullptr);
}

TEST_F(HttpGetTest, LaterPropertyChangesDoNotReachARunningTransfer) {
    Serve([](const std::string&) { return Reply::Slow("abcdef", 2, 30); });
    get->URL = "http://127.0.0.1/x";
    get->GetFile();
    get->FileName = world.dir / "other.bin";
    get->BinaryData = true;
    Finish();
    EXPECT_EQ(ev.doneName, Target());
    EXPECT_EQ(TargetContent(), "abcdef");
    EXPECT_FALSE(world.dir.Exists("other.bin"));
}

TEST_F(HttpGetTest, ADestroyedComponentIsNeverCalledBack) {
    Serve([](const std::string&) { return Reply::Slow(Pattern(20 * 1000), 1000, 50); });
    get->URL = "http://127.0.0.1/setup.exe";
    get->BinaryData = true;
    get->GetFile();
    ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !ev.progress.empty(); }));
    const std::size_t stepsBefore = ev.progress.size();
    get.reset();
    ASSERT_TRUE(world.dispatcher.RunUntil([&] { return net->OpenHandles() == 0; }));
    world.dispatcher.RunUntil([] { return false; }, 100);
    EXPECT_EQ(ev.Completions(), 0);
    EXPECT_LE(ev.progress.size(), stepsBefore);
}

TEST_F(HttpGetTest, WaitThreadReturnsAfterTheCompletion) {
    Serve([](const std::string&) { return Reply::Slow("abcdef", 3, 30); });
    get->WaitThread = true;
    get->pumpMessages = [&] { world.dispatcher.RunUntil([] { return true; }, 0); };
    get->URL = "http://127.0.0.1/x";
    get->GetFile();
    EXPECT_EQ(ev.done, 1);
    EXPECT_FALSE(get->Busy());
}

TEST_F(HttpGetTest, TextModeHandsTheBodyToOnDoneString) {
    Serve([](const std::string& request) {
        return RequestLine(request).find("/empty") != std::string::npos ? Reply::Ok("") : Reply::WithoutLength("Datei geladen");
    });
    std::string text;
    get->OnDoneString = [&](void* sender, const std::string& result) {
        ++ev.done;
        text = result;
        EXPECT_EQ(sender, get.get());
    };
    get->URL = "http://127.0.0.1/mail.txt";
    get->GetString();
    Finish();
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(text, "Datei geladen");
    EXPECT_FALSE(world.dir.Exists("target.bin"));

    ev = {};
    get->URL = "http://127.0.0.1/empty";
    get->GetString();
    Finish();
    EXPECT_EQ(ev.errors, 1);
}

TEST_F(HttpGetTest, ANamedProxyReceivesTheAbsoluteAddress) {
    Serve([](const std::string&) { return Reply::Ok("origin"); });
    LoopbackServer proxy([](const std::string&) { return Reply::Ok("via proxy"); });
    get->ConectLan = ctProxy;
    get->ProxyPort = "127.0.0.1:" + std::to_string(proxy.port());
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(TargetContent(), "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(RequestLine(proxy.Requests()[0]),
              "GET http://127.0.0.1:" + std::to_string(server->port()) + "/update.ini HTTP/1.0");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(HttpGetTest, DownloadsThroughARealProxy) {
    const std::string body = Pattern(4000);
    Serve([&](const std::string&) { return Reply::Ok(body); });
    Tinyproxy proxy(world.dir);
    if (!proxy.Ready(*net)) GTEST_SKIP() << "tinyproxy cannot be started here";
    get->ConectLan = ctProxy;
    get->ProxyPort = proxy.Address();
    get->BinaryData = true;
    Fetch("http://127.0.0.1/KVsetup.exe");
    EXPECT_EQ(ev.done, 1);
    EXPECT_EQ(TargetContent(), body);
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(RequestLine(Requests()[0]).substr(0, 16), "GET /KVsetup.exe");
    EXPECT_NE(Requests()[0].find("tinyproxy"), std::string::npos);  // its Via header
}

// The user and password are the wizard's proxy's: a proxy that asks for them
// (tinyproxy's BasicAuth) gets them, the update server never does, not even
// when it asks itself (401), and without the proxy nobody does.
TEST_F(HttpGetTest, ProxyCredentialsReachOnlyTheProxy) {
    const struct {
        bool viaProxy;
        int serverStatus;
        bool done;
    } rows[] = {{true, 200, true}, {true, 401, false}, {false, 401, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.viaProxy) + " " + std::to_string(row.serverStatus));
        ev = {};
        Serve([&](const std::string&) { return Reply::Status(row.serverStatus, "catalogue"); });
        Tinyproxy proxy(world.dir, "BasicAuth anna geheim\n");
        if (!proxy.Ready(*net)) GTEST_SKIP() << "tinyproxy cannot be started here";
        get->ConectLan = row.viaProxy ? ctProxy : ctNone;
        get->ProxyPort = proxy.Address();
        get->UserName = "anna";
        get->Password = "geheim";
        Fetch("http://127.0.0.1/update.ini");
        EXPECT_EQ(ev.done, row.done ? 1 : 0);
        ASSERT_EQ(Requests().size(), 1u);
        EXPECT_EQ(Requests()[0].find("uthorization"), std::string::npos) << Requests()[0];
        EXPECT_EQ(Requests()[0].find("YW5uYTpnZWhlaW0="), std::string::npos);  // anna:geheim
    }
}

// A catalogue (BinaryData off) beyond 32 MiB fails, stated or sent; an
// installer is not bounded by it.
TEST_F(HttpGetTest, OnlyATextBodyIsBounded) {
    constexpr std::size_t limit = 32u << 20;
    const std::string beyond(limit + 1, 'x');
    const struct {
        bool binary;
        Reply reply;
        bool done;
    } rows[] = {
        {false, Reply::Raw("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(limit + 1) + "\r\n\r\nx"), false},
        {false, Reply::WithoutLength(beyond), false},
        {true, Reply::Ok(beyond), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.binary);
        ev = {};
        Serve([&](const std::string&) { return row.reply; });
        get->OnProgress = nullptr;
        get->BinaryData = row.binary;
        Fetch("http://127.0.0.1/update.ini");
        EXPECT_EQ(ev.done, row.done ? 1 : 0);
    }
}

TEST_F(HttpGetTest, ProxyWithoutAgentUsesTheSystemSettings) {
    Serve([](const std::string&) { return Reply::Ok("origin"); });
    LoopbackServer proxy([](const std::string&) { return Reply::Ok("via proxy"); });
    get->ConectLan = ctProxy;
    get->Agent.clear();
    get->ProxyPort = "127.0.0.1:" + std::to_string(proxy.port());
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(TargetContent(), "origin");
    EXPECT_TRUE(proxy.Requests().empty());
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].find("User-Agent:"), std::string::npos);
}

TEST_F(HttpGetTest, DialUpConnectionTypeBehavesAsNone) {
    Serve([](const std::string&) { return Reply::Ok("origin"); });
    LoopbackServer proxy([](const std::string&) { return Reply::Ok("via proxy"); });
    get->ConectLan = ctDialup;
    get->ProxyPort = "127.0.0.1:" + std::to_string(proxy.port());
    Fetch("http://127.0.0.1/update.ini");
    EXPECT_EQ(TargetContent(), "origin");
    EXPECT_TRUE(proxy.Requests().empty());
}

}  // namespace
}  // namespace kv::test
