#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/test_world.h"
#include "platform/portable/host_path.h"
#include "report/tphpunit.h"
#include "wizard/tupinew.h"

namespace {

using kv::CloseReasonKind;
using kv::Process;
using kv::ProductReferenceKind;
using kv::platform::BoxOwner;
using namespace kv::platform;

// A wizard window on the doubles, with the welcome page as start-up leaves it
// for a product with a version list file. The test plays the view: a close
// request runs the close handling once.
class WizardWindow : public ::testing::Test {
protected:
    kv::test::TestWorld world;
    kv::TPHPunit reportWindow{world.Services()};
    kv::TUpInew wizard{world.Services(), &reportWindow};
    int closings = 0;

    void SetUp() override {
        wizard.Language = 1;
        wizard.ProgramName = "Ortsgericht Folio";
        wizard.RestartProgram = world.dir / "QOFolio\\qofolio.exe";
        wizard.ProductDataFolder = world.dir / "data";
        wizard.ProductReference = ProductReferenceKind::OwnFolder;
        Process().CommonAppDataFolder = world.dir / "common";
        wizard.closeHook = [this] {
            ++closings;
            wizard.OnClose();
        };
    }

    // As the program's end does: the report's request must not outlive the doubles.
    void TearDown() override { reportWindow.WaitForDelivery(5000); }

    // The reason line of the run's one report (empty when nothing was sent).
    std::string ReportedReason() const {
        return reportWindow.ListBox1.size() > 1 ? reportWindow.ListBox1[1] : std::string();
    }

    std::size_t RestartQuestions() const {
        std::size_t n = 0;
        for (const auto& box : world.dialogs.shown) n += box.caption == wizard.GL(69);
        return n;
    }

