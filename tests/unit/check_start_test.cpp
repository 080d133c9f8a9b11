#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "fakes/test_world.h"
#include "loopback_server.h"
#include "support/socket_internet.h"
#include "wizard/tupinew.h"

namespace kv::test {
namespace {

// The wizard window with an update server on loopback standing in for
// port 80 of the configured address.
class CheckStartTest : public ::testing::Test {
protected:
    CheckStartTest() {
        server.emplace([this](const std::string& request) {
            return RequestLine(request).find("/mail.txt") != std::string::npos ? Reply::Ok(probeAnswer)
                                                                                : Reply::Ok("[QORIND]\r\nversion=8.1\r\n");
        });
        net = std::make_unique<platform::SocketInternet>(std::map<int, int>{{80, server->port()}});
        world.internet = net.get();
        window = std::make_unique<TUpInew>(world.Services(), nullptr);
        window->ProductDataFolder = world.dir.path();
        window->ProgramTitle = "QuickOrder";
    }
    ~CheckStartTest() override {
        world.dispatcher.RunUntil([&] { return !window->INGetFile.Busy() && net->OpenHandles() == 0; });
    }
    // The click; a transfer it starts completes into the test's records
    // instead of the check's own completion.
    void Click() {
        window->DownLoadNewVersion1Click();
        window->INGetFile.OnDoneFile = [this](void*, const std::string&, std::int32_t size) { doneSizes.push_back(size); };
        window->INGetFile.OnError = [this](void*) { ++errors; };
    }
    void WaitForTransfer() {
        ASSERT_TRUE(world.dispatcher.RunUntil([&] { return !window->INGetFile.Busy() && net->OpenHandles() == 0; }));
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const std::string& r : server->Requests()) paths.push_back(RequestLine(r).substr(4, RequestLine(r).find(' ', 4) - 4));
        return paths;
    }
    void ExpectNoConnectionPage() {
        TUpInew& w = *window;
        EXPECT_TRUE(w.TryAgainBut.visible);
        EXPECT_EQ(w.TryAgainBut.caption, w.GL(46));
        EXPECT_EQ(w.PZu2.caption, w.GL(47));
        EXPECT_EQ(w.Label14.caption, w.GL(18));
        EXPECT_EQ(w.Label15.caption, w.GL(55));
        ASSERT_EQ(world.dialogs.shown.size(), 1u);
        const ShownBox& box = world.dialogs.shown[0];
        EXPECT_EQ(box.owner, platform::BoxOwner::Wizard);
        EXPECT_EQ(box.text, w.GL(25));
        EXPECT_EQ(box.caption, " Fehler");
        EXPECT_EQ(box.flags, platform::MbOk);
        EXPECT_FALSE(w.INGetFile.Busy());
        EXPECT_TRUE(w.DownLoadNewVersion1.enabled);
    }

    TestWorld world;
    std::string probeAnswer = "Datei geladen";
    std::optional<LoopbackServer> server;
    std::unique_ptr<platform::SocketInternet> net;
    std::unique_ptr<TUpInew> window;
    std::vector<std::int32_t> doneSizes;
    int errors = 0;
};

TEST_F(CheckStartTest, ConnectedSystemFetchesTheCatalogueWithoutProbe) {
    TUpInew& w = *window;
    w.Label13.left = 16;
    w.Panel2.width = 598;
    w.DownLoadNewVersion1.font.bold = true;
    w.Gauge1.position = 70;
    Click();

    EXPECT_FALSE(w.Panel4.visible);
    EXPECT_TRUE(w.Panel1.visible);
    EXPECT_EQ(w.Label13.caption, w.GL(45) + " QuickOrder");
    EXPECT_EQ(w.Label13.width, 598 - 32);
    EXPECT_EQ(w.Label13.height, 32);
    EXPECT_EQ(w.Label15.caption, w.GL(48));
    EXPECT_EQ(w.Label14.caption, w.GL(17));
    EXPECT_FALSE(w.DownLoadNewVersion1.enabled);
    EXPECT_FALSE(w.DownLoadNewVersion1.font.bold);
    EXPECT_EQ(w.DownLoadNewVersion1.font.color, ui::ColorBlack);
    EXPECT_EQ(w.Gauge1.position, 0);
    EXPECT_FALSE(w.INGetFile.BinaryData);
    EXPECT_EQ(w.INGetFile.URL, "http://127.0.0.1/update.ini");
    EXPECT_EQ(w.INGetFile.FileName, world.dir / "update.ini");
    EXPECT_TRUE(w.INGetFile.Busy());
    WaitForTransfer();

    EXPECT_EQ(Paths(), std::vector<std::string>{"/update.ini"});
    EXPECT_EQ(doneSizes, std::vector<std::int32_t>{23});
    EXPECT_EQ(world.dir.Read("update.ini"), "[QORIND]\r\nversion=8.1\r\n");
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(CheckStartTest, TheCatalogueTransferCompletesIntoTheEvaluation) {
    window->DownLoadNewVersion1Click();
    WaitForTransfer();
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1500});
    EXPECT_EQ(window->Label14.caption, window->GL(18) + " " + window->GL(19));
    EXPECT_TRUE(doneSizes.empty());
}

TEST_F(CheckStartTest, ConnectedSystemDoesNotProbeEvenWhenTheServerIsDown) {
    server.reset();
    Click();
    WaitForTransfer();
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(doneSizes, std::vector<std::int32_t>{0});  // the catalogue fetch reports the failure
}

TEST_F(CheckStartTest, NotConnectedButTheProbeAnswersStartsTheFetch) {
    net->connected = false;
    Click();
    WaitForTransfer();
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/mail.txt", "/update.ini"}));
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_FALSE(window->DownLoadNewVersion1.enabled);
    EXPECT_EQ(window->Label14.caption, window->GL(17));
    EXPECT_EQ(doneSizes.size(), 1u);
}

TEST_F(CheckStartTest, ProbeAnswerMustMatchExactly) {
    for (const std::string answer : {"Datei geladen\r\n", "datei geladen", " Datei geladen", "Datei geladen."}) {
        probeAnswer = answer;
        world.dialogs.shown.clear();
        window->TryAgainBut.visible = false;
        net->connected = false;
        Click();
        ExpectNoConnectionPage();
        EXPECT_FALSE(window->Panel4.visible);
        EXPECT_TRUE(window->Panel1.visible);
    }
    for (const std::string& path : Paths()) EXPECT_EQ(path, "/mail.txt");
}

TEST_F(CheckStartTest, UnreachableServerGivesTheNoConnectionPage) {
    server.reset();
    net->connected = false;
    Click();
    ExpectNoConnectionPage();
}

TEST_F(CheckStartTest, ASecondPressAfterAFailedTestStartsTheFetch) {
    net->connected = false;
    probeAnswer = "offline";
    Click();
    ExpectNoConnectionPage();

    probeAnswer = "Datei geladen";
    window->ProgramTitle = "";
    Click();
    EXPECT_EQ(window->Label13.caption, window->GL(45) + " ");
    EXPECT_FALSE(window->Panel4.visible);
    EXPECT_TRUE(window->INGetFile.Busy());
    WaitForTransfer();
    EXPECT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/mail.txt", "/mail.txt", "/update.ini"}));
    EXPECT_EQ(doneSizes.size(), 1u);
}

}  // namespace
}  // namespace kv::test
