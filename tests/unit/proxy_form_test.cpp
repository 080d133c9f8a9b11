#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/test_world.h"
#include "run/config.h"
#include "network/tproxyform.h"
#include "report/tphpunit.h"
#include "wizard/tupinew.h"

namespace {

using kv::TProxyForm;

// The system's proxy as the connection settings of the machine name it.
class ProxiedInternet : public kv::test::OfflineInternet {
public:
    std::optional<kv::platform::ProxyOption> option;
    std::optional<kv::platform::ProxyOption> QueryProxyOption() override { return option; }
};

// The profile of the test world, refusing every write when asked to.
class RefusingProfile : public kv::platform::IniFileProfile {
public:
    bool refuse = false;
    void WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (refuse) throw kv::platform::IniWriteError("access denied: " + file);
        IniFileProfile::WriteString(file, section, key, value);
    }
};

const char* const VersionList = "[PName]\r\nname=QOnline\r\n[QOnline]\r\nverinfo=8.0.4\r\n";

class ProxyDialog : public ::testing::Test {
protected:
    ProxyDialog() {
        kv::Process() = kv::ProcessState{};
        kv::Process().VersionListPath = world.dir / "qoonline.lst";
        world.dir.Write("qoonline.lst", VersionList);
        wizard.ProgramName = "QOnline";
        wizard.Language = 1;
    }
    ~ProxyDialog() override { kv::Process() = kv::ProcessState{}; }

    kv::platform::Services Services() {
        kv::platform::Services s = world.Services();
        s.profile = &profile;
        s.internet = &internet;
        return s;
    }
    std::string Key(const std::string& key) { return world.profile.ReadString(kv::Process().VersionListPath, "QOnline", key, "(missing)"); }
    std::string File() { return world.dir.Read("qoonline.lst"); }
    // What the edit control does with each typed character.
    static void Type(kv::ui::Control& edit, const std::string& text) {
        for (const char c : text) {
            if (edit.onKeyPress && !edit.onKeyPress(c)) continue;
            if (c == '\b') {
                if (!edit.caption.empty()) edit.caption.pop_back();
            } else if (edit.maxLength == 0 || static_cast<int>(edit.caption.size()) < edit.maxLength) {
                edit.caption += c;
            }
        }
    }
    static void Toggle(kv::ui::Control& box) {
        box.checked = !box.checked;
        box.onClick();
    }
    void Fill(TProxyForm& d, const std::string& address, const std::string& port, bool use) {
        d.proxyname.caption = address;
        d.proxyport.caption = port;
        d.proxyuser.caption = "anna";
        d.proxypw.caption = "geheim";
        if (d.proxyuse.checked != use) Toggle(d.proxyuse);
    }
    // The dialog as the wizard's menu opens it.
    TProxyForm& Open() {
        dialog = std::make_unique<TProxyForm>(wizard, wizard.services(), [this] { wizard.SetupHTTPGet(); });
        return *dialog;
    }
    // Opens the dialog, types the values and presses "Übernehmen".
    TProxyForm& Apply(const std::string& address, const std::string& port, bool use) {
        TProxyForm& d = Open();
        Fill(d, address, port, use);
        dialog->StyleSpeedButton1.onClick();
        return *dialog;
    }

    kv::test::TestWorld world;
    ProxiedInternet internet;
    RefusingProfile profile;
    kv::TPHPunit report{Services()};
    kv::TUpInew wizard{Services(), &report};
    std::unique_ptr<TProxyForm> dialog;
};

TEST_F(ProxyDialog, FormDescription) {
    TProxyForm& d = Open();
    EXPECT_EQ(d.caption, "Verbindungseinstellungen");
    EXPECT_EQ(d.clientWidth, 372);
    EXPECT_EQ(d.clientHeight, 230);
    EXPECT_EQ(d.proxyuse.caption, " Proxy verwenden");
    EXPECT_EQ(d.Label1.caption, std::string("Proxy IP (z.B. ") + kv::config::ExampleProxyAddress + ")");
    EXPECT_EQ(d.Label2.caption, "Proxy Port (z.B. 3128)");
    EXPECT_EQ(d.Label3.caption, "Proxy Benutzername");
    EXPECT_EQ(d.Label4.caption, "Proxy Passwort");
    EXPECT_EQ(d.StyleSpeedButton1.caption, "Übernehmen");
    EXPECT_EQ(d.StyleSpeedButton2.caption, "Abbrechen");
    EXPECT_EQ(d.StyleSpeedButton3.caption, "Proxy neu suchen");
    EXPECT_EQ(d.proxyname.maxLength, 15);
    EXPECT_EQ(d.proxyport.maxLength, 4);
    EXPECT_TRUE(d.proxyuse.checked);
    const std::vector<kv::ui::Control*> tabOrder{&d.proxyuse, &d.proxyname, &d.proxyport, &d.proxyuser, &d.proxypw};
    for (std::size_t i = 0; i < tabOrder.size(); ++i)
        EXPECT_EQ(tabOrder[i]->tabOrder, static_cast<int>(i)) << tabOrder[i]->name;
    for (const kv::ui::Control* c : d.Controls()) {
        EXPECT_GE(c->left, 0) << c->name;
        EXPECT_LE(c->left + c->width, d.clientWidth) << c->name;
        EXPECT_LE(c->top + c->height, d.clientHeight) << c->name;
    }
}

