#include "run/config.h"
#include "catalogue/check_page.h"
#include "installer/installer_signature.h"
#include "installer/restart_rule.h"
#include "platform/portable/text.h"
#include "ui/ui_host.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {

constexpr unsigned CreateNewProcessGroupNormalPriority = 0x220;  // CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS
constexpr unsigned StartfUseShowWindow = 1;
constexpr unsigned short SwShowNormal = 1;

constexpr int MessageNoConnection = 25;
constexpr int MessageInstallerNotStarted = 88;

std::string InstallerPath(const TUpInew& w) { return w.ProductDataFolder + "\\" + InstallerFileName(w); }

// "C:\a\b.exe" gives "C:\a", "C:\b.exe" gives "C:\", a bare name gives "".
std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    if (cut == std::string::npos) return {};
    const bool rootOfDrive = cut == 2 && path[1] == ':';
    if (path[cut] == ':' || rootOfDrive) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

// Messages first to last as the lines of one box.
std::string MessageLines(const TUpInew& w, int first, int last) {
    std::vector<std::string> lines;
    for (int n = first; n <= last; ++n) lines.push_back(w.GL(n));
    return kv::text::Join(lines, "\r");
}

void InformationBox(TUpInew& w, const std::string& text) {
    w.services().dialogs->MessageBox(platform::BoxOwner::Application, text, " Information",
                                     platform::MbOk | platform::MbIconInformation);
}

void ErrorBox(TUpInew& w, int message) {
    w.services().dialogs->MessageBox(platform::BoxOwner::Application, w.GL(message), " Fehler", platform::MbOk);
}

void HidePanel3(TUpInew& w) {
    w.Panel3.visible = false;
    w.Panel3.width = 0;
}

void ShowDownloadHeading(TUpInew& w) {
    w.Label13.caption = w.GL(49) + " " + w.ProgramTitle;
    w.Label13.width = w.Panel2.width - 2 * w.Label13.left;
    w.Label13.height = 32;
    w.Label24.caption = w.Label13.caption;
    w.Label24.width = w.Label13.width;
    w.Label24.height = w.Label13.height;
    w.Label24.left = w.Label13.left;
}

void CatalogueArrived(TUpInew& w, std::int32_t fileSize) {
    CheckPage page = w.CheckPageView();
    ShowCatalogueArrived(w, page);
    if (fileSize > 0) {
        w.services().clock->Pause(1500);
        w.EvaluateCatalogue();
        return;
    }
    // Nothing arrived at all: the same page as a failed connection test.
    w.Label14.caption = w.GL(54);
    w.Label15.caption = w.GL(55);
    ErrorBox(w, MessageNoConnection);
    w.TryAgainBut.caption = w.GL(46);
    w.TryAgainBut.visible = true;
    w.PZu2.caption = w.GL(47);
    w.DownLoadNewVersion1.enabled = true;
    HidePanel3(w);
}

void ShowInstallerArrived(TUpInew& w) {
    w.Label14.visible = true;
    w.Label14.caption = w.GL(91) + " " + w.Label4.caption + " Bitte warten...";
    w.Repaint();
    w.Label14.width = w.Panel1.width - 2 * w.Label14.left;
    w.Repaint();
    w.Gauge1.position = 0;
    w.Label11.caption = w.GL(16);
    w.Label15.caption = w.GL(92);
    w.Repaint();
    w.Gauge1.maximum = 100;
    w.DownloadFailed = false;
    HidePanel3(w);
    w.Gauge1.position = 0;
}

// The run ends without an installer: the headline must not say that the
// installation starts, and the run is reported as downloaded, not started,
// with `why` below the update file's line when there is more to say.
// The status line has room for one sentence; the box shows the whole message.
void RefuseInstaller(TUpInew& w, const std::string& why) {
    const std::string message = w.GL(MessageInstallerNotStarted);
    const std::size_t sentenceEnd = message.find(". ");
    w.CloseReason = CloseReasonKind::NothingEvaluated;
    w.InstallerRefusal = why;
    w.Label14.caption = sentenceEnd == std::string::npos ? message : message.substr(0, sentenceEnd + 1);
    w.Label15.caption.clear();
    w.PZu2.caption = w.GL(47);
    w.ComposeReport(ReportReason::DownloadedNotStarted);
    ErrorBox(w, MessageInstallerNotStarted);
}

// The installer must not start without its hand-over.
bool HandOver(TUpInew& w) {
    try {
        w.WriteInstallerHandover();
        return true;
    } catch (const platform::IniWriteError&) {
        RefuseInstaller(w, {});
        return false;
    }
}

std::string StartFailure(const platform::ProcessOutcome& outcome) {
    if (outcome.result == platform::StartResult::Declined) return "Start: elevation declined";
    return "Start: error " + std::to_string(outcome.error);
}

