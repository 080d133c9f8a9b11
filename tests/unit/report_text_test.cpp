#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "fakes/test_world.h"
#include "run/config.h"
#include "report/report_address.h"
#include "report/report_text.h"
#include "report/tphpunit.h"
#include "wizard/tupinew.h"

namespace {

using kv::ProcessState;
using kv::ReportReason;
using kv::ReportSurroundings;
using kv::WizardState;

std::vector<std::string> ExpectedReport(const std::string& name) {
    std::istringstream text(kv::test::Fixture("reports/" + name + ".txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// A product of neither line as the inventory and the evaluation leave it.
WizardState RegistryProduct() {
    WizardState s;
    s.AppName = "Quillon Kanzlei";
    s.InstallPath = "C:\\Program Files (x86)\\Karvell\\Quillon";
    s.AppPC = "BUERO-PC";
    s.OsVersionText = "Windows 10";
    s.Company = "Müller & Söhne <GmbH>";
    s.CurrentUser = "anna";
    s.InstallUser = "admin";
    s.ScreenDpi = 96;
    s.FirstInstallDate = "2019-03-01";
    s.NetStandVersion = "Stand";
    s.InstalledVersion = "8.0.4";
    s.LastInstallDate = "2024-11-02";
    s.UpdateInitText = "30 Tage Erinnerung";
    s.ParaName = "quillon";
    s.ParaFile = "quillon";
    s.ParaChar = "st";
    s.ParaINI = "quillon.lst";
    s.AdapterAddressText = "00-1A-2B-3C-4D-5E";
    s.UpdateDate = "2025-01-15";
    s.NewVersion = "8.0.5";
    s.UpdateFileName = "quillonst.exe";
    s.CatalogueSU = "F";
    return s;
}

WizardState CourtProduct() {
    WizardState s = RegistryProduct();
    s.IsQOProgram = true;
    s.QOId = "QO-4711";
    s.CatalogueSpecAction = 3;
    s.SerialNumberText = "QO-12345";
    return s;
}

WizardState PortableValuation() {
    WizardState s = RegistryProduct();
    s.IsHU2Program = true;
    s.IsPortable = true;
    s.SerialNumberText = "HU2-9988-77";
    s.SpecialUpdateProcess = true;
    s.SpecialVersionInfo = "2.4.1 SP";
    return s;
}

ProcessState ProxyOn(const std::string& user, const std::string& password) {
    ProcessState p;
    p.UseProxy = true;
    p.ProxyName = "10.0.0.1";
    p.ProxyPortText = "3128";
    p.ProxyUser = user;
    p.ProxyPassword = password;
    p.ProxyComplete = "10.0.0.1:3128";
    return p;
}

ReportSurroundings At(kv::platform::LocalDateTime now) {
    ReportSurroundings env;
    env.now = now;
    env.countryCode = 49;
    env.systemLanguageName = "Deutsch (Deutschland)";
    return env;
}

TEST(ReportLines, ProductOfNeitherLineHasTheRegistryFormNoCourtBlockAndProxyOff) {
    EXPECT_EQ(kv::ReportLines(ReportReason::ClosedBeforeDownload, RegistryProduct(), ProcessState{},
                              At({2025, 1, 2, 9, 5, 7})),
              ExpectedReport("neither_code5"));
}

// What the update server sent is cut: even the worst a catalogue can hold
// (markup, escaped and then percent-encoded to ten bytes a character) leaves
// the report's request line within the 8190 bytes nginx and Apache accept.
TEST(ReportLines, ServerValuesAreCutSoTheAddressFitsARequestLine) {
    WizardState s = CourtProduct();
    s.SpecialUpdateProcess = true;
    const std::string huge(100000, '"');
    s.UpdateDate = s.NewVersion = s.UpdateFileName = s.SpecialVersionInfo = huge;
    s.InstallerRefusal = "Signature: " + huge;
    const auto lines =
        kv::ReportLines(ReportReason::SignatureNotValid, s, ProxyOn("anna", "geheim"), At({2025, 1, 2, 9, 5, 7}));
    const std::string cut = huge.substr(0, kv::ServerValueLimit);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "New Version: " + cut), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), s.InstallerRefusal.substr(0, kv::ServerValueLimit)), lines.end());
    const std::string address = kv::BuildReportAddress({kv::config::ReportServerBase, kv::BuildReportPage(lines),
                                                        kv::config::ReportRecipient1, lines[0],
                                                        kv::config::ReportRecipient2});
    const std::string requestLine = "GET " + address.substr(address.find("/cgi-bin/")) + " HTTP/1.1";
    EXPECT_LE(requestLine.size(), 8190u);
}

