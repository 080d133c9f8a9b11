#include <optional>

#include "catalogue/catalogue_decision.h"
#include "inventory/version_text.h"
#include "inventory/kept_state.h"
#include "inventory/ini_access.h"
#include "network/connection.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {

constexpr const char* NoEntry = "kein Eintrag";
constexpr int MessageProxyNotSaved = 94;

void ShowError(const TUpInew& wizard, const std::string& text) {
    wizard.services().dialogs->MessageBox(platform::BoxOwner::Wizard, text, " Fehler", platform::MbIconError);
}

// The welcome texts fill the panel, keeping the label's left margin on both sides.
void FitToPanel(ui::Control& label, const ui::Control& panel) { label.width = panel.width - 2 * label.left; }

void ShowMissingReference(TUpInew& w) {
    w.DownLoadNewVersion1.enabled = false;
    w.Pzu.caption = w.GL(47);
    w.Label8.caption = w.GL(50);
    FitToPanel(w.Label8, w.Panel6);
    w.Label8.height = 40;
    w.DownLoadNewVersion1.caption = w.GL(44);
    w.Label9.caption = w.GL(52);
    FitToPanel(w.Label9, w.Panel6);
    w.Label9.height = 40;
    w.Label1.caption = w.GL(42);
    FitToPanel(w.Label1, w.Panel6);
    w.Label1.height = 80;
    w.ProductReference = ProductReferenceKind::NoReference;
}

// A stored proxy is switched off when the system shows a direct or dial-up
// connection; a useP of 2 means the user insists. An unknown kind (a broken
// dial-up library) keeps the stored choice. A refused write is shown, and the
// run goes on without the proxy: the welcome page still fills.
void CorrectProxyUse(TUpInew& w, const std::string& list, int useP) {
    const std::optional<int> kind = w.ConnectionKind();
    if (useP != 1 || (kind != ConnectionDirect && kind != ConnectionDialUp)) return;
    Process().UseProxy = false;
    platform::Profile& profile = *w.services().profile;
    try {
        profile.WriteString(list, w.ProgramName, "useP", "0");
        profile.Flush(list);
    } catch (const platform::IniWriteError&) {
        ShowError(w, w.GL(MessageProxyNotSaved) + "\r" + list);
    }
}

void ReadProductSection(TUpInew& w) {
    ProcessState& process = Process();
    const std::string& list = process.VersionListPath;
    platform::Profile& profile = *w.services().profile;
    const auto text = [&](const char* key) { return ReadIniString(profile, list, w.ProgramName, key); };

    if (!ReadKeptState(profile, list, w)) return;
    w.Label5.caption = w.InstalledVersion;
    const int useP = ReadIniInteger(profile, list, w.ProgramName, "useP");
    process.UseProxy = useP != 0;
    CorrectProxyUse(w, list, useP);
    if (!process.UseProxy) return;
    process.ProxyName = text("IP");
    process.ProxyPortText = text("port");
    process.ProxyUser = text("user");
    process.ProxyPassword = text("paw");
    process.ProxyComplete = text("cpnd");
}

void ReadCourtRegisterSettings(TUpInew& w) {
    const std::string file = Process().CommonAppDataFolder + "\\Karvell\\QOFolio\\hgut.ini";
    platform::Profile& profile = *w.services().profile;
    w.QOAgent = profile.ReadString(file, "QOData", "Agent", NoEntry);
    w.QOEMail = profile.ReadString(file, "QOData", "EMail", NoEntry);
    w.QOPhone = profile.ReadString(file, "QOData", "Telefon", NoEntry);
    w.SerialNumberText = profile.ReadString(file, "Setup", "HT", NoEntry);
}

void FillWelcomeTexts(TUpInew& w) {
    w.Label7.caption = FormatDisplayDate(w.LastUpdateDate);
    w.DownLoadNewVersion1.caption = w.GL(44);
    w.Label1.caption = w.GL(3) + " " + w.ProgramTitle + " " + w.GL(42);
    FitToPanel(w.Label1, w.Panel6);
    w.Label8.caption = w.GL(1);
    FitToPanel(w.Label8, w.Panel6);
    w.Label9.caption = w.GL(43);
    FitToPanel(w.Label9, w.Panel6);
    w.Label15.caption = w.GL(48);
}

}  // namespace

std::optional<int> TUpInew::ConnectionKind() {
    try {
        return DetectConnection(*services_.registry, *services_.remoteAccess);
    } catch (const ERasError& error) {
        if (!dialUpFailureShown_)
            services_.dialogs->MessageBox(platform::BoxOwner::Application, error.what(), " Fehler",
                                          platform::MbIconError);
        dialUpFailureShown_ = true;
        return std::nullopt;
    }
}

bool ReadKeptState(platform::Profile& profile, const std::string& list, WizardState& state) {
    const auto text = [&](const char* key) { return ReadIniString(profile, list, state.ProgramName, key); };
    state.ProgramName = ReadIniString(profile, list, "PName", "name");
    if (state.ProgramName.empty()) return false;
    state.InstalledVersion = profile.ReadString(list, state.ProgramName, "verinfo", "0");
    if (state.InstalledVersion == "0" || state.InstalledVersion.empty()) state.InstalledVersion = state.RecordedVersion;
    state.InstalledVersionNumber = VersionNumber(state.InstalledVersion);
    state.ProgramTitle = text("prog");
    state.LastUpdateDate = text("dat");
    if (state.LastUpdateDate.empty()) state.LastUpdateDate = state.LastInstallDate;
    state.LocalSpecAction = ReadIniInteger(profile, list, state.ProgramName, "ActS");
    state.RestartProgram = text("exc");
    return true;
}

void TUpInew::ReadLocalState() {
    const platform::Services& s = services();
    Label1.font.color = ui::ColorBlack;
    Pzu.caption = GL(47);
    DLBut.caption = GL(8);
    PZu2.caption = GL(7);
    Label3.caption = GL(12);
    Label6.caption = GL(15);
    DownloadRunning = false;
    Label11.caption.clear();

    const std::string staleCatalogue = LocalCataloguePath(ProductDataFolder);
    if (s.files->Exists(staleCatalogue)) s.files->Delete(staleCatalogue);

    const std::string& list = Process().VersionListPath;
    if (ProductReference == ProductReferenceKind::CommonDataFolder && !s.files->Exists(list)) {
        const std::string shipped = ExeFolder + "\\" + ParaINI;
        if (s.files->Exists(shipped)) s.files->Copy(shipped, list, true);
        s.clock->Pause(1000);
    }
    if (!s.files->Exists(list)) {
        ShowMissingReference(*this);
        return;
    }
    ReadProductSection(*this);
    if (Process().UseProxy) {
        SetupHTTPGet();
    } else {
        INGetFile.ConectLan = ctNone;
        INGetFile.ProxyPort.clear();
    }
    FillWelcomeTexts(*this);
    if (IsQOProgram) ReadCourtRegisterSettings(*this);
}

void TUpInew::SetupHTTPGet() {
    const ProcessState& process = Process();
    if (process.UseProxy) {
        INGetFile.ConectLan = ctProxy;
        INGetFile.ProxyPort = process.ProxyComplete;
        INGetFile.Password = process.ProxyPassword;
        INGetFile.UserName = process.ProxyUser;
    } else {
        INGetFile.ConectLan = ctNone;
        INGetFile.ProxyPort.clear();
        INGetFile.Password.clear();
        INGetFile.UserName.clear();
    }
}

}  // namespace kv
