#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fakes/wizard_fixture.h"
#include "platform/portable/host_path.h"

namespace {

using kv::Process;
using kv::ProductReferenceKind;
using kv::platform::Hive;

constexpr const char* InternetSettings = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet settings";

class LocalState : public ::testing::Test, public kv::test::WizardFixture {
protected:
    void SetUp() override {
        Process() = {};
        Process().CommonAppDataFolder = world.dir / "common";
        w().ExeFolder = world.dir / "exe";
        w().ProductDataFolder = world.dir / "data";
        w().ParaINI = "qoonline.lst";
        w().Language = 1;
        world.dir.MakeFolder("exe");
        world.dir.MakeFolder("data");
        Process().VersionListPath = w().ProductDataFolder + "\\qoonline.lst";
        w().Panel6.width = 400;
        w().Label1.left = 10;
        w().Label8.left = 10;
        w().Label9.left = 20;
    }
    kv::TUpInew& w() { return wizard(); }
    void WriteList(const std::string& section) {
        world.dir.Write("data\\qoonline.lst", "[PName]\r\nname=QO\r\n[QO]\r\n" + section);
    }
    std::string List() { return world.dir.Read("data\\qoonline.lst"); }
    void SystemProxy() {
        world.registry.SetDword(Hive::CurrentUser, InternetSettings, "ProxyEnable", 1);
        world.registry.SetString(Hive::CurrentUser, InternetSettings, "ProxyServer", "10.0.0.1:8080");
    }
    void DialUp() { world.remoteAccess.result = {true, true, 0, 1}; }
};

TEST_F(LocalState, ReadsTheProductSectionAndFillsTheWelcomePage) {
    WriteList("verinfo=4.2.1\r\nprog=QO Folio\r\ndat=2024-12-24\r\nActS=7\r\nexc=qo.exe\r\n");
    world.dir.Write("data\\update.ini", "[stale]\r\n");
    w().ReadLocalState();
    EXPECT_FALSE(world.dir.Exists("data\\update.ini"));
    EXPECT_EQ(w().InstalledVersion, "4.2.1");
    EXPECT_EQ(w().InstalledVersionNumber, 421);
    EXPECT_EQ(w().Label5.caption, "4.2.1");
    EXPECT_EQ(w().ProgramTitle, "QO Folio");
    EXPECT_EQ(w().LocalSpecAction, 7);
    EXPECT_EQ(w().RestartProgram, "qo.exe");
    EXPECT_EQ(w().Label7.caption, "24.12.2024");
    EXPECT_EQ(w().Label1.caption, w().GL(3) + " QO Folio " + w().GL(42));
    EXPECT_EQ(w().Label1.width, 380);
    EXPECT_EQ(w().Label9.width, 360);
    EXPECT_EQ(w().Label15.caption, w().GL(48));
    EXPECT_TRUE(world.clock.pauses.empty());  // the list file was already in place
}

TEST_F(LocalState, VersionZeroAndEmptyDateFallBackToTheInventory) {
    WriteList("verinfo=0\r\nActS=abc\r\n");
    w().RecordedVersion = "5.0";
    w().LastInstallDate = "2023-07-01";
    w().ReadLocalState();
    EXPECT_EQ(w().InstalledVersion, "5.0");
    EXPECT_EQ(w().InstalledVersionNumber, 50);
    EXPECT_EQ(w().Label7.caption, "01.07.2023");
    EXPECT_EQ(w().LocalSpecAction, 0);
}

TEST_F(LocalState, MissingListFileShowsTheMissingReferencePage) {
    w().ProductReference = ProductReferenceKind::OwnFolder;
    w().ReadLocalState();
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::NoReference);
    EXPECT_FALSE(w().DownLoadNewVersion1.enabled);
    EXPECT_EQ(w().Label8.caption, w().GL(50));
    EXPECT_EQ(w().Label9.caption, w().GL(52));
    EXPECT_EQ(w().Label1.caption, w().GL(42));
    EXPECT_EQ(w().Label1.height, 80);
    EXPECT_EQ(w().Label8.height, 40);
    EXPECT_TRUE(world.clock.pauses.empty());
}

TEST_F(LocalState, CommonDataProductGetsTheListFileFromTheProgramFolderAfterAPause) {
    w().ProductReference = ProductReferenceKind::CommonDataFolder;
    world.dir.Write("exe\\qoonline.lst", "[PName]\r\nname=QO\r\n[QO]\r\nprog=Copied\r\n");
    w().ReadLocalState();
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1000});
    EXPECT_EQ(w().ProgramTitle, "Copied");
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::CommonDataFolder);
}

TEST_F(LocalState, ThePauseHappensAlsoWhenNothingCouldBeCopied) {
    w().ProductReference = ProductReferenceKind::CommonDataFolder;
    w().ReadLocalState();
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1000});
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::NoReference);
}

struct ProxyCase {
    int useP;
    int kind;  // 1 direct, 2 system proxy, 3 dial-up
    bool proxyOn;
};

