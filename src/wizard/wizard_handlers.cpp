#include <optional>
#include <string>

#include "run/config.h"
#include "catalogue/news_panel.h"
#include "network/tproxyform.h"
#include "ui/ui_host.h"
#include "wizard/tform1.h"
#include "wizard/tupinew.h"

// The wizard window's own handlers: closing and cancelling, the retry, the
// two one-shot timers, the menu button and the information dialogs.
namespace kv {

namespace {

using platform::BoxOwner;

// The report of a button close follows what the run has found so far; none
// when the evaluation has reported already.
std::optional<ReportReason> ReasonForCloseReason(CloseReasonKind closeReason) {
    switch (closeReason) {
        case CloseReasonKind::NothingEvaluated: return ReportReason::ClosedBeforeDownload;
        case CloseReasonKind::Outdated: return ReportReason::OutdatedProgram;
        case CloseReasonKind::EndOfUpdates: return ReportReason::NoFurtherUpdate;
        case CloseReasonKind::Reported: break;
    }
    return std::nullopt;
}

const char* const HU2SettingsFile = "\\Karvell\\HUG\\h2gut.ini";

// Offers to start the product again; when nothing starts, a box says so, and
// the caller closes the window all the same.
void OfferRestart(TUpInew& wizard) {
    platform::Dialogs& dialogs = *wizard.services().dialogs;
    const int answer = dialogs.MessageBox(BoxOwner::Wizard, wizard.ProgramName + wizard.GL(67), wizard.GL(69),
                                          platform::MbIconQuestion | platform::MbYesNo);
    if (answer != platform::IdYes) return;
    if (!wizard.RunProgram(wizard.RestartProgram, "", false, wizard.ProductDataFolder))
        dialogs.MessageBox(BoxOwner::Wizard, wizard.ProgramName + wizard.GL(68), wizard.GL(58), platform::MbIconError);
}

void ShowAbout(TUpInew& wizard) {
    const std::string text = std::string(config::NoticeLine) + "\r" + "Netrefresh Tool V " + config::ToolVersion;
    wizard.services().dialogs->MessageBox(BoxOwner::Wizard, text, "Information",
                                          platform::MbIconInformation | platform::MbOk);
}

// The valuation product's reminder counts its days from this stamp; a
// refused write must not keep the window open.
void StampHU2CloseDay(const platform::Services& services) {
    const platform::LocalDateTime today = services.clock->Now();
    const std::int64_t day = platform::DayNumber(today.year, today.month, today.day);
    const std::string file = Process().CommonAppDataFolder + HU2SettingsFile;
    try {
        services.profile->WriteString(file, "POS", "UFlags", std::to_string(day));
        services.profile->Flush(file);
    } catch (const platform::IniWriteError&) {
    }
}

}  // namespace

void TUpInew::PzuClick() {
    if (DownloadRunning) {
        INGetFile.Abort();
        ComposeReport(ReportReason::DownloadAborted);
    } else if (const std::optional<ReportReason> reason = ReasonForCloseReason(CloseReason)) {
        ComposeReport(*reason);
    }
    if (ProductReference != ProductReferenceKind::NoReference) OfferRestart(*this);
    Close();
}

void TUpInew::TryAgainButClick() {
    TryAgainBut.visible = false;
    Label14.caption = GL(17);
    PZu2.caption = GL(7);
    DownLoadNewVersion1Click();
}

void TUpInew::Timer2Timer() {
    Timer2.enabled = false;
    CheckPage page = CheckPageView();
    ShowNewsPanel(*this, page);
}

// Both transfers show their progress the same way.
void TUpInew::INGetFileProgress(void*, std::int32_t totalSize, std::int32_t readed) {
    Gauge1.maximum = totalSize;
    Gauge1.position = readed;
    const std::string read = std::to_string(readed), total = std::to_string(totalSize);
    Label11.caption = Language == 1 ? read + " Bytes von " + total + " Bytes geladen"
                                    : read + " Bytes of " + total + " Bytes retrived";
    Label11.left = services_.ui->TextWidth(Label10.font, Label10.caption) + Label10.left + 5;
    if (Panel3.visible) {
        CheckPage page = CheckPageView();
        HideNewsPanel(page);
    }
}

void TUpInew::Timer3Timer() {
    Timer3.enabled = false;
    const std::string question = GL(71) + "\r" + GL(72) + "\r" + GL(73);
    const int answer = services_.dialogs->MessageBox(BoxOwner::Application, question, " Information",
                                                     platform::MbIconInformation | platform::MbYesNo);
    if (answer == platform::IdYes) ProxyEinstellungen1Click();
}

// The menu opens a little above and left of the button: the offsets are
// taken from the window's outer edges, not from its client area.
void TUpInew::menueClick() {
    services_.ui->ShowPopup(BIPop, *this, menue.left, Panel5.top + menue.top - 2 * menue.height);
}

void TUpInew::Informationen1Click() { ShowAbout(*this); }

void TUpInew::Label22Click() { ShowAbout(*this); }

void TUpInew::Datenschutzinformationen1Click() {
    TForm1 dialog(*services_.files, Process().CommonAppDataFolder);
    services_.ui->ShowModal(dialog);
}

void TUpInew::ProxyEinstellungen1Click() {
    TProxyForm dialog(*this, services_, [this] { SetupHTTPGet(); });
    services_.ui->ShowModal(dialog);
}

// FormClose: every step runs even when an earlier one failed.
void TUpInew::OnClose() {
    const std::string catalogue = LocalCataloguePath(ProductDataFolder);
    if (services_.files->Exists(catalogue)) services_.files->Delete(catalogue);
    if (!ReportSent) ComposeReport(ReportReason::ClosedByCloseBox);
    services_.clock->Pause(500);
    if (IsHU2Program) StampHU2CloseDay(services_);
    SpecialTargets.clear();
    SpecialTargets.shrink_to_fit();
}

}  // namespace kv
