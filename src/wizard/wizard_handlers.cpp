#include "wizard/tupinew.h"

namespace kv {

void TUpInew::PzuClick() {}
void TUpInew::TryAgainButClick() {}
void TUpInew::Timer2Timer() {}
void TUpInew::Timer3Timer() {}
void TUpInew::menueClick() {}
void TUpInew::Informationen1Click() {}
void TUpInew::Label22Click() {}
void TUpInew::Datenschutzinformationen1Click() {}
void TUpInew::ProxyEinstellungen1Click() {}
void TUpInew::OnClose() {}

}  // namespace kv