    void ExpectRestartQuestion(const kv::test::ShownBox& box) const {
        EXPECT_EQ(box.owner, BoxOwner::Wizard);
        EXPECT_EQ(box.text, "Ortsgericht Folio erneut starten?        ");
        EXPECT_EQ(box.caption, "Programm starten...");
        EXPECT_EQ(box.flags, MbIconQuestion | MbYesNo);
    }
};

TEST_F(WizardWindow, CloseBoxOnTheWelcomePageReportsOnceAndAsksNothing) {
    wizard.OnClose();
    EXPECT_EQ(ReportedReason(), "Update wurde über Kreuz beendet nicht Button");
    EXPECT_TRUE(wizard.ReportSent);
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(world.clock.pauses, std::vector<int>{500});
}

TEST_F(WizardWindow, CloseBeforeAnyCheckReportsTheCancelThenOffersTheRestart) {
    world.dialogs.onShow = [this](const kv::test::ShownBox&) {
        EXPECT_EQ(ReportedReason(), "Mailed after cancel no download was started");
        EXPECT_EQ(closings, 0) << "the question comes before the close";
    };
    wizard.Pzu.onClick();
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    ExpectRestartQuestion(world.dialogs.shown[0]);
    EXPECT_EQ(closings, 1);
    EXPECT_TRUE(world.processes.started.empty()) << "No was answered";
}

TEST_F(WizardWindow, CancelDuringTheDownloadAbortsAndReportsTheAbort) {
    wizard.DownloadRunning = true;
    wizard.PZu2.onClick();
    EXPECT_EQ(ReportedReason(), "Mailed after running download aborded");
    EXPECT_EQ(RestartQuestions(), 1u);
    EXPECT_EQ(closings, 1);
}

TEST_F(WizardWindow, CloseReasonChoosesTheReport) {
    const std::pair<CloseReasonKind, const char*> cases[] = {
        {CloseReasonKind::Outdated, "Mailed after outdated program was detected"},
        {CloseReasonKind::EndOfUpdates, "Mailed after no further update possible"},
    };
    for (const auto& [closeReason, line] : cases) {
        kv::TPHPunit window(world.Services());
        kv::TUpInew w(world.Services(), &window);
        w.Language = 1;
        w.ProductReference = ProductReferenceKind::NoReference;
        w.CloseReason = closeReason;
        w.PzuClick();
        window.WaitForDelivery(5000);
        ASSERT_GT(window.ListBox1.size(), 1u) << static_cast<int>(closeReason);
        EXPECT_EQ(window.ListBox1[1], line);
    }
}

TEST_F(WizardWindow, CloseAfterNoUpdateKeepsTheEvaluationsReport) {
    wizard.ComposeReport(kv::ReportReason::NoUpdate);
    wizard.CloseReason = CloseReasonKind::Reported;
    wizard.PZu2.onClick();
    EXPECT_EQ(ReportedReason(), "Done after version check NO DOWNLOAD");
    EXPECT_EQ(RestartQuestions(), 1u);
    EXPECT_EQ(closings, 1);
}

// "Ja" starts only an existing program inside the product's folder (the
// inventory's install path, else the wizard's own folder); when nothing
// starts, a box names the product, and the window closes all the same.
TEST_F(WizardWindow, YesStartsOnlyTheProductsOwnProgramFromItsDataFolder) {
    const std::string folder = world.dir / "QOFolio";
    world.dir.Write("QOFolio\\qofolio.exe", "MZ");
    world.dir.Write("other\\x.exe", "MZ");
    struct Row {
        std::string value;
        std::string installPath;
        bool starts;
        ProcessOutcome outcome;
    };
    const Row rows[] = {
        {folder + "\\qofolio.exe", folder, true, {}},
        {"qofolio.exe", folder, true, {}},
        {"qofolio.exe", "", true, {}},  // no install path known: the wizard's folder
        {"C:\\Windows\\System32\\cmd.exe\" /c calc & rem", folder, false, {}},
        {world.dir / "other\\x.exe", folder, false, {}},
        {"..\\other\\x.exe", folder, false, {}},
        {"missing.exe", folder, false, {}},
        {"qofolio.exe", folder, false, {StartResult::Failed, 5}},
    };
    for (const Row& row : rows) {
        kv::TPHPunit window(world.Services());
        kv::TUpInew w(world.Services(), &window);
        w.Language = 1;
        w.ProgramName = "Ortsgericht Folio";
        w.ProductDataFolder = world.dir / "data";
        w.ProductReference = ProductReferenceKind::OwnFolder;
        w.InstallPath = row.installPath;
        w.ExeFolder = folder;
        w.RestartProgram = row.value;
        world.processes.calls.clear();
        world.processes.started.clear();
        world.processes.outcomes = {row.outcome};
        world.dialogs.shown.clear();
        world.dialogs.answers = {IdYes};
        w.PzuClick();
        window.WaitForDelivery(5000);
        EXPECT_TRUE(w.closeRequested) << row.value;
        EXPECT_EQ(world.processes.calls.size(), row.starts || row.outcome.error ? 1u : 0u) << row.value;
        if (row.starts) {
            const ProcessRequest& run = world.processes.started.at(0);
            EXPECT_EQ(HostPath(run.program), HostPath(folder + "\\qofolio.exe")) << row.value;
            EXPECT_EQ(run.currentFolder, w.ProductDataFolder);
            EXPECT_FALSE(run.wait);
            EXPECT_EQ(world.dialogs.shown.size(), 1u) << row.value;
            continue;
        }
        ASSERT_EQ(world.dialogs.shown.size(), 2u) << row.value;
        const kv::test::ShownBox& error = world.dialogs.shown[1];
        EXPECT_EQ(error.owner, BoxOwner::Wizard);
        EXPECT_EQ(error.text, "Ortsgericht Folio kann nicht gestartet werden   ");
        EXPECT_EQ(error.caption, "Fehler");
        EXPECT_EQ(error.flags, MbIconError);
    }
}

TEST_F(WizardWindow, WithoutProductReferenceTheCloseIsImmediate) {
    wizard.ProductReference = ProductReferenceKind::NoReference;
    wizard.Pzu.onClick();
    EXPECT_EQ(ReportedReason(), "Mailed after cancel no download was started");
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(closings, 1);
}

TEST_F(WizardWindow, TheCloseDeletesTheFetchedCatalogueAndToleratesItsAbsence) {
    world.dir.Write("data\\update.ini", "[x]\r\n");
    wizard.OnClose();
    EXPECT_FALSE(world.dir.Exists("data\\update.ini"));
    wizard.OnClose();  // nothing left to delete
    EXPECT_EQ(world.clock.pauses, (std::vector<int>{500, 500}));
}

TEST_F(WizardWindow, TheValuationProductsCloseStampsTodaysDayNumber) {
    world.dir.MakeFolder("common\\Karvell\\HUG");
    wizard.IsHU2Program = true;
    world.clock.now = {2025, 1, 1, 9, 0, 0};
    wizard.SpecialTargets = {"a", "b"};
    wizard.OnClose();
    const std::string ini = Process().CommonAppDataFolder + "\\Karvell\\HUG\\h2gut.ini";
    EXPECT_EQ(world.profile.ReadString(ini, "pos", "uflags", ""), "45658");
    EXPECT_TRUE(wizard.SpecialTargets.empty());
}

TEST_F(WizardWindow, ARefusedDayStampDoesNotStopTheClose) {
    wizard.IsHU2Program = true;
    wizard.SpecialTargets = {"a"};
    EXPECT_NO_THROW(wizard.OnClose()) << "the HUG folder does not exist";

    world.dir.Write("common\\Karvell\\HUG\\h2gut.ini", "[POS]\r\nUFlags=1\r\n");
    std::filesystem::permissions(kv::platform::HostPath(world.dir / "common\\Karvell\\HUG\\h2gut.ini"),
                                 std::filesystem::perms::owner_read);
    EXPECT_NO_THROW(wizard.OnClose());
    EXPECT_TRUE(wizard.SpecialTargets.empty());
    EXPECT_EQ(world.clock.pauses.size(), 2u);
}

TEST_F(WizardWindow, NewsWithoutTheFirstTwoLinesStayHiddenButTheOfferIsNamed) {
    wizard.Timer2.enabled = true;
    wizard.CatalogueLines[2] = "third line only";
    wizard.Timer2Timer();
    EXPECT_FALSE(wizard.Timer2.enabled);
    EXPECT_FALSE(wizard.Panel3.visible);
    EXPECT_EQ(wizard.Panel3.width, 0);
    EXPECT_EQ(wizard.Memo1.lines, (std::vector<std::string>{"New's:", "?", "?", "?", "?", "?"}));
    EXPECT_EQ(wizard.Label15.caption, wizard.GL(60));
}

TEST_F(WizardWindow, NewsOfTheRunsLanguageFillThePanel) {
    for (std::size_t i = 0; i < 24; ++i) wizard.CatalogueLines[i] = "L" + std::to_string(i + 1);
    wizard.CatalogueLines[6] = "";  // an empty first English line: the second one suffices
    wizard.Language = 2;
    wizard.Label15.caption = "offer";
    wizard.NoNewUpdate = true;
    wizard.Timer2Timer();
    EXPECT_EQ(wizard.Memo1.lines, (std::vector<std::string>{"", "L8", "L9", "L10", "L11", "L12"}));
    EXPECT_TRUE(wizard.Panel3.visible);
    EXPECT_EQ(wizard.Panel3.width, 598);
    EXPECT_EQ(wizard.Memo1.width, 558);
    EXPECT_EQ(wizard.Label15.caption, "offer") << "no update: no install hint";
}

TEST_F(WizardWindow, InformationLinesReplaceTheNewsAndLeaveTheHeadline) {
    for (std::size_t i = 0; i < 24; ++i) wizard.CatalogueLines[i] = "L" + std::to_string(i + 1);
    wizard.SinuFlag = true;
    wizard.Label15.caption = "offer";
    wizard.Timer2Timer();
    EXPECT_EQ(wizard.Memo1.lines, (std::vector<std::string>{"L13", "L14", "L15", "L16", "L17", "L18"}));
    EXPECT_EQ(wizard.Label15.caption, "offer");
}

TEST_F(WizardWindow, RetryHidesItsButtonSoOnlyANewFailureShowsIt) {
    wizard.Panel4.visible = false;
    wizard.Panel1.visible = true;
    wizard.TryAgainBut.visible = true;
    wizard.PZu2.caption = wizard.GL(47);

    world.offline.connected = true;
    wizard.TryAgainBut.onClick();
    EXPECT_FALSE(wizard.TryAgainBut.visible);
    EXPECT_EQ(wizard.Label14.caption, wizard.GL(17));
    EXPECT_EQ(wizard.PZu2.caption, wizard.GL(7));
    EXPECT_FALSE(wizard.Panel4.visible) << "the welcome page is not shown again";
    EXPECT_TRUE(wizard.Panel1.visible);
    world.dispatcher.RunUntil([this] { return !wizard.INGetFile.Busy(); });

    world.offline.connected = false;
    wizard.TryAgainBut.onClick();
    EXPECT_TRUE(wizard.TryAgainBut.visible);
    EXPECT_EQ(world.dialogs.shown.size(), 1u) << "the connection error of the second check";
    EXPECT_FALSE(wizard.Panel4.visible);
}

TEST_F(WizardWindow, ProxyQuestionOpensTheDialogOnlyOnYes) {
    wizard.Timer3.enabled = true;
    wizard.Timer3Timer();
    EXPECT_FALSE(wizard.Timer3.enabled);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    const kv::test::ShownBox& box = world.dialogs.shown[0];
    EXPECT_EQ(box.owner, BoxOwner::Application);
    EXPECT_EQ(box.text, wizard.GL(71) + "\r" + wizard.GL(72) + "\r" + wizard.GL(73));
    EXPECT_EQ(box.caption, " Information");
    EXPECT_EQ(box.flags, MbIconInformation | MbYesNo);
    EXPECT_TRUE(world.ui.modalShown.empty());

    world.dialogs.answers = {IdYes};
    wizard.Timer3Timer();
    EXPECT_EQ(world.ui.modalShown, std::vector<std::string>{"ProxyForm"});
}

TEST_F(WizardWindow, MenuOpensAboveAndLeftOfItsButton) {
    wizard.menue.onClick();
    EXPECT_EQ(world.ui.popupX, 10);
    EXPECT_EQ(world.ui.popupY, 381 + 13 - 2 * 28);
}

TEST_F(WizardWindow, AboutBoxIsTheSameFromTheMenuAndFromTheNoticeLine) {
    world.ui.onPopup = [](kv::ui::PopupMenu& menu, int, int) { menu.items[0].onClick(); };
    wizard.menue.onClick();
    wizard.Label22.onClick();
    ASSERT_EQ(world.dialogs.shown.size(), 2u);
    const kv::test::ShownBox& fromMenu = world.dialogs.shown[0];
    const kv::test::ShownBox& fromLine = world.dialogs.shown[1];
    EXPECT_EQ(fromMenu.owner, BoxOwner::Wizard);
    EXPECT_EQ(fromMenu.caption, "Information");
    EXPECT_EQ(fromMenu.flags, MbIconInformation | MbOk);
    EXPECT_EQ(fromMenu.text.rfind("\xA9 Karvell Individualsoftware", 0), 0u) << fromMenu.text;
    EXPECT_EQ(fromLine.owner, fromMenu.owner);
    EXPECT_EQ(fromLine.text, fromMenu.text);
    EXPECT_EQ(fromLine.caption, fromMenu.caption);
    EXPECT_EQ(fromLine.flags, fromMenu.flags);
}

TEST_F(WizardWindow, MenuItemsOpenTheirDialogs) {
    world.dir.MakeFolder("common\\Karvell");
    std::size_t item = 1;
    world.ui.onPopup = [&item](kv::ui::PopupMenu& menu, int, int) { menu.items[item].onClick(); };
    wizard.menueClick();
    item = 2;
    wizard.menueClick();
    EXPECT_EQ(world.ui.modalShown, (std::vector<std::string>{"Form1", "ProxyForm"}));
    EXPECT_TRUE(world.dir.Exists("common\\Karvell\\erg2.rtf")) << "closed by its close box";
}

}  // namespace
