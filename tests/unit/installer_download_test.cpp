#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/start_outcomes.h"
#include "fakes/test_world.h"
#include "run/config.h"
#include "platform/portable/host_path.h"
#include "report/tphpunit.h"
#include "wizard/tupinew.h"

namespace {

using kv::CloseReasonKind;
using kv::platform::BoxOwner;

// A wizard whose catalogue offered "qoonlineb.exe" for version 8.1.10.
class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.Language = 1;
        w.ProductDataFolder = world.dir.path();
        w.ParaName = "qoonline";
        w.ParaChar = "b";
        w.ParaINI = "qoonline.lst";
        w.ProgramName = "QO Folio";
        w.ProgramTitle = "QO Folio";
        w.NewVersion = "8.1.10";
        w.UpdateDate = "2022-03-15";
        w.UpdateSizeText = "12 MB";
        w.UpdateFileName = "qoonlineb.exe";
        w.LocalSpecAction = 3;
        w.CatalogueSpecAction = 5;
        w.repaintHook = [this] { ++repaints; };
    }
    void TearDown() override { report.WaitForDelivery(5000); }
    std::string Handover() { return world.dir.Read("KVInn000.lst"); }
    void InstallerArrives() {
        w.DownloadRunning = true;
        w.InstallerDownload().Arrived(world.files.Hold(w.ProductDataFolder + "\\qoonlineb.exe"));
    }
    void HeldElsewhere(const std::string& relative) { world.files.heldElsewhere.insert(world.dir / relative); }
    // The lines of the run's one report from its reason line to the line after "UpdateFile:".
    std::vector<std::string> ReportReasonAndRefusal() {
        const std::vector<std::string>& lines = report.ListBox1;
        const auto updateFile = std::find(lines.begin(), lines.end(), "UpdateFile: qoonlineb.exe");
        if (updateFile == lines.end() || updateFile + 1 == lines.end()) return {};
        return {lines[1], updateFile[1]};
    }

    kv::test::TestWorld world;
    kv::TPHPunit report{world.Services()};
    kv::TUpInew w{world.Services(), &report};
    int repaints = 0;
};

TEST_F(DownloadTest, HandoverOfAnOrdinaryUpdateKeepsTheInstalledActionNumber) {
    w.WriteInstallerHandover();
    EXPECT_EQ(Handover(),
              "[innoupdate]\r\nverinfo=8.1.10\r\ndat=2022-03-15\r\nsz=12 MB\r\ndlst=qoonline.lst\r\nsec=QO Folio\r\n"
              "ActS=3\r\n");
    EXPECT_EQ(world.clock.pauses, std::vector<int>{500});
}

TEST_F(DownloadTest, HandoverOfASpecialUpdateGivesTheCataloguesActionNumber) {
    w.SpecialUpdate = true;
    w.SpecialVersionInfo = "Sonder 1";
    w.WriteInstallerHandover();
    EXPECT_NE(Handover().find("verinfo=8.1.10\r\n"), std::string::npos);
    EXPECT_NE(Handover().find("ActS=5\r\n"), std::string::npos);
}

TEST_F(DownloadTest, HandoverReplacesAnEarlierFileWhole) {
    world.dir.Write("KVInn000.lst", "[setup]\r\nlang=de\r\n[InnoUpdate]\r\nverinfo=7.0\r\nActS=1\r\n");
    w.WriteInstallerHandover();
    EXPECT_EQ(Handover(),
              "[innoupdate]\r\nverinfo=8.1.10\r\ndat=2022-03-15\r\nsz=12 MB\r\ndlst=qoonline.lst\r\nsec=QO Folio\r\n"
              "ActS=3\r\n");
}

TEST_F(DownloadTest, RefusedHandoverRaisesTheIniError) {
    world.dir.Write("KVInn000.lst", "[innoupdate]\r\nverinfo=7.0\r\n");
    HeldElsewhere("KVInn000.lst");
    EXPECT_THROW(w.WriteInstallerHandover(), kv::platform::IniWriteError);
    EXPECT_EQ(Handover(), "[innoupdate]\r\nverinfo=7.0\r\n");
}

