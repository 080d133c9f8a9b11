#include "wizard/tupinew.h"

#include "catalogue/check_flow.h"
#include "catalogue/installer_handover.h"
#include "installer/installer_flow.h"
#include "installer/program_start.h"
#include "inventory/inventory.h"
#include "inventory/local_state.h"
#include "report/report_flow.h"
#include "run/config.h"
#include "run/text_catalogue.h"

// The window's pages as the flows see them, and the handlers that forward to
// the flows.
namespace kv {

TUpInew::TUpInew(const platform::Services& services, TPHPunit* reportWindow)
    : ui::Form("UpInew"),
      INGetFile(*services.internet, *services.files, *services.dispatcher),
      installerSigner(platform::SignerRuleFromText(config::InstallerSigner, config::InstallerThumbprints)),
      services_(services),
      reportWindow_(reportWindow) {
    CreateControls();
}

TUpInew::~TUpInew() = default;

std::string TUpInew::GL(int number) const { return CatalogueText(*this, number); }

CheckPage TUpInew::CheckPageView() {
    return Page(clientWidth, *services_.dialogs, [this](ReportReason reason) { ComposeReport(reason); });
}

CheckFlow TUpInew::CatalogueCheck() {
    return CheckFlow(*this, services_,
                     CheckStartPage{CheckPageView(), Panel4, Panel1, Panel2, Label13, TryAgainBut, DownLoadNewVersion1},
                     INGetFile, [this] { ReadLocalState(); });
}

InstallerFlow TUpInew::InstallerDownload() {
    InstallerPage page{CheckPageView(), Panel1, Panel2, Label13, Label24, [this] { Repaint(); }, [this] { Close(); }};
    return InstallerFlow(*this, services_, std::move(page), INGetFile, installerSigner);
}

WelcomePage TUpInew::Welcome() {
    return WelcomePage{Label1, Label3, Label5,  Label6, Label7, Label8, Label9, Panel6, Pzu, DownLoadNewVersion1,
                       Label11, Label15, DLBut, PZu2,   [this] { return ConnectionKind(); }};
}

void TUpInew::DownLoadNewVersion1Click() { CatalogueCheck().Start(); }

void TUpInew::EvaluateCatalogue() {
    CheckPage page = CheckPageView();
    EvaluateFetchedCatalogue(*this, *services_.profile, page);
}

void TUpInew::DLButClick() { InstallerDownload().Start(); }

void TUpInew::WriteInstallerHandover() { kv::WriteInstallerHandover(*this, services_); }

bool TUpInew::RunProgram(const std::string& path, const std::string& parameters, bool wait,
                         const std::string& workingFolder) {
    return kv::RunProgram(*this, services_, path, parameters, wait, workingFolder);
}

void TUpInew::ComposeReport(ReportReason reason) { SendRunReport(reason, *this, services_, reportWindow_); }

void TUpInew::TakeInventory(InventoryPassCode pass) { kv::TakeInventory(*this, services_, pass); }

// The transfers take the proxy only from a version list that was found.
void TUpInew::ReadLocalState() {
    WelcomePage page = Welcome();
    if (kv::ReadLocalState(*this, services_, page)) SetupHTTPGet();
}

void TUpInew::SetupHTTPGet() { UseProxySettings(INGetFile, Process()); }

}  // namespace kv
