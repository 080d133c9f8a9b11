#include <string>

#include "catalogue/catalogue_decision.h"
#include "run/config.h"
#include "network/connection.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {
constexpr const char* ProbeAnswer = "Datei geladen";

std::string UpdateServerAddress(const std::string& path) { return std::string(config::UpdateServerBase) + path; }
}  // namespace

void TUpInew::DownLoadNewVersion1Click() {
    std::string answer;
    Panel4.visible = false;
    Panel1.visible = true;
    Label13.caption = GL(45) + " " + ProgramTitle;
    Label13.width = Panel2.width - 2 * Label13.left;
    Label13.height = 32;
    Label15.caption = GL(48);

    if (IsInternetConnected()) {
        StartCatalogueFetch();
        return;
    }
    if (ProbeUrl(*services().internet, UpdateServerAddress("/mail.txt"), answer) && answer == ProbeAnswer) {
        StartCatalogueFetch();
        return;
    }

    TryAgainBut.caption = GL(46);
    TryAgainBut.visible = true;
    PZu2.caption = GL(47);
    Label14.caption = GL(18);
    Label15.caption = GL(55);
    services().dialogs->MessageBox(platform::BoxOwner::Wizard, GL(25), " Fehler", platform::MbOk);
}

bool TUpInew::IsInternetConnected() { return services().internet->IsConnected(); }

void TUpInew::StartCatalogueFetch() {
    Label15.caption = GL(48);
    DownLoadNewVersion1.font.color = ui::ColorBlack;
    DownLoadNewVersion1.font.bold = false;
    DownLoadNewVersion1.font.italic = false;
    DownLoadNewVersion1.font.underline = false;
    DownLoadNewVersion1.enabled = false;
    Label14.caption = GL(17);
    Gauge1.position = 0;

    INGetFile.BinaryData = false;
    INGetFile.URL = UpdateServerAddress("/update.ini");
    INGetFile.FileName = LocalCataloguePath(ProductDataFolder);
    INGetFile.GetFile();
}

}  // namespace kv
