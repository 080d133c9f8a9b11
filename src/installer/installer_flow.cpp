#include "installer/installer_flow.h"

#include "catalogue/installer_handover.h"
#include "catalogue/news_panel.h"
#include "installer/installer_signature.h"
#include "installer/program_start.h"
#include "platform/portable/text.h"
#include "run/config.h"
#include "run/text_catalogue.h"

namespace kv {

namespace {

constexpr int MessageInstallerNotFetched = 22;
constexpr int MessageInstallerNotStarted = 88;

std::string StartFailure(const platform::ProcessOutcome& outcome) {
    if (outcome.result == platform::StartResult::Declined) return "Start: elevation declined";
    return "Start: error " + std::to_string(outcome.error);
}

}  // namespace

InstallerFlow::InstallerFlow(WizardState& state, const platform::Services& services, InstallerPage page,
                             THTTPGet& transfer, const platform::SignerRule& signer)
    : state_(state), services_(services), page_(std::move(page)), transfer_(transfer), signer_(signer) {}

std::string InstallerFlow::GL(int number) const { return CatalogueText(state_, number); }

std::string InstallerFlow::InstallerPath() const {
    return state_.ProductDataFolder + "\\" + InstallerFileName(state_);
}

// Messages first to last as the lines of one box.
std::string InstallerFlow::MessageLines(int first, int last) const {
    std::vector<std::string> lines;
    for (int n = first; n <= last; ++n) lines.push_back(GL(n));
    return kv::text::Join(lines, "\r");
}

void InstallerFlow::InformationBox(const std::string& text) {
    services_.dialogs->MessageBox(platform::BoxOwner::Application, text, " Information",
                                  platform::MbOk | platform::MbIconInformation);
}

void InstallerFlow::ErrorBox(int message) {
    services_.dialogs->MessageBox(platform::BoxOwner::Application, GL(message), " Fehler", platform::MbOk);
}

void InstallerFlow::ShowDownloadHeading() {
    ui::Control& heading = page_.Label13;
    ui::Control& shadow = page_.Label24;
    heading.caption = GL(49) + " " + state_.ProgramTitle;
    heading.width = page_.Panel2.width - 2 * heading.left;
    heading.height = 32;
    shadow.caption = heading.caption;
    shadow.width = heading.width;
    shadow.height = heading.height;
    shadow.left = heading.left;
}

void InstallerFlow::Start() {
    CheckPage& check = page_.check;
    check.Timer2.enabled = false;
    HideNewsPanel(check);
    check.DLBut.font.color = ui::ColorBlack;
    check.DLBut.font.bold = check.DLBut.font.italic = check.DLBut.font.underline = false;
    check.DLBut.enabled = false;
    check.Label11.caption = GL(61);
    check.Label14.caption = GL(24);
    check.Gauge1.position = 0;
    state_.DownloadRunning = true;
    ShowDownloadHeading();
    transfer_.BinaryData = true;
    check.Label15.caption = GL(4);
    check.Label11.visible = true;
    check.Label10.visible = true;

    if (!UpdateFileMatchesInstaller(state_)) {
        InformationBox(MessageLines(37, 39));
        check.Gauge1.position = 0;
        check.DLBut.enabled = false;
        check.PZu2.caption = GL(47);
        return;
    }
    transfer_.OnDoneFile = [flow = *this](void*, const std::string&, std::int32_t) mutable {
        flow.Arrived(flow.transfer_.TakeHeldFile());
    };
    transfer_.OnError = [flow = *this](void*) mutable { flow.Failed(); };
    transfer_.URL = std::string(config::UpdateServerBase) + "/" + InstallerFileName(state_);
    transfer_.FileName = InstallerPath();
    transfer_.GetHeldFile();
}

void InstallerFlow::Failed() { ShowTransferFailed(state_, page_.check, MessageInstallerNotFetched); }

void InstallerFlow::ShowArrived() {
    CheckPage& check = page_.check;
    check.Label14.visible = true;
    check.Label14.caption = GL(91) + " " + check.Label4.caption + " Bitte warten...";
    page_.repaint();
    check.Label14.width = page_.Panel1.width - 2 * check.Label14.left;
    page_.repaint();
    check.Gauge1.position = 0;
    check.Label11.caption = GL(16);
    check.Label15.caption = GL(92);
    page_.repaint();
    check.Gauge1.maximum = 100;
    state_.DownloadFailed = false;
    HideNewsPanel(check);
    check.Gauge1.position = 0;
}

// The run ends without an installer, reported as downloaded, not started.
// The status line has room for one sentence; the box shows the whole message.
void InstallerFlow::RefuseInstaller(const std::string& why) {
    const std::string message = GL(MessageInstallerNotStarted);
    const std::size_t sentenceEnd = message.find(". ");
    const std::string status = sentenceEnd == std::string::npos ? message : message.substr(0, sentenceEnd + 1);
    page_.check.PZu2.caption = GL(47);
    ShowInstallerRefused(state_, page_.check, why, status, ReportReason::DownloadedNotStarted);
    ErrorBox(MessageInstallerNotStarted);
}

// The installer must not start without its hand-over.
bool InstallerFlow::HandOver() {
    try {
        WriteInstallerHandover(state_, services_);
        return true;
    } catch (const platform::IniWriteError&) {
        RefuseInstaller({});
        return false;
    }
}

// The hold ends when this returns: the installer's process exists by then,
// or the file is gone.
void InstallerFlow::StartInstaller(std::unique_ptr<platform::HeldFile> installer) {
    services_.clock->Pause(1500);
    const platform::ProcessOutcome outcome = StartProgramElevatedIfAsked(*services_.processes, installer->Path(), false);
    if (outcome.Started()) {
        page_.check.report(ReportReason::InstallerStarted);
        state_.CloseReason = CloseReasonKind::Reported;
        return;
    }
    // What did not start must not stay where a later run, or the user, could start it.
    installer->Discard();
    RefuseInstaller(StartFailure(outcome));
}

// The transfer held the installer the moment it was written, and the hold
// lasts until its start: nobody can change it between the last byte, the
// signature check and the start, nor during the boxes between. Started or
// not, the wizard has done its work and closes.
void InstallerFlow::Arrived(std::unique_ptr<platform::HeldFile> installer) {
    ShowArrived();
    if (!installer) {
        RefuseInstaller({});
    } else if (AcceptInstallerSignature(state_, page_.check, *services_.signatures, signer_, *installer) && HandOver()) {
        if (!state_.NewsAfterEn[0].empty() || !state_.NewsAfterDe[0].empty()) InformationBox(MessageLines(29, 32));
        StartInstaller(std::move(installer));
    }
    services_.clock->Pause(1000);
    page_.close();
}

}  // namespace kv
