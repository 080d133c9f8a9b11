#include <gtest/gtest.h>

#include "run/machine_language.h"
#include "fakes/wizard_fixture.h"

namespace {

using kv::CallParameters;
using kv::CloseReasonKind;
using kv::Process;
using kv::platform::BoxOwner;
using kv::platform::Hive;

constexpr const char* CurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* InternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet settings";

class Startup : public ::testing::Test, public kv::test::WizardFixture {
protected:
    kv::TUpInew& Started(const CallParameters& parameters) {
        EXPECT_TRUE(Start(parameters));
        return wizard();
    }
    kv::TUpInew& StartedWithEdition(const std::string& edition) {
        return Started({"QORIND", "QOFolio", edition, "QOOnline.lst"});
    }
    void SwitchOnSystemProxy() {
        world.registry.SetDword(Hive::CurrentUser, InternetSettings, "ProxyEnable", 1);
        world.registry.SetString(Hive::CurrentUser, InternetSettings, "ProxyServer", "10.0.0.1:8080");
    }
};

TEST_F(Startup, CleansTheCallParametersAndDerivesTheCatalogueSection) {
    const kv::TUpInew& w = StartedWithEdition("U");
    EXPECT_EQ(w.ParaName, "qorind");
    EXPECT_EQ(w.ParaFile, "qofolio");
    EXPECT_EQ(w.ParaChar, "u");
    EXPECT_TRUE(w.ParaCharValid);
    EXPECT_EQ(w.CatalogueSection, "qorindu");
    EXPECT_EQ(w.ParaINI, "QOOnline.lst");
    EXPECT_TRUE(w.IsQOProgram);
    EXPECT_FALSE(w.IsHU2Program);
    EXPECT_FALSE(w.IsPortable);
}

TEST_F(Startup, OnlyOneOrTwoLettersNameAnEdition) {
    for (const char* edition : {"u1", "1u", "abc", "", "\xE4", "-u"}) {
        kv::test::WizardFixture run;
        ASSERT_TRUE(run.Start({"QORIND", "QOFolio", edition, "QOOnline.lst"}));
        EXPECT_FALSE(run.wizard().ParaCharValid) << edition;
        EXPECT_EQ(run.wizard().CatalogueSection, "qorind") << edition;
    }
    const kv::TUpInew& w = StartedWithEdition("Pu");
    EXPECT_TRUE(w.ParaCharValid);
    EXPECT_EQ(w.CatalogueSection, "qorindpu");
}

TEST_F(Startup, KeepsTheFirstTenEditionLetters) {
    const kv::TUpInew& w = StartedWithEdition("ABCDEFGHIJKL");
    EXPECT_EQ(w.ParaChar, "abcdefghij");
    EXPECT_FALSE(w.ParaCharValid);
}

TEST_F(Startup, TheStrictRuleRemovesBlanksAndTheLightRuleKeepsThem) {
    const kv::TUpInew& w = Started({" qo rind\xA7 ", "Mein^Ordner$ ", " u ", " QO Online.lst "});
    EXPECT_EQ(w.ParaName, "qorind");
    EXPECT_EQ(w.ParaFile, "mein ordner");
    EXPECT_EQ(w.ParaChar, "u");
    EXPECT_EQ(w.ParaINI, "QOOnline.lst");
    EXPECT_TRUE(w.IsQOProgram);
}

TEST_F(Startup, ThreeParametersLeaveTheListFileEmpty) {
    const kv::TUpInew& w = Started({"hug", "HUG", "u"});
    EXPECT_EQ(w.ParaINI, "");
    EXPECT_FALSE(w.IsQOProgram);
    EXPECT_FALSE(w.IsHU2Program);
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(Startup, FamilyFlagsFollowTheListFileName) {
    for (const char* file : {"qobasic.lst", "QOPrime.LST"}) {
        kv::test::WizardFixture run;
        ASSERT_TRUE(run.Start({"qo", "qo", "u", file}));
        EXPECT_TRUE(run.wizard().IsQOProgram) << file;
    }
    kv::test::WizardFixture other;
    ASSERT_TRUE(other.Start({"qo", "qo", "u", "qoonline.lst.bak"}));
    EXPECT_FALSE(other.wizard().IsQOProgram);
}

TEST_F(Startup, TheValuationProductIsPortableUnlessItsEditionIsU) {
    const kv::TUpInew& installed = Started({"hu2", "hu2", "u", "HU2Online.lst"});
    EXPECT_TRUE(installed.IsHU2Program);
    EXPECT_FALSE(installed.IsPortable);

    kv::test::WizardFixture portable;
    ASSERT_TRUE(portable.Start({"hu2", "hu2", "p", "hu2online.lst"}));
    EXPECT_TRUE(portable.wizard().IsHU2Program);
    EXPECT_TRUE(portable.wizard().IsPortable);

    kv::test::WizardFixture other;
    ASSERT_TRUE(other.Start({"hu2", "hu2", "p", "qoonline.lst"}));
    EXPECT_FALSE(other.wizard().IsPortable);
}

TEST_F(Startup, TheLanguageFollowsTheUsersCountry) {
    const std::pair<std::optional<std::string>, int> cases[] = {
        {"49", 1}, {"43", 1}, {"352", 1}, {"41", 1}, {"1", 2}, {"44", 2}, {"0", 2},
        {std::nullopt, 1}, {"", 1}, {"abc", 1}, {"49x", 1}, {"99999999999", 1},
    };
    for (const auto& [country, language] : cases) {
        kv::test::WizardFixture run;
        run.world.system.country = country;
        ASSERT_TRUE(run.Start({"qorind", "qofolio", "u", "qoonline.lst"}));
        EXPECT_EQ(run.wizard().Language, language) << country.value_or("(unreadable)");
    }
}

TEST_F(Startup, FewerThanThreeParametersShowTheErrorBoxAndStop) {
    world.system.adapterStatus[0] = {0, {1, 2, 3, 4, 5, 6}};
    SwitchOnSystemProxy();
    EXPECT_FALSE(Start({"QORIND", "QOFolio"}));
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    const kv::test::ShownBox& box = world.dialogs.shown[0];
    EXPECT_EQ(box.owner, BoxOwner::Application);
    EXPECT_EQ(box.text,
              "Update kann nicht direkt ausgef\xFChrt werden, bitte starten Sie das Update im Hauptprogramm");
    EXPECT_EQ(box.caption, "Fehler beim Programmaufruf");
    EXPECT_EQ(box.flags, kv::platform::MbIconError);

    const kv::TUpInew& w = wizard();
    EXPECT_EQ(w.ParaName, "");
    EXPECT_EQ(w.Memo1.textMarginLeft, 0);
    EXPECT_FALSE(w.Timer3.enabled);
    EXPECT_EQ(w.AdapterAddressText, "");
}

TEST_F(Startup, TheErrorBoxSpeaksEnglishOnAnEnglishSystem) {
    world.system.country = "44";
    EXPECT_FALSE(Start({}));
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].caption, "Error calling update program");
}

