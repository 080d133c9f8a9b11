#include "network/tproxyform.h"

#include "run/parameters.h"
#include "run/config.h"
#include "network/connection.h"
#include "ui/app_identity.h"
#include "run/text_catalogue.h"

namespace kv {

namespace {
constexpr int MessageInvalidProxy = 74;
constexpr const char* ErrorCaption = " Fehler";
constexpr const char* TextKeys[] = {"IP", "port", "user", "paw", "cpnd"};

void PlaceField(ui::Control& label, const std::string& caption, ui::Control& edit, int top, int width,
                int tabOrder) {
    label.caption = caption;
    Place(label, 16, top + 3, 180, 16);
    Place(edit, 200, top, width, 22);
    edit.enabled = false;
    edit.tabOrder = tabOrder;
}
}  // namespace

TProxyForm::TProxyForm(const WizardState& state, const platform::Services& services, std::function<void()> proxyChanged)
    : ui::Form("ProxyForm"), state_(state), services_(services), proxyChanged_(std::move(proxyChanged)) {
    caption = "Verbindungseinstellungen";
    clientWidth = 372;
    clientHeight = 230;
    position = ui::Position::OwnerCenter;
    CreateControls();
    FormShow();
}

void TProxyForm::CreateControls() {
    Add(proxyuse);
    proxyuse.caption = " Proxy verwenden";
    Place(proxyuse, 16, 16, 200, 18);
    proxyuse.checked = true;
    proxyuse.tabOrder = 0;
    proxyuse.onClick = [this] { proxyuseClick(); };

    for (ui::Control* c : {&Label1, &proxyname, &Label2, &proxyport, &Label3, &proxyuser, &Label4, &proxypw})
        Add(*c);
    PlaceField(Label1, std::string("Proxy IP (z.B. ") + config::ExampleProxyAddress + ")", proxyname, 48, 150, 1);
    PlaceField(Label2, "Proxy Port (z.B. 3128)", proxyport, 80, 60, 2);
    PlaceField(Label3, "Proxy Benutzername", proxyuser, 112, 150, 3);
    PlaceField(Label4, "Proxy Passwort", proxypw, 144, 150, 4);
    proxyname.maxLength = 15;
    proxyport.maxLength = 4;
    proxyname.onKeyPress = proxynameKeyPress;
    proxyport.onKeyPress = proxyportKeyPress;

    Add(StyleSpeedButton3);
    StyleSpeedButton3.caption = "Proxy neu suchen";
    Place(StyleSpeedButton3, 16, 188, 124, 28);
    StyleSpeedButton3.onClick = [this] { StyleSpeedButton3Click(); };
    Add(StyleSpeedButton1);
    StyleSpeedButton1.caption = "Übernehmen";
    Place(StyleSpeedButton1, 158, 188, 96, 28);
    StyleSpeedButton1.onClick = [this] { StyleSpeedButton1Click(); };
    Add(StyleSpeedButton2);
    StyleSpeedButton2.caption = "Abbrechen";
    Place(StyleSpeedButton2, 262, 188, 96, 28);
    StyleSpeedButton2.onClick = [this] { StyleSpeedButton2Click(); };
}

void TProxyForm::EnableEdits(bool enabled) {
    for (ui::Control* edit : {&proxypw, &proxyuser, &proxyport, &proxyname}) edit->enabled = enabled;
}

void TProxyForm::FillFromSystemProxy() {
    const SystemProxy proxy = GetSystemProxy(*services_.internet, "HTTP");
    proxyname.caption = proxy.host;
    proxyport.caption = proxy.port;
}

void TProxyForm::FormShow() {
    const ProcessState& process = Process();
    if (process.UseProxy) proxyuse.checked = true;
    proxyname.caption = process.ProxyName;
    proxyport.caption = process.ProxyPortText;
    proxyuser.caption = process.ProxyUser;
    proxypw.caption = process.ProxyPassword;
    if (proxyuse.checked) EnableEdits(true);
    if (proxyname.caption.empty() && proxyport.caption.empty()) FillFromSystemProxy();
}

void TProxyForm::proxyuseClick() { EnableEdits(proxyuse.checked); }

bool TProxyForm::proxynameKeyPress(char key) { return key == '\b' || key == '.' || (key >= '0' && key <= '9'); }

bool TProxyForm::proxyportKeyPress(char key) { return key == '\b' || (key >= '0' && key <= '9'); }

void TProxyForm::StyleSpeedButton3Click() {
    FillFromSystemProxy();
    proxyuser.caption.clear();
    proxypw.caption.clear();
}

bool TProxyForm::IsValidProxyIP(const std::string& text) {
    int dots = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '.') ++dots;
    return dots == 3;
}

// A product without a section name has no version list file to keep the
// settings in; writing would create one and make the next run take it for
// the product's own. Its settings then last for this run only.
void TProxyForm::WriteKey(const std::string& key, const std::string& value) {
    if (state_.ProgramName.empty()) return;
    services_.profile->WriteString(Process().VersionListPath, state_.ProgramName, key, value);
}

void TProxyForm::StoreSettings() {
    WriteKey("IP", proxyname.caption);
    WriteKey("port", proxyport.caption);
    WriteKey("user", proxyuser.caption);
    WriteKey("paw", proxypw.caption);
    WriteKey("cpnd", proxyname.caption + ":" + proxyport.caption);
    if (proxyuse.checked) {
        WriteKey("useP", "1");
        return;
    }
    WriteKey("useP", "0");
    for (const char* key : TextKeys) WriteKey(key, "");
}

// The typed values stay in the run's settings also when proxy use is off.
void TProxyForm::TakeOverSettings() {
    ProcessState& process = Process();
    process.ProxyName = proxyname.caption;
    process.ProxyPortText = proxyport.caption;
    process.ProxyUser = proxyuser.caption;
    process.ProxyPassword = proxypw.caption;
    process.ProxyComplete = proxyname.caption + ":" + proxyport.caption;
    process.UseProxy = proxyuse.checked;
}

void TProxyForm::StyleSpeedButton1Click() {
    platform::Dialogs& dialogs = *services_.dialogs;
    proxyname.caption = CleanParameter(proxyname.caption);
    const bool valid = IsValidProxyIP(proxyname.caption);
    try {
        if (valid) {
            proxyport.caption = CleanParameter(proxyport.caption);
            StoreSettings();
        } else {
            // A plain message window: the application's title, no icon, over the dialog.
            dialogs.MessageBox(platform::BoxOwner::OpenDialog, CatalogueText(state_, MessageInvalidProxy),
                               ui::kApplicationTitle, platform::MbOk);
        }
        if (!proxyuse.checked) WriteKey("useP", "0");
        if (!state_.ProgramName.empty()) services_.profile->Flush(Process().VersionListPath);
    } catch (const platform::IniWriteError&) {
        // The run keeps its old settings; the user may correct the cause and
        // apply again, or cancel.
        dialogs.MessageBox(platform::BoxOwner::OpenDialog,
                           "Die Proxy-Einstellungen konnten nicht gespeichert werden:\r" + Process().VersionListPath,
                           ErrorCaption, platform::MbOk | platform::MbIconError);
        return;
    }
    if (!valid) return;
    TakeOverSettings();
    proxyChanged_();
    Close();
}

void TProxyForm::StyleSpeedButton2Click() { Close(); }

}  // namespace kv
