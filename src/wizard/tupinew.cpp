#include "wizard/tupinew.h"

#include "run/config.h"
#include "catalogue/check_page.h"
#include "run/text_catalogue.h"

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
    return CheckPage{Label15, Label14, Label18, Label4, Label2, Label17, Label16, Label19, Label10, Label11, Gauge1,
                     DLBut,   PZu2,    Panel3,  Memo1,  Timer2, clientWidth,
                     *services_.dialogs, [this](ReportReason reason) { ComposeReport(reason); }};
}

}  // namespace kv
