#include "app/config.h"
#include "catalogue/check_page.h"
#include "transfer/installer_signature.h"
#include "ui/ui_host.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {

constexpr unsigned CreateNewProcessGroupNormalPriority = 0x220;  // CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS
constexpr unsigned StartfUseShowWindow = 1;
constexpr unsigned short SwShowNormal = 1;

std::string InstallerName(const TUpInew& w) { return InstallerFileName(w); }

std::string InstallerPath(const TUpInew& w) { return w.ProductDataFolder + "\\" + InstallerName(w); }

// The program path always in quotes, so that blanks in a folder name cannot
// make the system start a different program.
std::string QuotedCommandLine(const std::string& path, const std::string& parameters) {
    std::string line = "\"" + path + "\"";
    if (!parameters.empty()) line += " " + parameters;
    return line;
}

// "C:\a\b.exe" gives "C:\a", "C:\b.exe" gives "C:\", a bare name gives "".
std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    if (cut == std::string::npos) return {};
    const bool rootOfDrive = cut == 2 && path[1] == ':';
    if (path[cut] == ':' || rootOfDrive) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

std::string JoinLines(const TUpInew& w, int first, int last) {
    std::string text = w.GL(first);
    for (int n = first + 1; n <= last; ++n) {
        text += '\r';
        text += w.GL(n);
    }
    return text;
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
    ErrorBox(w, 25);
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

// The installer must not start without its hand-over: the failure is shown
// and the run is reported as downloaded, not started.
bool HandOver(TUpInew& w) {
    try {
        w.WriteInstallerHandover();
        return true;
    } catch (const platform::IniWriteError&) {
        w.CloseReason = 0;
        w.ComposeReport(22);
        w.Label14.caption = w.GL(88);
        w.PZu2.caption = w.GL(47);
        ErrorBox(w, 88);
        return false;
    }
}

void StartInstaller(TUpInew& w) {
    const std::string path = InstallerPath(w);
    if (!w.services().files->Exists(path)) {
        w.CloseReason = 0;
        w.ComposeReport(22);
        ErrorBox(w, 88);
        return;
    }
    w.ComposeReport(2);
    w.services().clock->Pause(1500);
    try {
        w.StartProcess(path, false);
    } catch (const platform::ProcessStartError&) {
        // An installer that cannot be started goes unnoticed, as a failed creation does.
    }
    w.CloseReason = 1;
}

// Started or not, the wizard has done its work and closes.
void InstallerArrived(TUpInew& w) {
    ShowInstallerArrived(w);
    if (AcceptInstallerSignature(w, InstallerPath(w)) && HandOver(w)) {
        if (!w.NewsAfterEn[0].empty() || !w.NewsAfterDe[0].empty()) InformationBox(w, JoinLines(w, 29, 32));
        StartInstaller(w);
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

    const std::string installer = InstallerName(*this);
    if (!UpdateFileMatchesInstaller(*this)) {
        InformationBox(*this, JoinLines(*this, 37, 39));
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

// Starts the program that `programPath` names, in the wizard's own
// folder. The path is quoted: a product data folder with blanks in its name
// must not let the system pick a different program.
void TUpInew::StartProcess(const std::string& programPath, bool wait) {
    platform::ProcessRequest request;
    request.commandLine = QuotedCommandLine(programPath, "");
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.wait = wait;
    services().processes->Start(request);
}

void TUpInew::RunProgram(const std::string& path, const std::string& parameters, bool wait,
                         const std::string& workingFolder) {
    platform::ProcessRequest request;
    request.commandLine = QuotedCommandLine(path, parameters);
    request.currentFolder = workingFolder.empty() ? FolderOf(path) : workingFolder;
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.startupFlags = StartfUseShowWindow;
    request.showWindow = SwShowNormal;
    request.wait = wait;
    services().processes->Start(request);
}

}  // namespace kv