// The hold ends when this returns: the installer's process exists by then,
// or the file is gone.
void StartInstaller(TUpInew& w, std::unique_ptr<platform::HeldFile> installer) {
    w.services().clock->Pause(1500);
    const platform::ProcessOutcome outcome = w.StartProcess(installer->Path(), false);
    if (outcome.Started()) {
        w.ComposeReport(ReportReason::InstallerStarted);
        w.CloseReason = CloseReasonKind::Reported;
        return;
    }
    // What did not start must not stay where a later run, or the user, could start it.
    installer->Discard();
    RefuseInstaller(w, StartFailure(outcome));
}

// The installer is held from here until its start: nobody can change it
// between the signature check and the start, nor during the boxes between.
// Started or not, the wizard has done its work and closes.
void InstallerArrived(TUpInew& w) {
    ShowInstallerArrived(w);
    std::unique_ptr<platform::HeldFile> installer = w.services().files->Hold(InstallerPath(w));
    if (!installer) {
        RefuseInstaller(w, {});
    } else if (AcceptInstallerSignature(w, *installer) && HandOver(w)) {
        if (!w.NewsAfterEn[0].empty() || !w.NewsAfterDe[0].empty()) InformationBox(w, MessageLines(w, 29, 32));
        StartInstaller(w, std::move(installer));
    }
    w.services().clock->Pause(1000);
    w.Close();
}

}  // namespace

void TUpInew::DLButClick() {
    Timer2.enabled = false;
    HidePanel3(*this);
    DLBut.font.color = ui::ColorBlack;
    DLBut.font.bold = DLBut.font.italic = DLBut.font.underline = false;
    DLBut.enabled = false;
    Label11.caption = GL(61);
    Label14.caption = GL(24);
    Gauge1.position = 0;
    DownloadRunning = true;
    ShowDownloadHeading(*this);
    INGetFile.BinaryData = true;
    Label15.caption = GL(4);
    Label11.visible = true;
    Label10.visible = true;

    const std::string installer = InstallerFileName(*this);
    if (!UpdateFileMatchesInstaller(*this)) {
        InformationBox(*this, MessageLines(*this, 37, 39));
        Gauge1.position = 0;
        DLBut.enabled = false;
        PZu2.caption = GL(47);
        return;
    }
    INGetFile.URL = std::string(config::UpdateServerBase) + "/" + installer;
    INGetFile.FileName = InstallerPath(*this);
    INGetFile.GetFile();
}

void TUpInew::INGetFileProgress(void*, std::int32_t totalSize, std::int32_t readed) {
    Gauge1.maximum = totalSize;
    Gauge1.position = readed;
    const std::string read = std::to_string(readed), total = std::to_string(totalSize);
    Label11.caption = Language == 1 ? read + " Bytes von " + total + " Bytes geladen"
                                    : read + " Bytes of " + total + " Bytes retrived";
    Label11.left = services().ui->TextWidth(Label10.font, Label10.caption) + Label10.left + 5;
    if (Panel3.visible) HidePanel3(*this);
}

void TUpInew::INGetFileDoneFile(void*, const std::string&, std::int32_t fileSize) {
    if (DownloadRunning) InstallerArrived(*this);
    else CatalogueArrived(*this, fileSize);
}

void TUpInew::INGetFileError(void*) {
    Label14.caption = GL(DownloadRunning ? 22 : 23);
    DownloadFailed = true;
    Gauge1.position = 0;
    DLBut.enabled = false;
    PZu2.caption = GL(47);
    if (!DownloadRunning) ReadLocalState();
}

// Starts the program that `programPath` names, in the wizard's own folder.
// A program whose manifest asks for administrator rights is started again
// the way that makes Windows ask the user for consent.
platform::ProcessOutcome TUpInew::StartProcess(const std::string& programPath, bool wait) {
    platform::ProcessRequest request;
    request.program = programPath;
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.wait = wait;
    platform::Processes& processes = *services().processes;
    const platform::ProcessOutcome outcome = processes.Start(request);
    if (outcome.result != platform::StartResult::ElevationRequired) return outcome;
    return processes.StartElevated(request);
}

// The path may come from the catalogue, which travels over the network: only
// an existing program inside the product's own folder is started.
bool TUpInew::RunProgram(const std::string& path, const std::string& parameters, bool wait,
                         const std::string& workingFolder) {
    const RestartDecision program = JudgeRestartProgram(path, ProductFolder(), *services().files);
    if (!program.Accepted()) return false;
    platform::ProcessRequest request;
    request.program = program.path;
    request.parameters = parameters;
    request.currentFolder = workingFolder.empty() ? FolderOf(program.path) : workingFolder;
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.startupFlags = StartfUseShowWindow;
    request.showWindow = SwShowNormal;
    request.wait = wait;
    return services().processes->Start(request).Started();
}

// Where the inventory found the product installed; without that, the
// wizard's own folder, which a product ships the wizard in.
std::string TUpInew::ProductFolder() const { return InstallPath.empty() ? ExeFolder : InstallPath.str(); }

}  // namespace kv
