#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "fakes/test_world.h"
#include "loopback_server.h"
#include "network/connection.h"
#include "support/socket_internet.h"
#include "run/wizard_state.h"

namespace kv::test {
namespace {

constexpr const char* SettingsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class DetectConnectionTest : public ::testing::Test {
protected:
    int Detect() { return DetectConnection(registry, remote); }
    void DialUps(unsigned count, unsigned callResult = 0) { remote.result = {true, true, callResult, count}; }
    void Enable(platform::RegValue value, const std::string& server) {
        registry.Set(platform::Hive::CurrentUser, SettingsKey, "ProxyEnable", std::move(value));
        registry.SetString(platform::Hive::CurrentUser, SettingsKey, "ProxyServer", server);
    }
    FakeRegistry registry;
    FakeRemoteAccess remote;
};

TEST_F(DetectConnectionTest, BinaryEnableWithAServerIsAProxy) {
    registry.Import(Fixture("internet_settings/binary_enable.reg"));
    EXPECT_EQ(Detect(), ConnectionSystemProxy);
    DialUps(2);
    EXPECT_EQ(Detect(), ConnectionSystemProxy);  // the proxy wins over dial-up
}

TEST_F(DetectConnectionTest, EnabledWithoutServerIsDirectOrDialUp) {
    registry.Import(Fixture("internet_settings/enabled_without_server.reg"));
    EXPECT_EQ(Detect(), ConnectionDirect);
    DialUps(1);
    EXPECT_EQ(Detect(), ConnectionDialUp);
}

TEST_F(DetectConnectionTest, MissingOrMistypedValuesCountAsNoProxy) {
    for (const char* fixture : {"no_enable.reg", "enable_as_text.reg"}) {
        FakeRegistry fresh;
        fresh.Import(Fixture(std::string("internet_settings/") + fixture));
        EXPECT_EQ(DetectConnection(fresh, remote), ConnectionDirect) << fixture;
    }
    EXPECT_EQ(Detect(), ConnectionDirect);  // no key at all
    registry.SetDword(platform::Hive::CurrentUser, SettingsKey, "ProxyEnable", 1);
    registry.SetDword(platform::Hive::CurrentUser, SettingsKey, "ProxyServer", 7);
    EXPECT_EQ(Detect(), ConnectionDirect);
    DialUps(1);
    EXPECT_EQ(Detect(), ConnectionDialUp);
}

TEST_F(DetectConnectionTest, SwitchedOffProxyIsIgnored) {
    Enable({platform::RegType::Dword, std::string(4, '\0')}, "10.0.0.1:3128");
    EXPECT_EQ(Detect(), ConnectionDirect);
    Enable({platform::RegType::Binary, std::string("\0\0\0\0", 4)}, "10.0.0.1:3128");
    EXPECT_EQ(Detect(), ConnectionDirect);
}

TEST_F(DetectConnectionTest, ShortBinaryEnableIsReadAsANumberButALongOneIsNot) {
    Enable({platform::RegType::Binary, std::string("\x01", 1)}, "10.0.0.1:3128");
    EXPECT_EQ(Detect(), ConnectionSystemProxy);
    Enable({platform::RegType::Binary, std::string("\x01\0\0\0\0\0\0\0", 8)}, "10.0.0.1:3128");
    EXPECT_EQ(Detect(), ConnectionDirect);
}

TEST_F(DetectConnectionTest, DialUpCounting) {
    DialUps(5, 603);  // more connections than the buffer holds
    EXPECT_EQ(CountDialUpConnections(remote), 5);
    EXPECT_EQ(Detect(), ConnectionDialUp);
    DialUps(3, 632);
    EXPECT_EQ(CountDialUpConnections(remote), 0);
    remote.result = {false, false, 0, 4};
    EXPECT_EQ(Detect(), ConnectionDirect);
}

TEST_F(DetectConnectionTest, MissingEnumerationFunctionRaisesUnlessAProxyDecided) {
    remote.result = {true, false, 0, 0};
    try {
        Detect();
        FAIL() << "no ERasError";
    } catch (const ERasError& e) {
        EXPECT_STREQ(e.what(), "RasEnumConnectionsA not found in rasapi32.dll");
    }
    registry.Import(Fixture("internet_settings/binary_enable.reg"));
    EXPECT_EQ(Detect(), ConnectionSystemProxy);
}

SystemProxy Choose(const std::string& list, const std::string& protocol, const std::string& bypass = "") {
    return ChooseSystemProxy({platform::OpenTypeProxy, list, bypass}, protocol);
}

TEST(SystemProxyChoice, ProtocolEntryBeatsTheGeneralOne) {
    const SystemProxy http = Choose("http=10.0.0.1:3128 ftp=10.0.0.2:21", "HTTP");
    EXPECT_EQ(http.host, "10.0.0.1");
    EXPECT_EQ(http.port, "3128");
    EXPECT_EQ(Choose("http=10.0.0.1:3128 ftp=10.0.0.2:21", "ftp").port, "21");
    EXPECT_EQ(Choose("g:1 http=h:2", "").host, "h");
    EXPECT_EQ(Choose("https=s:443 http=h:80", "http").host, "h");
    EXPECT_EQ(Choose("https=s:443", "http").host, "");
}

TEST(SystemProxyChoice, TheLastGeneralEntryServesEveryProtocol) {
    for (const std::string protocol : {"", "http", "https", "ftp"}) {
        const SystemProxy p = Choose("10.0.0.5:3128", protocol);
        EXPECT_EQ(p.host, "10.0.0.5") << protocol;
        EXPECT_EQ(p.port, "3128") << protocol;
    }
    EXPECT_EQ(Choose("a:1 c:3 ftp=x:1", "http").host, "c");
}

TEST(SystemProxyChoice, HostWithoutPortFillsBothFields) {
    const SystemProxy p = Choose("proxyhost", "http");
    EXPECT_EQ(p.host, "proxyhost");
    EXPECT_EQ(p.port, "proxyhost");
    const SystemProxy noPort = Choose("proxyhost:", "http");
    EXPECT_EQ(noPort.host, "proxyhost");
    EXPECT_EQ(noPort.port, "");
}

TEST(SystemProxyChoice, SeparatorsOfEveryKindAndEmptyEntries) {
    EXPECT_EQ(Choose("http=a:1;ftp=b:2", "http").port, "1");
    EXPECT_EQ(Choose("ftp=b:2;http=a:1", "http").host, "a");
    EXPECT_EQ(Choose("10.0.0.5:3128 ", "http").host, "10.0.0.5");
    EXPECT_EQ(Choose(",,10.0.0.5:3128,,", "http").port, "3128");
    EXPECT_EQ(Choose("", "http").host, "");
    EXPECT_EQ(Choose("   ", "http").host, "");
    EXPECT_EQ(Choose("http= g:1", "http").host, "");  // the protocol's entry names nothing
}

TEST(SystemProxyChoice, BypassListAndAccessType) {
    EXPECT_EQ(Choose("p:1", "http", "<local> *.intern").bypass, "<local>,*.intern");
    const SystemProxy direct = ChooseSystemProxy({platform::OpenTypeDirect, "p:1", "<local>"}, "http");
    EXPECT_EQ(direct.host, "");
    EXPECT_EQ(direct.bypass, "");
    EXPECT_EQ(ChooseSystemProxy({platform::OpenTypePreconfig, "p:1", ""}, "http").host, "");
}

TEST(SystemProxyChoice, GetSystemProxyAsksTheHttpClient) {
    platform::SocketInternet net;
    EXPECT_EQ(GetSystemProxy(net, "http").host, "");
    net.proxyOption = platform::ProxyOption{platform::OpenTypeProxy, "http=10.1.1.1:8080", ""};
    EXPECT_EQ(GetSystemProxy(net, "").port, "8080");
}

class ProbeUrlTest : public ::testing::Test {
protected:
    ~ProbeUrlTest() override { Process() = ProcessState{}; }
    // The update server's port 80 is the test server's port.
    platform::SocketInternet& Net(int port) { return net.emplace(std::map<int, int>{{80, port}}); }
    static constexpr const char* Url = "http://127.0.0.1/mail.txt";
    std::optional<platform::SocketInternet> net;
    std::string body = "stale";
};

TEST_F(ProbeUrlTest, ReadsTheBodyUpToItsLimitWithTheReloadFlag) {
    const std::string big(3 * ProbeBodyLimit, 'x');
    LoopbackServer server([&](const std::string& r) {
        return RequestLine(r).find("/big") != std::string::npos ? Reply::Ok(big) : Reply::Ok("Datei geladen");
    });
    EXPECT_TRUE(ProbeUrl(Net(server.port()), Url, body));
    EXPECT_EQ(body, "Datei geladen");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(HasHeader(server.Requests()[0], "User-Agent: MyApp"));
    EXPECT_TRUE(HasHeader(server.Requests()[0], "Pragma: no-cache"));
    EXPECT_TRUE(ProbeUrl(*net, "http://127.0.0.1/big", body));
    EXPECT_EQ(body, big.substr(0, ProbeBodyLimit));
    EXPECT_EQ(net->OpenHandles(), 0);
}

TEST_F(ProbeUrlTest, AnErrorPageStillCountsAsOpened) {
    LoopbackServer server([](const std::string&) { return Reply::Status(404, "<h1>Not Found</h1>"); });
    EXPECT_TRUE(ProbeUrl(Net(server.port()), Url, body));
    EXPECT_EQ(body, "<h1>Not Found</h1>");
}

TEST_F(ProbeUrlTest, TextEndsAtAZeroByteOfEachRead) {
    LoopbackServer server([](const std::string&) { return Reply::Ok(std::string("abc\0def", 7)); });
    EXPECT_TRUE(ProbeUrl(Net(server.port()), Url, body));
    EXPECT_EQ(body, "abc");
}

TEST_F(ProbeUrlTest, AnUnreachableServerGivesFalseAndNoText) {
    EXPECT_FALSE(ProbeUrl(Net(UnusedPort()), Url, body));
    EXPECT_EQ(body, "");
    EXPECT_EQ(net->OpenHandles(), 0);
}

// The proxy asks for its user and password (407) and gets them; the update
// server behind it never does, also when it asks itself (401).
TEST_F(ProbeUrlTest, TheWizardsProxyIsUsedWithItsCredentialsWhenSwitchedOn) {
    const std::string expected = "Proxy-Authorization: Basic YW5uYTpnZWhlaW0=";  // anna:geheim
    LoopbackServer proxy([&](const std::string& r) {
        return HasHeader(r, expected) ? Reply::Ok("Datei geladen") : Reply::Status(407, "who?");
    });
    LoopbackServer server([](const std::string&) { return Reply::Status(401, "who?"); });
    Process().UseProxy = true;
    Process().ProxyUser = "anna";
    Process().ProxyPassword = "geheim";
    Process().ProxyComplete = "127.0.0.1:" + std::to_string(proxy.port());
    EXPECT_TRUE(ProbeUrl(Net(server.port()), Url, body));
    EXPECT_EQ(body, "Datei geladen");
    ASSERT_EQ(proxy.Requests().size(), 2u);
    EXPECT_EQ(RequestLine(proxy.Requests()[0]),
              "GET http://127.0.0.1:" + std::to_string(server.port()) + "/mail.txt HTTP/1.0");
    EXPECT_TRUE(HasHeader(proxy.Requests()[0], "User-Agent: Karvell"));

    Process().UseProxy = false;
    EXPECT_TRUE(ProbeUrl(*net, Url, body));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].find("Authorization"), std::string::npos);

    Process().UseProxy = true;
    Process().ProxyComplete = "127.0.0.1:" + std::to_string(UnusedPort());
    EXPECT_FALSE(ProbeUrl(*net, Url, body));
}

}  // namespace
}  // namespace kv::test
