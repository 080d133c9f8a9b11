#include <gtest/gtest.h>

#include "catalogue/catalogue_decision.h"
#include "platform/portable/ini_engine.h"

namespace kv {
void PrintTo(CatalogueOutcome outcome, std::ostream* os) {
    static const char* const names[] = {"end of updates", "outdated", "special update", "offer", "no update"};
    *os << names[static_cast<int>(outcome)];
}
}  // namespace kv

namespace {

using kv::CatalogueOutcome;
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
    s.QOId = "QO-4711-ABCDEFGH";
    s.QOAgent = "Amtsgericht Nord";
    return s;
}

CatalogueOutcome Decide(const std::string& section, WizardState& state) {
    const kv::platform::IniText ini("[other]\r\nverinfo=9.9.9\r\n[qoonlineb]\r\n" + section);
    return kv::DecideCatalogue(
        [&](const std::string& key, const std::string& def) { return ini.Read("QOonlineB", key, def); }, state);
}

const char* const Offered = "verinfo=8.1.10\r\nprog=QO Folio\r\n";

struct Case {
    const char* name;
    std::string section;
    void (*adjust)(WizardState&);
    CatalogueOutcome expected;
};

void Nothing(WizardState&) {}
void Version20(WizardState& s) { s.InstalledVersion = "2.0"; s.InstalledVersionNumber = 20; }
void NoVersion(WizardState& s) { s.InstalledVersion = ""; s.InstalledVersionNumber = -1; }
void EditionA(WizardState& s) { s.IsQOProgram = true; s.ParaChar = "a"; }
void EditionAn(WizardState& s) { s.IsQOProgram = true; s.ParaChar = "an"; }
void EditionAb(WizardState& s) { s.IsQOProgram = true; s.ParaChar = "ab"; }
void Court(WizardState& s) { s.IsQOProgram = true; s.LocalSpecAction = 3; }

TEST(CatalogueDecision, OutcomeOfEachRuleAndItsTies) {
    const std::vector<Case> cases = {
        {"digits only: 8.1.10 beats 8.1.9", Offered, Nothing, CatalogueOutcome::Offer},
        {"digits only: 1.10 beats 2.0", "verinfo=1.10\r\nprog=QO Folio\r\n", Version20, CatalogueOutcome::Offer},
        {"equal, SU F", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=F\r\n", Nothing, CatalogueOutcome::NoUpdate},
        {"equal, SU T", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=T\r\n", Nothing, CatalogueOutcome::Offer},
        {"SU TRUE keeps TR only", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=TRUE\r\n", Nothing, CatalogueOutcome::NoUpdate},
        {"title differs in case", "verinfo=8.1.10\r\nprog=QO folio\r\n", Nothing, CatalogueOutcome::NoUpdate},
        {"title differs, SU T", "verinfo=8.1.10\r\nprog=QO folio\r\nSU=T\r\n", Nothing, CatalogueOutcome::Offer},
        {"no prog", "verinfo=8.1.10\r\n", Nothing, CatalogueOutcome::NoUpdate},
        {"NoMoreUp reached, SINU T", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=T\r\n", Nothing,
         CatalogueOutcome::EndOfUpdates},
        {"NoMoreUp above, SINU T", std::string(Offered) + "NoMoreUp=8.2.0\r\nSINU=T\r\n", Nothing,
         CatalogueOutcome::EndOfUpdates},
        {"NoMoreUp reached, SINU F", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=F\r\n", Nothing,
         CatalogueOutcome::Offer},
        {"NoMoreUp reached, SINU TR", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=TR\r\n", Nothing,
         CatalogueOutcome::Offer},
        {"NoMoreUp below", std::string(Offered) + "NoMoreUp=8.1.8\r\nSINU=T\r\n", Nothing, CatalogueOutcome::Offer},
        {"edition a never ends", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=T\r\n", EditionA,
         CatalogueOutcome::Offer},
        {"edition an never ends", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=T\r\n", EditionAn,
         CatalogueOutcome::Offer},
        {"edition ab ends", std::string(Offered) + "NoMoreUp=8.1.9\r\nSINU=T\r\n", EditionAb,
         CatalogueOutcome::EndOfUpdates},
        {"OldSmalerNo reached", std::string(Offered) + "OldSmalerNo=8.1.9\r\n", Nothing, CatalogueOutcome::Outdated},
        {"OldSmalerNo reached, SU T", std::string(Offered) + "OldSmalerNo=8.1.9\r\nSU=T\r\n", Nothing,
         CatalogueOutcome::Offer},
        {"OldSmalerNo and NoMoreUp reached",
         std::string(Offered) + "OldSmalerNo=8.1.9\r\nNoMoreUp=8.1.9\r\nSINU=T\r\n", Nothing,
         CatalogueOutcome::EndOfUpdates},
        {"empty installed version, limits 0",
         std::string(Offered) + "OldSmalerNo=0\r\nNoMoreUp=\r\nSINU=T\r\n", NoVersion, CatalogueOutcome::Offer},
        {"empty installed version, OldSmalerNo 1", std::string(Offered) + "OldSmalerNo=1\r\n", NoVersion,
         CatalogueOutcome::Outdated},
        {"target with equal action number", std::string(Offered) + "ActS=3\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::Offer},
        {"target with newer action number", "verinfo=8.1.9\r\nActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::SpecialUpdate},
        {"special wins over a newer version", std::string(Offered) + "ActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::SpecialUpdate},
        {"end of updates wins over special",
         std::string(Offered) + "ActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\nNoMoreUp=9.0.0\r\nSINU=T\r\n", Court,
         CatalogueOutcome::EndOfUpdates},
        {"target differs in case", "verinfo=8.1.9\r\nActS=5\r\nPCode1=qo-4711-abcdefgh\r\n", Court,
         CatalogueOutcome::NoUpdate},
        {"list cut by empty key", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode2=\r\nPCode3=QO-4711-ABCDEFGH\r\n",
         Court, CatalogueOutcome::NoUpdate},
        {"list cut by X", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode2=X\r\nPCode3=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::NoUpdate},
        {"list cut by a gap", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode3=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::NoUpdate},
        {"ActS not a number", "verinfo=8.1.9\r\nActS=5a\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         CatalogueOutcome::NoUpdate},
        {"error page", "", Nothing, CatalogueOutcome::NoUpdate},
    };
    for (const Case& c : cases) {
        WizardState state = Installed();
        c.adjust(state);
        EXPECT_EQ(Decide(c.section, state), c.expected) << c.name;
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
    EXPECT_EQ(state.CloseReason, 0);
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
    EXPECT_EQ(state.CloseReason, 1);
}

TEST(CatalogueDecision, EndOfUpdatesSwitchesSinuOff) {
    WizardState state = Installed();
    ASSERT_EQ(Decide("NoMoreUp=9.0.0\r\nSINU=T\r\n", state), CatalogueOutcome::EndOfUpdates);
    EXPECT_FALSE(state.SinuFlag);
    EXPECT_EQ(state.CloseReason, 110);
    state = Installed();
    ASSERT_EQ(Decide("OldSmalerNo=9.0.0\r\n", state), CatalogueOutcome::Outdated);
    EXPECT_EQ(state.CloseReason, 100);
}

}  // namespace