TEST(ReportLines, CourtProductWithJournalSetting2AndUnknownCodeAndMaskedPassword) {
    ReportSurroundings env = At({2025, 3, 1, 0, 0, 0});
    env.courtNamePart1 = "Frankfurt";
    env.courtNamePart2 = "am Main";
    env.journalSetting = 2;
    EXPECT_EQ(kv::ReportLines(static_cast<ReportReason>(9), CourtProduct(), ProxyOn("proxyuser", "geheim"), env),
              ExpectedReport("court_code9_mtbn2"));
}

TEST(ReportLines, PortableValuationWithSpecialUpdateAndNoPassword) {
    EXPECT_EQ(kv::ReportLines(ReportReason::InstallerStarted, PortableValuation(), ProxyOn("", ""),
                              At({2025, 12, 31, 23, 59, 59})),
              ExpectedReport("hu2_portable_special_code2"));
}

TEST(ReportLines, InstalledValuationEditionUsesTheRegistryFormAndItsSerialLine) {
    WizardState s = PortableValuation();
    s.IsPortable = false;
    s.SpecialUpdateProcess = false;
    const auto lines = kv::ReportLines(ReportReason::NoUpdate, s, ProcessState{}, At({2025, 1, 2, 9, 5, 7}));
    ASSERT_GT(lines.size(), 26u);
    EXPECT_EQ(lines[2], "Version des Updaters: Tool V 8.1.10");
    EXPECT_EQ(lines[3], "Date/Time of Updateprocess: 02.01.2025 09:05:07");
    EXPECT_EQ(lines[5], "Parameters from registry = status before update");
    EXPECT_EQ(lines[20], std::string(47, '='));
    EXPECT_EQ(lines[21], "HU Seriennummer: HU2-9988-77");
    EXPECT_EQ(lines[22], std::string(47, '='));
    EXPECT_EQ(lines[23], "Call parameters");
}

TEST(ReportLines, CourtRegisterProductTakesPrecedenceOverTheValuationSerialLine) {
    WizardState s = CourtProduct();
    s.IsHU2Program = true;
    const auto lines = kv::ReportLines(ReportReason::NoUpdate, s, ProcessState{}, At({2025, 1, 2, 9, 5, 7}));
    for (const auto& line : lines) EXPECT_NE(line.rfind("HU Seriennummer", 0), 0u) << line;
}

struct ReasonCase {
    ReportReason reason;
    const char* line;  // nullptr: no reason line
};

class ReasonLineTest : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(ReasonLineTest, SecondLineNamesTheReasonOrIsTheVersionLine) {
    const auto lines = kv::ReportLines(GetParam().reason, RegistryProduct(), ProcessState{}, At({2025, 1, 2, 9, 5, 7}));
    const std::string expected = GetParam().line ? GetParam().line : "Version des Updaters: Tool V 8.1.10";
    EXPECT_EQ(lines.at(1), expected);
    EXPECT_EQ(lines.size(), ExpectedReport("neither_code5").size() - (GetParam().line ? 0 : 1));
}