TEST_F(LocalState, StoredProxyIsSwitchedOffOnlyForUsePOneWithoutSystemProxy) {
    const ProxyCase cases[] = {{1, 1, false}, {1, 2, true}, {1, 3, false}, {2, 1, true}, {2, 3, true}, {0, 2, false}};
    for (const ProxyCase& c : cases) {
        SCOPED_TRACE("useP " + std::to_string(c.useP) + " kind " + std::to_string(c.kind));
        world.registry = {};
        world.remoteAccess.result = {true, true, 0, 0};
        if (c.kind == 2) SystemProxy();
        if (c.kind == 3) DialUp();
        const std::string proxyKeys = "IP=10.1.1.1\r\nport=3128\r\nuser=u\r\npaw=p w\r\ncpnd=10.1.1.1:3128\r\n";
        WriteList("useP=" + std::to_string(c.useP) + "\r\n" + proxyKeys);
        Process().ProxyComplete.clear();
        w().ReadLocalState();
        EXPECT_EQ(Process().UseProxy, c.proxyOn);
        const bool corrected = c.useP == 1 && !c.proxyOn;
        EXPECT_EQ(List().find("useP=0") != std::string::npos, corrected || c.useP == 0);
        EXPECT_EQ(w().INGetFile.ConectLan, c.proxyOn ? kv::ctProxy : kv::ctNone);
        EXPECT_EQ(w().INGetFile.ProxyPort, c.proxyOn ? "10.1.1.1:3128" : "");
        if (c.proxyOn) {
            EXPECT_EQ(Process().ProxyName, "10.1.1.1");
            EXPECT_EQ(Process().ProxyPortText, "3128");
            EXPECT_EQ(w().INGetFile.UserName, "u");
            EXPECT_EQ(w().INGetFile.Password, "p w");
        }
    }
}

TEST_F(LocalState, RefusedCorrectionIsShownAndTheWelcomePageStillFills) {
    WriteList("useP=1\r\nprog=QO\r\n");
    const std::string before = List();
    namespace fs = std::filesystem;
    fs::permissions(kv::platform::HostPath(Process().VersionListPath), fs::perms::owner_read);
    w().ReadLocalState();
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbIconError);
    EXPECT_EQ(world.dialogs.shown[0].owner, kv::platform::BoxOwner::Wizard);
    EXPECT_EQ(world.dialogs.shown[0].text, w().GL(94) + "\r" + Process().VersionListPath);
    EXPECT_EQ(List(), before);
    EXPECT_FALSE(Process().UseProxy);
    EXPECT_EQ(w().INGetFile.ConectLan, kv::ctNone);
    EXPECT_EQ(w().Label1.caption, w().GL(3) + " QO " + w().GL(42));
    EXPECT_EQ(w().Label8.caption, w().GL(1));
    EXPECT_EQ(w().Label9.caption, w().GL(43));
    EXPECT_EQ(w().DownLoadNewVersion1.caption, w().GL(44));
    EXPECT_EQ(w().Label15.caption, w().GL(48));
}

TEST_F(LocalState, MissingDialUpFunctionIsShownAndKeepsTheStoredProxy) {
    world.remoteAccess.result = {true, false, 0, 0};
    WriteList("useP=1\r\nIP=10.1.1.1\r\nport=3128\r\ncpnd=10.1.1.1:3128\r\n");
    const std::string before = List();
    w().ReadLocalState();
    w().ReadLocalState();  // as after a failed catalogue transfer: no second box
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, "RasEnumConnectionsA not found in rasapi32.dll");
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
    EXPECT_EQ(world.dialogs.shown[0].owner, kv::platform::BoxOwner::Application);
    EXPECT_TRUE(Process().UseProxy);
    EXPECT_EQ(w().INGetFile.ProxyPort, "10.1.1.1:3128");
    EXPECT_EQ(List(), before);
}

TEST_F(LocalState, CourtRegisterSettingsWithDefaults) {
    WriteList("prog=QO\r\n");
    w().IsQOProgram = true;
    world.dir.Write("common\\Karvell\\QOFolio\\hgut.ini", "[QOData]\r\nAgent=Amtsgericht Musterstadt\r\n");
    w().ReadLocalState();
    EXPECT_EQ(w().QOAgent, "Amtsgericht Musterstadt");
    EXPECT_EQ(w().QOEMail, "kein Eintrag");
    EXPECT_EQ(w().QOPhone, "kein Eintrag");
    EXPECT_EQ(w().SerialNumberText, "kein Eintrag");
}

TEST_F(LocalState, SetupHttpGetClearsTheComponentWhenProxyIsOff) {
    w().INGetFile.UserName = "old";
    w().INGetFile.Password = "old";
    Process().UseProxy = false;
    w().SetupHTTPGet();
    EXPECT_EQ(w().INGetFile.ConectLan, kv::ctNone);
    EXPECT_EQ(w().INGetFile.UserName, "");
    EXPECT_EQ(w().INGetFile.Password, "");
}

}  // namespace
