#include "wizard/tupinew.h"

#include "app/config.h"

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

}  // namespace kv
