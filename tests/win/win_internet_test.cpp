#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>

#include "fakes/test_world.h"
#include "network/connection.h"
#include "platform/win32/win_internet.h"
#include "network/http_get.h"

namespace kv::test {
namespace {

constexpr const char* PeersBase = "http://127.0.0.1/kv-conformance/";

struct Outcome {
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;
    int done = 0, errors = 0;
    std::int32_t size = -1;
};

// The system HTTP client against the update server of the end-to-end peers
// (nginx on 127.0.0.1:80 with the documents of tests/fixtures/www). Skipped
// where the peers are not running.
class WinInternetPeers : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PeersServe()) GTEST_SKIP() << "no update server with the conformance documents on 127.0.0.1:80";
        get = std::make_unique<THTTPGet>(net, world.files, world.dispatcher);
        get->OnProgress = [this](void*, std::int32_t total, std::int32_t readed) { out.progress.emplace_back(total, readed); };
        get->OnDoneFile = [this](void*, const std::string&, std::int32_t size) {
            ++out.done;
            out.size = size;
        };
        get->OnError = [this](void*) { ++out.errors; };
        get->FileName = world.dir / "target.bin";
    }
    bool PeersServe() {
        platform::NetHandle root = net.Open("KVTest", platform::OpenTypeDirect, "");
        platform::NetHandle page = net.OpenUrl(root, std::string(PeersBase) + "catalogue.ini", platform::FlagReload);
        HttpStatus = net.QueryStatusCode(page);
        net.Close(page);
        net.Close(root);
        return HttpStatus == 200;
    }
    void Fetch(const std::string& document) {
        get->URL = PeersBase + document;
        get->GetFile();
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get->Busy(); }, 30000));
    }

    TestWorld world;
    platform::win32::WinInternet net;
    std::unique_ptr<THTTPGet> get;
    Outcome out;
    int HttpStatus = 0;
};

TEST_F(WinInternetPeers, AFileArrivesInChunksWithItsLength) {
    get->BinaryData = true;
    Fetch("catalogue.ini");
    EXPECT_EQ(out.done, 1);
    EXPECT_EQ(out.size, 3041);
    const std::string content = world.dir.Read("target.bin");
    EXPECT_EQ(content.size(), 3041u);
    EXPECT_EQ(content.substr(0, 10), "[QORIND]\r\n");
    std::int32_t before = 0;
    for (const auto& [total, readed] : out.progress) {
        EXPECT_EQ(total, 3041);
        EXPECT_LE(readed - before, 1025);
        before = readed;
    }
    EXPECT_EQ(before, 3041);
}

TEST_F(WinInternetPeers, AMissingDocumentIsAnError) {
    world.dir.Write("target.bin", "kept");
    Fetch("missing.ini");
    EXPECT_EQ(out.errors, 1);
    EXPECT_EQ(world.dir.Read("target.bin"), "kept");

    platform::NetHandle root = net.Open("KVTest", platform::OpenTypeDirect, "");
    platform::NetHandle page = net.OpenUrl(root, std::string(PeersBase) + "missing.ini", platform::FlagReload);
    EXPECT_NE(page, nullptr);
    EXPECT_EQ(net.QueryStatusCode(page), 404);
    net.Close(page);
    net.Close(root);
}

TEST_F(WinInternetPeers, WithoutContentLengthTheSizeRulesDecide) {
    world.dir.Write("target.bin", "kept");
    get->BinaryData = true;
    Fetch("ssi/nolength.shtml");
    EXPECT_EQ(out.errors, 1);
    EXPECT_EQ(world.dir.Read("target.bin"), "kept");

    out = {};
    get->BinaryData = false;
    Fetch("ssi/nolength.shtml");
    EXPECT_EQ(out.errors, 1);  // a body without stated length never matches size 0
    EXPECT_EQ(world.dir.Read("target.bin"), "Datei geladen");
    ASSERT_FALSE(out.progress.empty());
    EXPECT_EQ(out.progress.back(), std::make_pair(0, 13));
}

TEST_F(WinInternetPeers, TheProbeReadsADocumentWithoutLength) {
    std::string body;
    EXPECT_TRUE(ProbeUrl(net, std::string(PeersBase) + "ssi/nolength.shtml", body));
    EXPECT_EQ(body, "Datei geladen");
}