TEST_F(Startup, RecordsTheMachineFacts) {
    world.system.dpi = 144;
    world.system.programFolder = "C:\\Programme\\Karvell\\Update\\";
    world.system.folders[35] = "C:\\ProgramData\\";
    world.system.adapterStatus[0] = {0, {0x00, 0x0C, 0x29, 0xAB, 0xCD, 0xEF}};
    world.registry.SetString(Hive::LocalMachine, CurrentVersion, "ProductName", "Windows 10 Pro");
    world.registry.SetString(Hive::LocalMachine, CurrentVersion, "CurrentBuild", "22631");
    world.registry.SetDword(Hive::LocalMachine, CurrentVersion, "CurrentMajorVersionNumber", 10);
    const kv::TUpInew& w = StartedWithEdition("u");
    EXPECT_EQ(w.ScreenDpi, 144);
    EXPECT_EQ(w.ExeFolder, "C:\\Programme\\Karvell\\Update");
    EXPECT_EQ(w.ProductDataFolder, "C:\\ProgramData\\Karvell\\QOFolio");  // the court-register row
    EXPECT_EQ(Process().CommonAppDataFolder, "C:\\ProgramData");
    EXPECT_EQ(w.AdapterAddressText, "00-0C-29-AB-CD-EF");
    EXPECT_EQ(w.OsVersionText, "Windows 11 Pro");
}

TEST_F(Startup, StartsFromTheInitialRunStateAndClearsTheProxy) {
    Process().UseProxy = true;
    Process().ProxyName = "old";
    Process().ProxyComplete = "old:80";
    wizard().CloseReason = CloseReasonKind::EndOfUpdates;
    wizard().SpecialTargets = {"left over"};
    const kv::TUpInew& w = StartedWithEdition("u");
    EXPECT_FALSE(Process().UseProxy);
    EXPECT_EQ(Process().ProxyName, "");
    EXPECT_EQ(Process().ProxyComplete, "");
    EXPECT_EQ(w.CloseReason, CloseReasonKind::NothingEvaluated);
    EXPECT_TRUE(w.SpecialTargets.empty());
    EXPECT_EQ(w.QOAgent, "nicht belegt");
    EXPECT_EQ(w.SerialNumberText, "");  // the first inventory pass clears it
    EXPECT_FALSE(w.Timer3.enabled);
}

TEST_F(Startup, ASystemProxyOffersTheProxyDialogLater) {
    SwitchOnSystemProxy();
    EXPECT_TRUE(StartedWithEdition("u").Timer3.enabled);
}

// Both the local state and the proxy offer ask for the connection kind: one box.
TEST_F(Startup, ABrokenDialUpLibraryIsReportedOnceAndTheStartGoesOn) {
    world.remoteAccess.result = {true, false, 0, 0};
    world.system.adapterStatus[0] = {0, {1, 2, 3, 4, 5, 6}};
    world.dir.Write("QOOnline.lst", "[PName]\r\nname=QO\r\n[QO]\r\nuseP=1\r\n");
    const kv::TUpInew& w = StartedWithEdition("u");
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbIconError);
    EXPECT_FALSE(world.dialogs.shown[0].text.empty());
    EXPECT_FALSE(w.Timer3.enabled);
    EXPECT_EQ(w.AdapterAddressText, "01-02-03-04-05-06");
}

TEST_F(Startup, TheTitleNamesTheToolAndItsVersion) {
    kv::TUpInew& w = wizard();
    w.FormShow();
    EXPECT_EQ(w.caption, "Karvell Netrefresh Tool V 8.1.10");
}

TEST_F(Startup, TheSystemLanguageNameIsCutToFiftyCharacters) {
    world.system.languageName = std::string(60, 'x');
    EXPECT_EQ(kv::SystemLanguageName(world.system), std::string(50, 'x'));
    world.system.languageName = "English (United States)";
    EXPECT_EQ(kv::SystemLanguageName(world.system), "English (United States)");
}

}  // namespace