TEST_F(DownloadTest, ProgressTextsInBothLanguagesAndTheirPlace) {
    w.Panel3.visible = true;
    w.Panel3.width = 598;
    w.INGetFileProgress(nullptr, 10000, 2048);
    EXPECT_EQ(w.Label11.caption, "2048 Bytes von 10000 Bytes geladen");
    EXPECT_EQ(w.Gauge1.maximum, 10000);
    EXPECT_EQ(w.Gauge1.position, 2048);
    EXPECT_EQ(w.Label11.left, 8 * static_cast<int>(w.Label10.caption.size()) + w.Label10.left + 5);
    EXPECT_FALSE(w.Panel3.visible);
    EXPECT_EQ(w.Panel3.width, 0);
    w.Language = 2;
    w.INGetFileProgress(nullptr, 0, 1025);
    EXPECT_EQ(w.Label11.caption, "1025 Bytes of 0 Bytes retrived");
}

TEST_F(DownloadTest, InstallButtonStartsTheDownloadWhenTheNameMatchesInAnyCase) {
    w.UpdateFileName = "QOOnlineB.EXE";
    w.Timer2.enabled = true;
    w.DLBut.enabled = true;
    w.DLBut.font.bold = true;
    w.DLBut.font.color = kv::ui::ColorBlue;
    w.DLButClick();
    EXPECT_EQ(w.INGetFile.URL, std::string(kv::config::UpdateServerBase) + "/qoonlineb.exe");
    EXPECT_EQ(w.INGetFile.FileName, world.dir / "qoonlineb.exe");
    EXPECT_TRUE(w.INGetFile.BinaryData);
    EXPECT_TRUE(w.DownloadRunning);
    EXPECT_FALSE(w.Timer2.enabled);
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_FALSE(w.DLBut.font.bold);
    EXPECT_EQ(w.DLBut.font.color, kv::ui::ColorBlack);
    EXPECT_EQ(w.Label13.caption, w.GL(49) + " QO Folio");
    EXPECT_EQ(w.Label13.width, w.Panel2.width - 2 * w.Label13.left);
    EXPECT_EQ(w.Label24.caption, w.Label13.caption);
    EXPECT_EQ(w.Label24.width, w.Label13.width);
    EXPECT_EQ(w.Label24.left, w.Label13.left);
    EXPECT_TRUE(w.Label10.visible && w.Label11.visible);
    EXPECT_TRUE(world.dialogs.shown.empty());
    // Offline, the transfer fails: the error handler keeps the wizard open.
    EXPECT_TRUE(world.dispatcher.RunUntil([&] { return !w.INGetFile.Busy(); }));
    EXPECT_TRUE(w.DownloadFailed);
    EXPECT_EQ(w.Label14.caption, w.GL(22));
    EXPECT_FALSE(w.closeRequested);
}

TEST_F(DownloadTest, InstallButtonRefusesAnotherInstallersName) {
    w.UpdateFileName = "qoonlinea.exe";
    w.DLButClick();
    EXPECT_TRUE(w.INGetFile.URL.empty());
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_EQ(w.PZu2.caption, w.GL(47));
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, "Version des Updates stimmt nicht mit\rIhrer installierten Version überein.\r"
                                           "Bitte wenden Sie sich an Karvell.");
    EXPECT_EQ(world.dialogs.shown[0].caption, " Information");
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbIconInformation);
}

TEST_F(DownloadTest, ArrivedInstallerIsHandedOverStartedQuotedAndTheWizardCloses) {
    w.ProductDataFolder = world.dir / "QO Folio";
    world.dir.Write("QO Folio\\qoonlineb.exe", "MZ");
    w.NewsAfterDe[0] = "Bitte sichern Sie vorher Ihre Daten.";
    w.Label4.caption = "12 MB";
    InstallerArrives();
    EXPECT_EQ(world.clock.pauses, (std::vector<int>{500, 1500, 1000}));
    ASSERT_EQ(world.processes.started.size(), 1u);
    const auto& start = world.processes.started[0];
    EXPECT_EQ(start.CommandLine(), "\"" + world.dir.path() + "\\QO Folio\\qoonlineb.exe\"");
    EXPECT_EQ(start.creationFlags, 0x220u);
    EXPECT_EQ(start.startupFlags, 0u);
    EXPECT_TRUE(start.currentFolder.empty());
    EXPECT_FALSE(start.wait);
    EXPECT_EQ(w.CloseReason, CloseReasonKind::Reported);
    EXPECT_TRUE(w.ReportSent);
    EXPECT_TRUE(w.closeRequested);
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(w.Label14.caption, "Laden des Update abgeschlossen. 12 MB Bitte warten...");
    EXPECT_EQ(w.Label14.width, w.Panel1.width - 2 * w.Label14.left);
    EXPECT_EQ(w.Label15.caption, w.GL(92));
    EXPECT_FALSE(w.DownloadFailed);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].caption, " Information");
    EXPECT_EQ(world.dialogs.shown[0].text, "Bitte sichern Sie vorher Ihre Daten.\r\r\r");
    EXPECT_TRUE(world.dir.Exists("QO Folio\\KVInn000.lst"));
    EXPECT_TRUE(world.signatures.checked.empty());  // no signer configured
}

