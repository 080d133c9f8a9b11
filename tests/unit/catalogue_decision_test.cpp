#include <gtest/gtest.h>

#include "catalogue/catalogue_decision.h"
#include "inventory/version_text.h"
#include "platform/portable/ini_engine.h"
#include "unit/catalogue_decision_rows.h"

namespace kv {
void PrintTo(CatalogueOutcome outcome, std::ostream* os) {
    static const char* const names[] = {"end of updates", "outdated", "special update", "offer", "no update"};
    *os << names[static_cast<int>(outcome)];
}
}  // namespace kv

namespace {

using kv::CatalogueOutcome;
using kv::CloseReasonKind;
using kv::WizardState;

// An installed court-register product, edition "b", version 8.1.9.
WizardState Installed() {
    WizardState s;
    s.ParaName = "qoonline";
    s.ParaChar = "b";
    s.InstalledVersion = "8.1.9";
    s.InstalledVersionNumber = 819;
    s.ProgramTitle = "QO Folio";
    s.AppName = "QO Folio Gericht";
    s.QOId = kv::test::DecisionQOId;
    s.QOAgent = "Amtsgericht Nord";
    return s;
}

// The section's name is read in other letter case than the catalogue writes it.
CatalogueOutcome Decide(const std::string& section, WizardState& state) {
    const std::string edition = state.ParaChar;
    const kv::platform::IniText ini(kv::test::DecisionCatalogue(section, edition));
    return kv::DecideCatalogue(
        [&](const std::string& key, const std::string& def) { return ini.Read("QOONLINE" + edition, key, def); },
        state);
}

void Court(WizardState& s) { s.IsQOProgram = true; s.LocalSpecAction = 3; }

TEST(CatalogueDecision, OutcomeOfEachRuleAndItsTies) {
    for (const kv::test::DecisionRow& row : kv::test::DecisionRows()) {
        WizardState state = Installed();
        state.ParaChar = row.installed.edition;
        state.InstalledVersion = row.installed.version;
        state.InstalledVersionNumber = kv::VersionNumber(row.installed.version);
        state.IsQOProgram = row.installed.court;
        state.LocalSpecAction = row.installed.localAction;
        EXPECT_EQ(Decide(row.section, state), row.expected) << row.name;
    }
}

TEST(CatalogueDecision, TargetListStopsAtOneHundred) {
    std::string section = "verinfo=8.1.9\r\nActS=5\r\n";
    for (int n = 1; n <= 100; ++n) section += "PCode" + std::to_string(n) + "=T" + std::to_string(n) + "\r\n";
    section += "PCode101=QO-4711-ABCDEFGH\r\n";
    WizardState state = Installed();
    Court(state);
    state.SpecialTargets = {"kept"};
    EXPECT_EQ(Decide(section, state), CatalogueOutcome::NoUpdate);
    ASSERT_EQ(state.SpecialTargets.size(), 101u);
    EXPECT_EQ(state.SpecialTargets.front(), "kept");
    EXPECT_EQ(state.SpecialTargets.back(), "T100");
}

TEST(CatalogueDecision, SerialCodeTargetsTheValuationProduct) {
    WizardState state = Installed();
    state.IsHU2Program = true;
    state.SerialCode = "7F3A";
    state.SerialNumberText = "HU2-7F3A-0001";
    state.LocalSpecAction = 1;
    state.QOId = "7F3A00001";
    EXPECT_EQ(Decide("verinfo=1\r\nActS=2\r\nPCode1=7F3A00001\r\nSCode1=1111\r\nSCode2=7F3A\r\n", state),
              CatalogueOutcome::SpecialUpdate);
    EXPECT_EQ(state.SpecialTargets, (std::vector<std::string>{"1111", "7F3A"}));
    EXPECT_EQ(state.CatalogueLines[1].str(), " Seriennummer: HU2-7F3A-0001");
    EXPECT_EQ(state.CatalogueLines[7].str(), " SN: HU2-7F3A-0001");
}

TEST(CatalogueDecision, SpecialUpdateNamesTheInstallationsInstaller) {
    WizardState state = Installed();
    Court(state);
    state.CatalogueLines[3] = "old";
    const std::string section = "verinfo=8.1.10\r\nprog=QO Folio\r\nsz=12 MB\r\ndat=2022-03-15\r\nszs=3 MB\r\n"
                                "dats=2022-04-01\r\nverinfos=Sonder 1\r\nActS=5\r\nufn=qoonlineb.exe\r\n"
                                "CD1=Neu\r\nPCode1=QO-4711-ABCDEFGH\r\n";
    ASSERT_EQ(Decide(section, state), CatalogueOutcome::SpecialUpdate);
    EXPECT_EQ(state.ParaChar.str(), "QO-4711-AB");
    EXPECT_EQ(state.UpdateFileName, "qoonlineQO-4711-AB.exe");
    EXPECT_TRUE(state.SpecialUpdate);
    EXPECT_TRUE(state.SpecialUpdateProcess);
    EXPECT_FALSE(state.NoNewUpdate);
    EXPECT_EQ(state.CloseReason, CloseReasonKind::NothingEvaluated);
    // The installation is also older than verinfo: size and date are the ordinary ones.
    EXPECT_EQ(state.UpdateSizeText, "12 MB");
    EXPECT_EQ(state.UpdateDate, "2022-03-15");
    EXPECT_EQ(state.CatalogueLines[0].str(), " Spezielles Update für QO Folio Gericht");
    EXPECT_EQ(state.CatalogueLines[1].str(), " Ort: Amtsgericht Nord");
    EXPECT_EQ(state.CatalogueLines[6].str(), " Special Update for QO Folio Gericht");
    EXPECT_EQ(state.CatalogueLines[7].str(), " Town: Amtsgericht Nord");
    EXPECT_TRUE(state.CatalogueLines[3].empty());
}

TEST(CatalogueDecision, SpecialSizeAndDateWhenNotNewer) {
    WizardState state = Installed();
    Court(state);
    ASSERT_EQ(Decide("verinfo=8.1.9\r\nsz=12 MB\r\ndat=2022-03-15\r\nszs=3 MB\r\ndats=2022-04-01\r\nActS=5\r\n"
                     "PCode1=QO-4711-ABCDEFGH\r\n", state),
              CatalogueOutcome::SpecialUpdate);
    EXPECT_EQ(state.UpdateSizeText, "3 MB");
    EXPECT_EQ(state.UpdateDate, "2022-04-01");
}

TEST(CatalogueDecision, KeyTableRulesAndDefaults) {
    WizardState state = Installed();
    state.RestartProgram = "C:\\Programme\\QO\\qo.exe";
    const std::string longLine(150, 'x');
    Decide("verinfo=8.1.10\r\nCD1=.Punkt\r\nCE1=.point\r\nCD2=" + longLine + "\r\nUPD2=\r\nSU=Tx\r\nDS1=Hinweis\r\n"
           "ES4=Note\r\n", state);
    EXPECT_EQ(state.CatalogueLines[0].str(), " Punkt");
    EXPECT_EQ(state.CatalogueLines[6].str(), ".point");
    EXPECT_EQ(state.CatalogueLines[1].str(), std::string(100, 'x'));
    EXPECT_EQ(state.CatalogueLines[12].str(), "NoInfo");
    EXPECT_TRUE(state.CatalogueLines[13].empty());
    EXPECT_EQ(state.CatalogueLines[23].str(), "NIL");
    EXPECT_EQ(state.CatalogueSU.str(), "Tx");
    EXPECT_EQ(state.SpecialVersionInfo, "ohne Versionsinformationen");
    EXPECT_EQ(state.OutdatedLimitText, "0");
    EXPECT_EQ(state.RestartProgram, "");  // a missing exc replaces the local value too
    EXPECT_EQ(state.NewsAfterDe[0], "Hinweis");
    EXPECT_EQ(state.NewsAfterEn[3], "Note");
    EXPECT_EQ(state.NewVersionNumber, 8110);
}

TEST(CatalogueDecision, MissingSectionGivesTheDefaults) {
    WizardState state = Installed();
    const kv::platform::IniText ini("<html><body>404 Not Found</body></html>");
    EXPECT_EQ(kv::DecideCatalogue(
                  [&](const std::string& key, const std::string& def) { return ini.Read("qoonlineb", key, def); },
                  state),
              CatalogueOutcome::NoUpdate);
    EXPECT_EQ(state.NewVersionNumber, -1);
    EXPECT_EQ(state.NoMoreUpLimit, 0);
    EXPECT_EQ(state.OutdatedLimit, 0);
    EXPECT_EQ(state.CatalogueSU.str(), "F");
    EXPECT_FALSE(state.SinuFlag);
    EXPECT_TRUE(state.NoNewUpdate);
    EXPECT_EQ(state.CloseReason, CloseReasonKind::Reported);
}

TEST(CatalogueDecision, EndOfUpdatesSwitchesSinuOff) {
    WizardState state = Installed();
    ASSERT_EQ(Decide("NoMoreUp=9.0.0\r\nSINU=T\r\n", state), CatalogueOutcome::EndOfUpdates);
    EXPECT_FALSE(state.SinuFlag);
    EXPECT_EQ(state.CloseReason, CloseReasonKind::EndOfUpdates);
    state = Installed();
    ASSERT_EQ(Decide("OldSmalerNo=9.0.0\r\n", state), CatalogueOutcome::Outdated);
    EXPECT_EQ(state.CloseReason, CloseReasonKind::Outdated);
}

}  // namespace