INSTANTIATE_TEST_SUITE_P(
    AllCodes, ReasonLineTest,
    ::testing::Values(ReasonCase{ReportReason::NoUpdate, "Done after version check NO DOWNLOAD"},
                      ReasonCase{ReportReason::InstallerStarted, "Done after DOWNLOAD and START of update file"},
                      ReasonCase{ReportReason::DownloadAborted, "Mailed after running download aborded"},
                      ReasonCase{ReportReason::ClosedBeforeDownload, "Mailed after cancel no download was started"},
                      ReasonCase{ReportReason::OutdatedProgram, "Mailed after outdated program was detected"},
                      ReasonCase{ReportReason::NoFurtherUpdate, "Mailed after no further update possible"},
                      ReasonCase{ReportReason::ClosedByCloseBox, "Update wurde über Kreuz beendet nicht Button"},
                      ReasonCase{ReportReason::DownloadedNotStarted, "Done after DOWNLOAD of update file"},
                      ReasonCase{static_cast<ReportReason>(0), nullptr},
                      ReasonCase{static_cast<ReportReason>(3), nullptr},
                      ReasonCase{static_cast<ReportReason>(9), nullptr},
                      ReasonCase{static_cast<ReportReason>(100), nullptr},
                      ReasonCase{static_cast<ReportReason>(-1), nullptr}));

TEST(ReportTimestamp, PadsDayMonthAndTimeAndDropsTheTimeOnlyAtMidnight) {
    EXPECT_EQ(kv::ReportTimestamp({2025, 1, 2, 3, 4, 5}), "02.01.2025 03:04:05");
    EXPECT_EQ(kv::ReportTimestamp({2025, 1, 2, 0, 0, 0}), "02.01.2025");
    EXPECT_EQ(kv::ReportTimestamp({2025, 1, 2, 0, 0, 1}), "02.01.2025 00:00:01");
    EXPECT_EQ(kv::ReportTimestamp({2025, 1, 2, 12, 0, 0}), "02.01.2025 12:00:00");
    EXPECT_EQ(kv::ReportTimestamp({999, 11, 30, 23, 59, 59}), "30.11.0999 23:59:59");
}

TEST(ReportSubject, CourtRegisterProductsAppendTheirCourtDesignation) {
    WizardState s = RegistryProduct();
    EXPECT_EQ(kv::ReportSubject(s), "NetRefresh: Quillon Kanzlei");
    s.IsQOProgram = true;
    EXPECT_EQ(kv::ReportSubject(s), "NetRefresh: Quillon Kanzlei - nicht belegt");
    s.QOAgent = "Ortsgericht Hanau";
    EXPECT_EQ(kv::ReportSubject(s), "NetRefresh: Quillon Kanzlei - Ortsgericht Hanau");
}

// The wizard's own path: the guard, the court settings file, the clock and
// the hand-over to the report window.
class ComposeReportTest : public ::testing::Test {
protected:
    ComposeReportTest() {
        kv::Process() = ProcessState{};
        kv::Process().CommonAppDataFolder = world.dir.path();
    }
    ~ComposeReportTest() override {
        report.WaitForDelivery(5000);
        kv::Process() = ProcessState{};
    }

    void WriteCourtSettings(const std::string& text) { world.dir.Write("Karvell\\QOFolio\\hgut.ini", text); }
    std::vector<std::string> Compose(ReportReason reason, const WizardState& state) {
        static_cast<WizardState&>(wizard) = state;
        wizard.ComposeReport(reason);
        return report.ListBox1;
    }
    static std::string LineStarting(const std::vector<std::string>& lines, const std::string& start) {
        for (const auto& line : lines)
            if (line.rfind(start, 0) == 0) return line;
        return "(none)";
    }

    kv::test::TestWorld world;
    kv::TPHPunit report{world.Services()};
    kv::TUpInew wizard{world.Services(), &report};
};

TEST_F(ComposeReportTest, FirstCallOfTheRunWinsAndLaterCallsDoNothing) {
    auto lines = Compose(ReportReason::InstallerStarted, PortableValuation());
    EXPECT_TRUE(wizard.ReportSent);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Done after DOWNLOAD and START of update file");
    wizard.AppName = "Changed";
    wizard.ComposeReport(ReportReason::ClosedByCloseBox);
    EXPECT_EQ(report.ListBox1, lines);
    EXPECT_TRUE(wizard.ReportSent);
}