TEST_F(DownloadTest, MissingInstallerIsReportedAndTheWizardCloses) {
    InstallerArrives();
    EXPECT_TRUE(world.processes.calls.empty());
    EXPECT_FALSE(world.dir.Exists("KVInn000.lst"));
    EXPECT_EQ(w.Label15.caption, "");
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1000});
    EXPECT_EQ(w.CloseReason, CloseReasonKind::NothingEvaluated);
    EXPECT_TRUE(w.ReportSent);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);  // no news box without news lines
    EXPECT_EQ(world.dialogs.shown[0].text, w.GL(88));
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
    EXPECT_TRUE(w.closeRequested);
}

TEST_F(DownloadTest, RefusedHandoverStopsBeforeTheInstallerAndTheWizardCloses) {
    world.dir.Write("qoonlineb.exe", "MZ");
    world.dir.Write("KVInn000.lst", "[innoupdate]\r\n");
    HeldElsewhere("KVInn000.lst");
    w.NewsAfterEn[0] = "Please back up your data first.";
    InstallerArrives();
    EXPECT_TRUE(world.processes.calls.empty());
    EXPECT_EQ(Handover(), "[innoupdate]\r\n");
    EXPECT_EQ(w.Label15.caption, "");
    EXPECT_TRUE(w.closeRequested);
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1000});
    EXPECT_EQ(w.CloseReason, CloseReasonKind::NothingEvaluated);
    EXPECT_TRUE(w.ReportSent);
    EXPECT_EQ(w.PZu2.caption, w.GL(47));
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, w.GL(88));
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
}

using kv::platform::ProcessOutcome;
namespace start = kv::test::start;

struct StartCase {
    std::vector<ProcessOutcome> outcomes;  // of the plain start, then of the elevated one
    const char* refusal;                   // the report's line after "UpdateFile:"; empty: started
};

class InstallerStart : public DownloadTest, public ::testing::WithParamInterface<StartCase> {};

// The report follows what the start did; an installer that asks for
// administrator rights is started again through the consent prompt.
TEST_P(InstallerStart, ReportsWhatTheStartDidAndLeavesNoUnstartedInstaller) {
    const StartCase& c = GetParam();
    world.processes.outcomes.assign(c.outcomes.begin(), c.outcomes.end());
    world.dir.Write("qoonlineb.exe", "MZ");
    world.dialogs.onShow = [&](const kv::test::ShownBox&) {
        EXPECT_TRUE(w.ReportSent) << "reported before the box";
        EXPECT_FALSE(world.dir.Exists("qoonlineb.exe")) << "deleted before the box";
    };
    InstallerArrives();
    ASSERT_EQ(world.processes.calls.size(), c.outcomes.size());
    for (std::size_t i = 0; i < c.outcomes.size(); ++i) {
        EXPECT_EQ(world.processes.calls[i].elevated, i == 1);
        EXPECT_EQ(world.processes.calls[i].request.program, world.dir / "qoonlineb.exe");
        EXPECT_TRUE(world.processes.calls[i].request.currentFolder.empty());
    }
    EXPECT_EQ(world.clock.pauses, (std::vector<int>{500, 1500, 1000}));
    EXPECT_TRUE(w.closeRequested);
    const bool started = c.refusal[0] == '\0';
    EXPECT_EQ(w.CloseReason, started ? CloseReasonKind::Reported : CloseReasonKind::NothingEvaluated);
    EXPECT_EQ(world.dir.Exists("qoonlineb.exe"), started);
    if (started) {
        EXPECT_EQ(ReportReasonAndRefusal()[0], "Done after DOWNLOAD and START of update file");
        EXPECT_TRUE(world.dialogs.shown.empty());
        return;
    }
    EXPECT_EQ(ReportReasonAndRefusal(), (std::vector<std::string>{"Done after DOWNLOAD of update file", c.refusal}));
    EXPECT_EQ(w.Label15.caption, "");
    EXPECT_EQ(w.Label14.caption, "Update Start ist fehlgeschlagen.");
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, w.GL(88));
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, InstallerStart,
    ::testing::Values(StartCase{{start::Started}, ""}, StartCase{{start::ElevationRequired, start::Started}, ""},
                      StartCase{{start::ElevationRequired, start::Declined}, "Start: elevation declined"},
                      StartCase{{start::NoProgram}, "Start: error 193"}));

