#include "catalogue/check_flow.h"

#include <string>

#include "catalogue/news_panel.h"
#include "network/connection.h"
#include "run/config.h"
#include "run/text_catalogue.h"

namespace kv {

namespace {
constexpr const char* ProbeAnswer = "Datei geladen";
constexpr int MessageNoConnection = 25;
constexpr int MessageCatalogueNotFetched = 23;

std::string UpdateServerAddress(const std::string& path) { return std::string(config::UpdateServerBase) + path; }
}  // namespace

CheckFlow::CheckFlow(WizardState& state, const platform::Services& services, CheckStartPage page,
                     THTTPGet& transfer, std::function<void()> rereadLocalState)
    : state_(state),
      services_(services),
      page_(std::move(page)),
      transfer_(transfer),
      rereadLocalState_(std::move(rereadLocalState)) {}

std::string CheckFlow::GL(int number) const { return CatalogueText(state_, number); }

void CheckFlow::Start() {
    CheckPage& check = page_.check;
    std::string answer;
    page_.Panel4.visible = false;
    page_.Panel1.visible = true;
    page_.Label13.caption = GL(45) + " " + state_.ProgramTitle;
    page_.Label13.width = page_.Panel2.width - 2 * page_.Label13.left;
    page_.Label13.height = 32;
    check.Label15.caption = GL(48);

    if (services_.internet->IsConnected()) {
        FetchCatalogue();
        return;
    }
    if (ProbeUrl(*services_.internet, UpdateServerAddress("/mail.txt"), answer) && answer == ProbeAnswer) {
        FetchCatalogue();
        return;
    }

    page_.TryAgainBut.caption = GL(46);
    page_.TryAgainBut.visible = true;
    check.PZu2.caption = GL(47);
    check.Label14.caption = GL(18);
    check.Label15.caption = GL(55);
    services_.dialogs->MessageBox(platform::BoxOwner::Wizard, GL(MessageNoConnection), " Fehler", platform::MbOk);
}

void CheckFlow::FetchCatalogue() {
    CheckPage& check = page_.check;
    ui::Control& button = page_.DownLoadNewVersion1;
    check.Label15.caption = GL(48);
    button.font.color = ui::ColorBlack;
    button.font.bold = false;
    button.font.italic = false;
    button.font.underline = false;
    button.enabled = false;
    check.Label14.caption = GL(17);
    check.Gauge1.position = 0;

    transfer_.OnDoneFile = [flow = *this](void*, const std::string&, std::int32_t fileSize) mutable {
        flow.Arrived(fileSize);
    };
    transfer_.OnError = [flow = *this](void*) mutable { flow.Failed(); };
    transfer_.BinaryData = false;
    transfer_.URL = UpdateServerAddress("/update.ini");
    transfer_.FileName = LocalCataloguePath(state_.ProductDataFolder);
    transfer_.GetFile();
}

void CheckFlow::Arrived(std::int32_t fileSize) {
    CheckPage& check = page_.check;
    ShowCatalogueArrived(state_, check);
    if (fileSize > 0) {
        services_.clock->Pause(1500);
        EvaluateFetchedCatalogue(state_, *services_.profile, check);
        return;
    }
    // Nothing arrived at all: the same page as a failed connection test.
    check.Label14.caption = GL(54);
    check.Label15.caption = GL(55);
    services_.dialogs->MessageBox(platform::BoxOwner::Application, GL(MessageNoConnection), " Fehler",
                                  platform::MbOk);
    page_.TryAgainBut.caption = GL(46);
    page_.TryAgainBut.visible = true;
    check.PZu2.caption = GL(47);
    page_.DownLoadNewVersion1.enabled = true;
    HideNewsPanel(check);
}

void CheckFlow::Failed() {
    ShowTransferFailed(state_, page_.check, MessageCatalogueNotFetched);
    rereadLocalState_();
}

}  // namespace kv