TEST_F(ComposeReportTest, TakesTimeAndLanguageFactsFromTheMachine) {
    world.clock.now = {2025, 1, 2, 9, 5, 7};
    world.system.country = "49";
    world.system.languageName = "Deutsch (Deutschland)";
    EXPECT_EQ(Compose(ReportReason::ClosedBeforeDownload, RegistryProduct()), ExpectedReport("neither_code5"));
}

TEST_F(ComposeReportTest, ReadsCourtNamePartsFromTheSettingsFile) {
    WriteCourtSettings("[AData]\r\n1=Amtsgericht\r\n2=Hanau\r\n[Setup]\r\nMTBN=1\r\n");
    const auto lines = Compose(ReportReason::NoUpdate, CourtProduct());
    EXPECT_EQ(LineStarting(lines, "Amtsgericht Name:"), "Amtsgericht Name: Amtsgericht Hanau");
    EXPECT_EQ(LineStarting(lines, "Manuelle TGB-Nr:"), "Manuelle TGB-Nr: manuell");
}

TEST_F(ComposeReportTest, MissingCourtSettingsFileGivesEmptyNamePartsAndUndefined) {
    const auto lines = Compose(ReportReason::NoUpdate, CourtProduct());
    EXPECT_EQ(LineStarting(lines, "Amtsgericht Name:"), "Amtsgericht Name:  ");
    EXPECT_EQ(LineStarting(lines, "Manuelle TGB-Nr:"), "Manuelle TGB-Nr: undefiniert");
}

struct JournalCase {
    const char* setup;  // the [Setup] section's text
    const char* line;   // nullptr: no journal line
};

class JournalLineTest : public ComposeReportTest, public ::testing::WithParamInterface<JournalCase> {};

TEST_P(JournalLineTest, FollowsTheMtbnSetting) {
    WriteCourtSettings(std::string("[Setup]\r\n") + GetParam().setup + "\r\n");
    const auto lines = Compose(ReportReason::NoUpdate, CourtProduct());
    ASSERT_EQ(LineStarting(lines, "Settings QOProg"), "Settings QOProg");
    const std::string expected = GetParam().line ? GetParam().line : "(none)";
    EXPECT_EQ(LineStarting(lines, "Manuelle TGB-Nr:"), expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, JournalLineTest,
                         ::testing::Values(JournalCase{"MTBN=0", "Manuelle TGB-Nr: automatik"},
                                           JournalCase{"MTBN=1", "Manuelle TGB-Nr: manuell"},
                                           JournalCase{"MTBN=99", "Manuelle TGB-Nr: undefiniert"},
                                           JournalCase{"mtbn=abc", "Manuelle TGB-Nr: undefiniert"},
                                           JournalCase{"other=1", "Manuelle TGB-Nr: undefiniert"},
                                           JournalCase{"MTBN=", "Manuelle TGB-Nr: undefiniert"},
                                           JournalCase{"MTBN=2", nullptr}, JournalCase{"MTBN=-1", nullptr}));

// Reads fail loudly, as a broken profile service might.
class FailingProfile : public kv::platform::Profile {
public:
    std::string ReadString(const std::string&, const std::string&, const std::string&, const std::string&) override {
        throw std::runtime_error("profile unreadable");
    }
    void WriteString(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    void Flush(const std::string&) override {}
};

TEST(ComposeReportFailure, AFailureWhileComposingStaysInsideAndTheReportCountsAsSent) {
    kv::test::TestWorld world;
    FailingProfile failing;
    kv::platform::Services services = world.Services();
    services.profile = &failing;
    kv::TPHPunit report{services};
    kv::TUpInew wizard{services, &report};
    wizard.IsQOProgram = true;
    EXPECT_NO_THROW(wizard.ComposeReport(ReportReason::NoUpdate));
    EXPECT_TRUE(wizard.ReportSent);
    EXPECT_TRUE(report.ListBox1.empty());
}

TEST(ComposeReportFailure, WithoutAReportWindowNothingIsComposedButTheGuardHolds) {
    kv::test::TestWorld world;
    kv::TUpInew wizard{world.Services(), nullptr};
    EXPECT_NO_THROW(wizard.ComposeReport(ReportReason::NoUpdate));
    EXPECT_TRUE(wizard.ReportSent);
}

}  // namespace