struct SignatureCase {
    bool ok;
    const char* reason;
};

class SignatureCheck : public DownloadTest, public ::testing::WithParamInterface<SignatureCase> {};

TEST_P(SignatureCheck, OnlyAnAcceptedInstallerIsHandedOverAndStarted) {
    const SignatureCase& c = GetParam();
    w.installerSigner = kv::platform::SignerRuleFromText("Karvell Test Signing", "ab:cd");
    world.signatures.verdict = {c.ok, c.reason};
    world.dir.Write("qoonlineb.exe", "MZ");
    InstallerArrives();
    ASSERT_EQ(world.signatures.checked.size(), 1u);
    EXPECT_EQ(world.signatures.checked[0].first, world.dir / "qoonlineb.exe");
    EXPECT_EQ(world.signatures.checked[0].second.thumbprints, std::vector<std::string>{"ABCD"});
    EXPECT_TRUE(w.closeRequested);
    const std::vector<std::string>& lines = report.ListBox1;
    const auto updateFile = std::find(lines.begin(), lines.end(), "UpdateFile: qoonlineb.exe");
    ASSERT_NE(updateFile, lines.end());
    ASSERT_NE(updateFile + 1, lines.end());
    if (c.ok) {
        EXPECT_EQ(world.processes.started.size(), 1u);
        EXPECT_TRUE(world.dir.Exists("KVInn000.lst"));
        EXPECT_EQ(lines[1], "Done after DOWNLOAD and START of update file");
        EXPECT_EQ(updateFile[1].rfind("Update Anyway: ", 0), 0u);
        return;
    }
    EXPECT_FALSE(world.dir.Exists("qoonlineb.exe"));
    EXPECT_FALSE(world.dir.Exists("KVInn000.lst"));
    EXPECT_TRUE(world.processes.started.empty());
    EXPECT_EQ(w.Label14.caption, "Die geladene Update-Datei tr\xE4gt keine g\xFCltige Signatur von Karvell.");
    EXPECT_EQ(w.Label15.caption, "");
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].owner, BoxOwner::Application);
    EXPECT_EQ(world.dialogs.shown[0].text, w.GL(93));
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbOk | kv::platform::MbIconError);
    EXPECT_EQ(lines[1], "Done after DOWNLOAD, update file NOT started: signature not valid");
    EXPECT_EQ(updateFile[1], std::string("Signature: ") + c.reason);
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1000});
}

INSTANTIATE_TEST_SUITE_P(Verdicts, SignatureCheck,
                         ::testing::Values(SignatureCase{true, ""}, SignatureCase{false, "not signed"},
                                           SignatureCase{false, "altered"}, SignatureCase{false, "untrusted root"},
                                           SignatureCase{false, "signer 'Karvell Other Signing' not accepted"},
                                           SignatureCase{false, "certificate not listed"},
                                           SignatureCase{false, "file not readable"}));

