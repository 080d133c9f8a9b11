#include "wizard/tupinew.h"

namespace kv {

TUpInew::TUpInew(const platform::Services& services, TPHPunit* reportWindow)
    : ui::Form("UpInew"),
      INGetFile(*services.internet, *services.files, *services.dispatcher),
      services_(services),
      reportWindow_(reportWindow) {
    CreateControls();
}

TUpInew::~TUpInew() = default;

}  // namespace kv