TEST_F(ProxyDialog, OpensCheckedWithEnabledFieldsEvenWhenProxyUseIsOff) {
    kv::Process().ProxyName = "10.1.1.1";
    kv::Process().ProxyPortText = "8080";
    kv::Process().ProxyUser = "u";
    kv::Process().ProxyPassword = "p";
    TProxyForm& d = Open();
    EXPECT_TRUE(d.proxyuse.checked);
    for (const kv::ui::Control* edit : {&d.proxyname, &d.proxyport, &d.proxyuser, &d.proxypw})
        EXPECT_TRUE(edit->enabled) << edit->name;
    EXPECT_EQ(d.proxyname.caption, "10.1.1.1");
    EXPECT_EQ(d.proxyport.caption, "8080");
    EXPECT_EQ(d.proxyuser.caption, "u");
    EXPECT_EQ(d.proxypw.caption, "p");
}

TEST_F(ProxyDialog, EmptyAddressAndPortAreFilledFromTheSystemProxy) {
    internet.option = kv::platform::ProxyOption{kv::platform::OpenTypeProxy, "http=192.168.0.1:3128", ""};
    kv::Process().ProxyUser = "u";
    TProxyForm& d = Open();
    EXPECT_EQ(d.proxyname.caption, "192.168.0.1");
    EXPECT_EQ(d.proxyport.caption, "3128");
    EXPECT_EQ(d.proxyuser.caption, "u");

    kv::Process().ProxyPortText = "8080";  // one stored value keeps the system proxy out
    TProxyForm& stored = Open();
    EXPECT_EQ(stored.proxyname.caption, "");
    EXPECT_EQ(stored.proxyport.caption, "8080");
}

TEST_F(ProxyDialog, SearchAgainTakesTheSystemProxyAndEmptiesUserAndPassword) {
    TProxyForm& d = Open();
    Fill(d, "10.9.9.9", "81", false);
    internet.option = kv::platform::ProxyOption{kv::platform::OpenTypeProxy, "ftp=10.0.0.2:21 http=10.0.0.1:3128", ""};
    d.StyleSpeedButton3.onClick();
    EXPECT_EQ(d.proxyname.caption, "10.0.0.1");
    EXPECT_EQ(d.proxyport.caption, "3128");
    EXPECT_EQ(d.proxyuser.caption, "");
    EXPECT_EQ(d.proxypw.caption, "");
    EXPECT_FALSE(d.proxyuse.checked);
    EXPECT_FALSE(d.proxyname.enabled);

    internet.option.reset();  // no system proxy any more
    d.StyleSpeedButton3.onClick();
    EXPECT_EQ(d.proxyname.caption, "");
    EXPECT_EQ(d.proxyport.caption, "");
}

TEST_F(ProxyDialog, UncheckingDisablesTheFieldsAndCheckingEnablesThem) {
    TProxyForm& d = Open();
    Toggle(d.proxyuse);
    for (const kv::ui::Control* edit : {&d.proxyname, &d.proxyport, &d.proxyuser, &d.proxypw})
        EXPECT_FALSE(edit->enabled) << edit->name;
    Toggle(d.proxyuse);
    for (const kv::ui::Control* edit : {&d.proxyname, &d.proxyport, &d.proxyuser, &d.proxypw})
        EXPECT_TRUE(edit->enabled) << edit->name;
}

TEST_F(ProxyDialog, AddressAndPortFieldsTakeOnlyTheirCharacters) {
    TProxyForm& d = Open();
    Type(d.proxyname, "1a9.16x8.0.1 ,/");
    EXPECT_EQ(d.proxyname.caption, "19.168.0.1");
    Type(d.proxyname, "\b\b7");
    EXPECT_EQ(d.proxyname.caption, "19.168.07");
    Type(d.proxyport, "3.1a2-8");
    EXPECT_EQ(d.proxyport.caption, "3128");
    Type(d.proxyport, "9");
    EXPECT_EQ(d.proxyport.caption, "3128");  // four characters at most
    Type(d.proxyuser, "Ab.1 x");
    EXPECT_EQ(d.proxyuser.caption, "Ab.1 x");
}