// The signer's name as the certificate spells it against the configured one
// (Windows-1252 here, Unicode there): one CN, exactly that name.
TEST(SignerName, OnlyOneExactCommonNamePasses) {
    const std::string signer = "Karvell Prüfung €";
    const struct {
        std::vector<std::u16string> names;
        std::string reason;
    } rows[] = {
        {{u"Karvell Prüfung €"}, ""},
        {{}, "signer without a common name"},
        {{u"Karvell Prüfung €", u"Karvell Prüfung €"}, "signer with several common names"},
        {{std::u16string(u"Karvell Prüfung €\0.evil", 23)}, "signer 'Karvell Prüfung €?.evil' not accepted"},
        {{u"Karvell Prüfung"}, "signer 'Karvell Prüfung' not accepted"},
        {{u"K\u0430rvell Prüfung €"}, "signer 'K?rvell Prüfung €' not accepted"},  // a Cyrillic a
        {{u"karvell Prüfung €"}, "signer 'karvell Prüfung €' not accepted"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(kv::platform::SignerNameMismatch(row.names, signer), row.reason) << row.reason;
}

TEST_F(DownloadTest, ArrivedCatalogueIsEvaluatedAfterThePause) {
    w.CatalogueSection = "qoonlineb";
    w.InstalledVersionNumber = 819;
    world.dir.Write("update.ini", "[qoonlineb]\r\nverinfo=8.1.10\r\nprog=QO Folio\r\n");
    w.CatalogueCheck().Arrived(40);
    EXPECT_EQ(world.clock.pauses, std::vector<int>{1500});
    EXPECT_EQ(w.Label14.caption, w.GL(18) + " " + w.GL(19));
    EXPECT_TRUE(w.DLBut.enabled);
    EXPECT_EQ(w.NewVersion, "8.1.10");
}

TEST_F(DownloadTest, EmptyCatalogueIsAConnectionError) {
    w.TryAgainBut.visible = false;
    w.DownLoadNewVersion1.enabled = false;
    w.CatalogueCheck().Arrived(0);
    EXPECT_TRUE(world.clock.pauses.empty());
    EXPECT_EQ(w.Label14.caption, w.GL(54));
    EXPECT_TRUE(w.TryAgainBut.visible);
    EXPECT_EQ(w.TryAgainBut.caption, w.GL(46));
    EXPECT_TRUE(w.DownLoadNewVersion1.enabled);
    EXPECT_FALSE(w.Panel3.visible);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    EXPECT_EQ(world.dialogs.shown[0].text, w.GL(25));
    EXPECT_EQ(world.dialogs.shown[0].caption, " Fehler");
    EXPECT_EQ(world.dialogs.shown[0].flags, kv::platform::MbOk);
    EXPECT_FALSE(w.ReportSent);
}

TEST_F(DownloadTest, TransferErrorsLeaveTheWizardOpen) {
    w.DLBut.enabled = true;
    w.InstallerDownload().Failed();
    EXPECT_EQ(w.Label14.caption, w.GL(22));
    EXPECT_TRUE(w.DownloadFailed);
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_EQ(w.PZu2.caption, w.GL(47));
    EXPECT_FALSE(w.closeRequested);
    w.CatalogueCheck().Failed();
    EXPECT_EQ(w.Label14.caption, "Fehler bei Dateitransfer!");
    EXPECT_FALSE(w.closeRequested);
}

TEST_F(DownloadTest, RunProgramQuotesThePathAndStartsInItsFolder) {
    w.InstallPath = world.dir / "Program Files";
    world.dir.Write("Program Files\\QO\\qo.exe", "MZ");
    world.dir.Write("Program Files\\qo.exe", "MZ");
    EXPECT_TRUE(w.RunProgram(world.dir / "Program Files\\QO\\qo.exe", "", false, ""));
    EXPECT_TRUE(w.RunProgram("qo.exe", "/restart 1", true, "D:\\Daten"));
    world.processes.outcomes = {start::MissingProgram};
    EXPECT_FALSE(w.RunProgram("qo.exe", "", false, ""));
    ASSERT_EQ(world.processes.started.size(), 2u);
    // Compared as host paths: the unit tests' folders have a POSIX root.
    const auto host = [](const std::string& path) { return kv::platform::HostPath(path); };
    const auto& first = world.processes.started[0];
    EXPECT_EQ(first.CommandLine(), "\"" + first.program + "\"");
    EXPECT_EQ(host(first.program), host(world.dir / "Program Files\\QO\\qo.exe"));
    EXPECT_EQ(host(first.currentFolder), host(world.dir / "Program Files\\QO"));
    EXPECT_EQ(first.creationFlags, 0x220u);
    EXPECT_EQ(first.startupFlags, 1u);
    EXPECT_EQ(first.showWindow, 1);
    EXPECT_FALSE(first.wait);
    EXPECT_EQ(host(world.processes.started[1].program), host(world.dir / "Program Files\\qo.exe"));
    EXPECT_EQ(world.processes.started[1].parameters, "/restart 1");
    EXPECT_EQ(world.processes.started[1].currentFolder, "D:\\Daten");
    EXPECT_TRUE(world.processes.started[1].wait);
}

}  // namespace
