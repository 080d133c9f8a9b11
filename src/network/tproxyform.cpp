#include "network/tproxyform.h"

namespace kv {

TProxyForm::TProxyForm(TUpInew& wizard) : ui::Form("ProxyForm"), wizard_(wizard) {
    caption = "Verbindungseinstellungen";
    clientWidth = 372;
    clientHeight = 230;
    position = ui::Position::OwnerCenter;
}

}  // namespace kv