TEST(ProxyAddress, ValidWhenExactlyThreeDotsPrecedeTheLastCharacter) {
    EXPECT_TRUE(TProxyForm::IsValidProxyIP("192.168.0.1"));
    EXPECT_TRUE(TProxyForm::IsValidProxyIP("1.2.3.4"));
    EXPECT_TRUE(TProxyForm::IsValidProxyIP("999.1..1"));  // ranges and empty parts are not checked
    EXPECT_TRUE(TProxyForm::IsValidProxyIP("1.2.3.."));   // the last dot is not counted
    EXPECT_FALSE(TProxyForm::IsValidProxyIP("1.2.3."));
    EXPECT_FALSE(TProxyForm::IsValidProxyIP("1.2.3"));
    EXPECT_FALSE(TProxyForm::IsValidProxyIP("1.2.3.4.5"));
    EXPECT_FALSE(TProxyForm::IsValidProxyIP(""));
    EXPECT_FALSE(TProxyForm::IsValidProxyIP("."));
}

TEST_F(ProxyDialog, ApplyCheckedStoresTheKeysSwitchesTheProxyOnAndCloses) {
    TProxyForm& d = Apply("192.168.0.1", "3128", true);
    EXPECT_EQ(Key("IP"), "192.168.0.1");
    EXPECT_EQ(Key("port"), "3128");
    EXPECT_EQ(Key("user"), "anna");
    EXPECT_EQ(Key("paw"), "geheim");
    EXPECT_EQ(Key("cpnd"), "192.168.0.1:3128");
    EXPECT_EQ(Key("useP"), "1");
    EXPECT_EQ(Key("verinfo"), "8.0.4");
    const kv::ProcessState& p = kv::Process();
    EXPECT_TRUE(p.UseProxy);
    EXPECT_EQ(p.ProxyName, "192.168.0.1");
    EXPECT_EQ(p.ProxyPortText, "3128");
    EXPECT_EQ(p.ProxyUser, "anna");
    EXPECT_EQ(p.ProxyPassword, "geheim");
    EXPECT_EQ(p.ProxyComplete, "192.168.0.1:3128");
    EXPECT_EQ(wizard.INGetFile.ConectLan, kv::ctProxy);
    EXPECT_EQ(wizard.INGetFile.ProxyPort, "192.168.0.1:3128");
    EXPECT_EQ(wizard.INGetFile.UserName, "anna");
    EXPECT_EQ(wizard.INGetFile.Password, "geheim");
    EXPECT_TRUE(d.closeRequested);
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(ProxyDialog, ApplyUncheckedEmptiesTheStoredKeysButKeepsTheTypedValuesForTheRun) {
    kv::Process().UseProxy = true;
    TProxyForm& d = Apply("192.168.0.1", "3128", false);
    for (const char* key : {"IP", "port", "user", "paw", "cpnd"}) EXPECT_EQ(Key(key), "") << key;
    EXPECT_EQ(Key("useP"), "0");
    EXPECT_NE(File().find("\r\nIP=\r\n"), std::string::npos);  // the keys stay, empty
    const kv::ProcessState& p = kv::Process();
    EXPECT_FALSE(p.UseProxy);
    EXPECT_EQ(p.ProxyName, "192.168.0.1");
    EXPECT_EQ(p.ProxyComplete, "192.168.0.1:3128");
    EXPECT_EQ(wizard.INGetFile.ConectLan, kv::ctNone);
    EXPECT_EQ(wizard.INGetFile.ProxyPort, "");
    EXPECT_EQ(wizard.INGetFile.Password, "");
    EXPECT_TRUE(d.closeRequested);
}

TEST_F(ProxyDialog, BlanksAroundAddressAndPortAreRemovedBeforeTheTest) {
    TProxyForm& d = Apply("  1.2.3.4 ", " 80 ", true);
    EXPECT_EQ(d.proxyname.caption, "1.2.3.4");
    EXPECT_EQ(Key("IP"), "1.2.3.4");
    EXPECT_EQ(Key("port"), "80");
    EXPECT_EQ(Key("cpnd"), "1.2.3.4:80");
    EXPECT_TRUE(d.closeRequested);
}

TEST_F(ProxyDialog, EmptyPortGivesAnAddressEndingInAColon) {
    Apply("1.2.3.4", "", true);
    EXPECT_EQ(Key("cpnd"), "1.2.3.4:");
    EXPECT_EQ(kv::Process().ProxyComplete, "1.2.3.4:");
}

struct InvalidCase {
    const char* address;
    bool checked;
};

class ProxyDialogInvalid : public ProxyDialog, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(ProxyDialogInvalid, ShowsMessage74AndStaysOpen) {
    kv::Process().UseProxy = true;
    TProxyForm& d = Apply(GetParam().address, "3128", GetParam().checked);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, "Ungültige Proxy IP");
    EXPECT_EQ(world.dialogs.shown[0].caption, "KVUpdate");
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbOk);
    EXPECT_EQ(world.dialogs.shown[0].owner, kv::platform::BoxOwner::OpenDialog);
    EXPECT_FALSE(d.closeRequested);
    EXPECT_TRUE(kv::Process().UseProxy);
    EXPECT_EQ(kv::Process().ProxyName, "");
    EXPECT_EQ(Key("IP"), "(missing)");
    EXPECT_EQ(Key("useP"), GetParam().checked ? "(missing)" : "0");
}

