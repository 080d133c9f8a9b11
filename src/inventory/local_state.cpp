#include "inventory/local_state.h"

#include "inventory/ini_access.h"
#include "inventory/kept_state.h"
#include "inventory/version_text.h"
#include "network/connection.h"
#include "run/text_catalogue.h"

namespace kv {

namespace {

constexpr const char* NoEntry = "kein Eintrag";
constexpr int MessageProxyNotSaved = 94;

// The run's state and services, and the page the local state fills.
struct Reading {
    WizardState& w;
    const platform::Services& services;
    WelcomePage& page;
    std::string GL(int number) const { return CatalogueText(w, number); }
};

void ShowError(const Reading& r, const std::string& text) {
    r.services.dialogs->MessageBox(platform::BoxOwner::Wizard, text, " Fehler", platform::MbIconError);
}

// The welcome texts fill the panel, keeping the label's left margin on both sides.
void FitToPanel(ui::Control& label, const ui::Control& panel) { label.width = panel.width - 2 * label.left; }

void ShowMissingReference(const Reading& r) {
    r.page.DownLoadNewVersion1.enabled = false;
    r.page.Pzu.caption = r.GL(47);
    r.page.Label8.caption = r.GL(50);
    FitToPanel(r.page.Label8, r.page.Panel6);
    r.page.Label8.height = 40;
    r.page.DownLoadNewVersion1.caption = r.GL(44);
    r.page.Label9.caption = r.GL(52);
    FitToPanel(r.page.Label9, r.page.Panel6);
    r.page.Label9.height = 40;
    r.page.Label1.caption = r.GL(42);
    FitToPanel(r.page.Label1, r.page.Panel6);
    r.page.Label1.height = 80;
    r.w.ProductReference = ProductReferenceKind::NoReference;
}

// A stored proxy is switched off when the system shows a direct or dial-up
// connection; a useP of 2 means the user insists. An unknown kind (a broken
// dial-up library) keeps the stored choice. A refused write is shown, and the
// run goes on without the proxy: the welcome page still fills.
void CorrectProxyUse(const Reading& r, const std::string& list, int useP) {
    const std::optional<int> kind = r.page.connectionKind();
    if (useP != 1 || (kind != ConnectionDirect && kind != ConnectionDialUp)) return;
    Process().UseProxy = false;
    platform::Profile& profile = *r.services.profile;
    try {
        profile.WriteString(list, r.w.ProgramName, "useP", "0");
        profile.Flush(list);
    } catch (const platform::IniWriteError&) {
        ShowError(r, r.GL(MessageProxyNotSaved) + "\r" + list);
    }
}

void ReadProductSection(const Reading& r) {
    ProcessState& process = Process();
    const std::string& list = process.VersionListPath;
    platform::Profile& profile = *r.services.profile;
    const auto text = [&](const char* key) { return ReadIniString(profile, list, r.w.ProgramName, key); };

    if (!ReadKeptState(profile, list, r.w)) return;
    r.page.Label5.caption = r.w.InstalledVersion;
    const int useP = ReadIniInteger(profile, list, r.w.ProgramName, "useP");
    process.UseProxy = useP != 0;
    CorrectProxyUse(r, list, useP);
    if (!process.UseProxy) return;
    process.ProxyName = text("IP");
    process.ProxyPortText = text("port");
    process.ProxyUser = text("user");
    process.ProxyPassword = text("paw");
    process.ProxyComplete = text("cpnd");
}

void ReadCourtRegisterSettings(const Reading& r) {
    const std::string file = Process().CommonAppDataFolder + "\\Karvell\\QOFolio\\hgut.ini";
    platform::Profile& profile = *r.services.profile;
    r.w.QOAgent = profile.ReadString(file, "QOData", "Agent", NoEntry);
    r.w.QOEMail = profile.ReadString(file, "QOData", "EMail", NoEntry);
    r.w.QOPhone = profile.ReadString(file, "QOData", "Telefon", NoEntry);
    r.w.SerialNumberText = profile.ReadString(file, "Setup", "HT", NoEntry);
}

void FillWelcomeTexts(const Reading& r) {
    r.page.Label7.caption = FormatDisplayDate(r.w.LastUpdateDate);
    r.page.DownLoadNewVersion1.caption = r.GL(44);
    r.page.Label1.caption = r.GL(3) + " " + r.w.ProgramTitle + " " + r.GL(42);
    FitToPanel(r.page.Label1, r.page.Panel6);
    r.page.Label8.caption = r.GL(1);
    FitToPanel(r.page.Label8, r.page.Panel6);
    r.page.Label9.caption = r.GL(43);
    FitToPanel(r.page.Label9, r.page.Panel6);
    r.page.Label15.caption = r.GL(48);
}

}  // namespace

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

bool ReadLocalState(WizardState& w, const platform::Services& services, WelcomePage& page) {
    const Reading r{w, services, page};
    page.Label1.font.color = ui::ColorBlack;
    page.Pzu.caption = r.GL(47);
    page.DLBut.caption = r.GL(8);
    page.PZu2.caption = r.GL(7);
    page.Label3.caption = r.GL(12);
    page.Label6.caption = r.GL(15);
    w.DownloadRunning = false;
    page.Label11.caption.clear();

    const std::string staleCatalogue = LocalCataloguePath(w.ProductDataFolder);
    if (services.files->Exists(staleCatalogue)) services.files->Delete(staleCatalogue);

    const std::string& list = Process().VersionListPath;
    if (w.ProductReference == ProductReferenceKind::CommonDataFolder && !services.files->Exists(list)) {
        const std::string shipped = w.ExeFolder + "\\" + w.ParaINI;
        if (services.files->Exists(shipped)) services.files->Copy(shipped, list, true);
        services.clock->Pause(1000);
    }
    if (!services.files->Exists(list)) {
        ShowMissingReference(r);
        return false;
    }
    ReadProductSection(r);
    FillWelcomeTexts(r);
    if (w.IsQOProgram) ReadCourtRegisterSettings(r);
    return true;
}

}  // namespace kv