// Wine hands a proxied request to a kept-alive direct connection to the same
// host, so these transfers name the server as "localhost".
TEST_F(WinInternetPeers, ANamedProxyCarriesTheTransfer) {
    get->ConectLan = ctProxy;
    get->ProxyPort = "127.0.0.3:8888";
    get->BinaryData = true;
    get->URL = "http://localhost/kv-conformance/catalogue.ini";
    get->GetFile();
    ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get->Busy(); }, 30000));
    EXPECT_EQ(out.done, 1);
    EXPECT_EQ(out.size, 3041);

    out = {};
    get->ProxyPort = "127.0.0.3:1";  // nothing listens there
    get->GetFile();
    ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get->Busy(); }, 30000));
    EXPECT_EQ(out.errors, 1);

    out = {};
    get->Agent.clear();  // without agent the named proxy is not used
    get->GetFile();
    ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get->Busy(); }, 30000));
    EXPECT_EQ(out.done, 1);
}

// Values of the current user's Internet settings, put back after the test.
class InternetSettings {
public:
    InternetSettings() {
        RegCreateKeyExA(HKEY_CURRENT_USER, Path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        Keep("ProxyEnable");
        Keep("ProxyServer");
        Keep("ProxyOverride");
    }
    ~InternetSettings() {
        for (const auto& [name, value] : kept_) {
            if (value)
                RegSetValueExA(key_, name.c_str(), 0, value->first, reinterpret_cast<const BYTE*>(value->second.data()),
                               static_cast<DWORD>(value->second.size()));
            else
                RegDeleteValueA(key_, name.c_str());
        }
        RegCloseKey(key_);
    }
    void Enable(DWORD on) { RegSetValueExA(key_, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on); }
    void Text(const char* name, const std::string& text) {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    }

private:
    static constexpr const char* Path = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    void Keep(const std::string& name) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            kept_.emplace_back(name, std::nullopt);
            return;
        }
        std::string data(size, '\0');
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        kept_.emplace_back(name, std::make_pair(type, data));
    }
    HKEY key_ = nullptr;
    std::vector<std::pair<std::string, std::optional<std::pair<DWORD, std::string>>>> kept_;
};

TEST(WinSystemProxy, FollowsTheInternetSettingsOfTheUser) {
    InternetSettings settings;
    platform::win32::WinInternet net;
    settings.Enable(1);
    settings.Text("ProxyServer", "10.0.0.5:3128");
    settings.Text("ProxyOverride", "<local>");
    const SystemProxy general = GetSystemProxy(net, "http");
    EXPECT_EQ(general.host, "10.0.0.5");
    EXPECT_EQ(general.port, "3128");
    EXPECT_EQ(general.bypass, "<local>");

    settings.Text("ProxyServer", "http=10.0.0.1:3128;ftp=10.0.0.2:21");
    const SystemProxy http = GetSystemProxy(net, "HTTP");
    EXPECT_EQ(http.host, "10.0.0.1");
    EXPECT_EQ(http.port, "3128");

    settings.Enable(0);
    EXPECT_EQ(GetSystemProxy(net, "http").host, "");
}

// HTTPS against TLS servers of the tests' own authority, whose root the
// prefix trusts (tests/wine/run_tls.sh): the certificate for "localhost" is
// accepted, one for another name is refused like a server that cannot be
// reached, by the download component and by the probe alike.
TEST(WinInternetTls, TheSystemChecksTheServerCertificate) {
    const char* ports = std::getenv("KV_TLS_PORTS");
    if (ports == nullptr) GTEST_SKIP() << "run by tests/wine/run_tls.sh";
    std::istringstream portList(ports);
    std::string rightName, wrongName;
    portList >> rightName >> wrongName;
    TestWorld world;
    platform::win32::WinInternet net;
    THTTPGet get(net, world.files, world.dispatcher);
    Outcome out;
    get.OnDoneFile = [&](void*, const std::string&, std::int32_t size) {
        ++out.done;
        out.size = size;
    };
    get.OnError = [&](void*) { ++out.errors; };
    get.BinaryData = true;
    get.FileName = world.dir / "mail.txt";
    for (const std::string& port : {rightName, wrongName}) {
        get.URL = "https://localhost:" + port + "/mail.txt";
        get.GetFile();
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !get.Busy(); }, 30000));
    }
    EXPECT_EQ(out.done, 1);
    EXPECT_EQ(out.size, 13);
    EXPECT_EQ(out.errors, 1);
    EXPECT_EQ(world.dir.Read("mail.txt"), "Datei geladen");

    std::string body;
    EXPECT_TRUE(ProbeUrl(net, "https://localhost:" + rightName + "/mail.txt", body));
    EXPECT_EQ(body, "Datei geladen");
    EXPECT_FALSE(ProbeUrl(net, "https://localhost:" + wrongName + "/mail.txt", body));
}

TEST(WinSystemProxy, TheSystemReportsAConnection) {
    platform::win32::WinInternet net;
    EXPECT_TRUE(net.IsConnected());
}

}  // namespace
}  // namespace kv::test