INSTANTIATE_TEST_SUITE_P(Addresses, ProxyDialogInvalid,
                         ::testing::Values(InvalidCase{"1.2.3.", true}, InvalidCase{"", true},
                                           InvalidCase{"", false}, InvalidCase{"1.2.3.", false},
                                           InvalidCase{" . . ", true}));

TEST_F(ProxyDialog, ARefusedWriteIsReportedAndTheDialogStaysOpenWithTheOldSettings) {
    kv::Process().UseProxy = false;
    kv::Process().ProxyName = "old";
    TProxyForm& d = Open();
    Fill(d, "1.2.3.4", "3128", true);
    profile.refuse = true;
    EXPECT_NO_THROW(d.StyleSpeedButton1.onClick());
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_NE(world.dialogs.shown[0].text.find("nicht gespeichert"), std::string::npos);
    EXPECT_NE(world.dialogs.shown[0].text.find("qoonline.lst"), std::string::npos);
    EXPECT_FALSE(d.closeRequested);
    EXPECT_FALSE(kv::Process().UseProxy);
    EXPECT_EQ(kv::Process().ProxyName, "old");
    EXPECT_EQ(wizard.INGetFile.ConectLan, kv::ctNone);
    EXPECT_EQ(File(), VersionList);

    profile.refuse = false;  // the cause removed, the same press succeeds
    d.StyleSpeedButton1.onClick();
    EXPECT_TRUE(d.closeRequested);
    EXPECT_EQ(Key("IP"), "1.2.3.4");
}

TEST_F(ProxyDialog, WithoutAProductSectionNothingIsWrittenAndTheRunTakesTheSettings) {
    kv::Process().VersionListPath = world.dir / "none.lst";
    wizard.ProgramName.clear();
    TProxyForm& d = Apply("1.2.3.4", "3128", true);
    EXPECT_FALSE(world.dir.Exists("none.lst"));
    EXPECT_TRUE(kv::Process().UseProxy);
    EXPECT_EQ(kv::Process().ProxyComplete, "1.2.3.4:3128");
    EXPECT_TRUE(d.closeRequested);
}

TEST_F(ProxyDialog, CancelWritesNothing) {
    TProxyForm& d = Open();
    Fill(d, "1.2.3.4", "3128", false);
    d.StyleSpeedButton2.onClick();
    EXPECT_TRUE(d.closeRequested);
    EXPECT_EQ(File(), VersionList);
    EXPECT_EQ(kv::Process().ProxyName, "");
    EXPECT_FALSE(kv::Process().UseProxy);
}

TEST_F(ProxyDialog, TheWizardMenuShowsAFilledDialogModally) {
    kv::Process().ProxyName = "10.0.0.9";
    world.ui.onModal = [&](kv::ui::Form& form) {
        auto& d = dynamic_cast<TProxyForm&>(form);
        EXPECT_EQ(d.proxyname.caption, "10.0.0.9");
        d.proxyport.caption = "81";
        d.StyleSpeedButton1.onClick();
        EXPECT_TRUE(d.closeRequested);
    };
    wizard.ProxyEinstellungen1Click();
    EXPECT_EQ(world.ui.modalShown, (std::vector<std::string>{"ProxyForm"}));
    EXPECT_EQ(Key("cpnd"), "10.0.0.9:81");
}

}  // namespace
