#include "wizard/tupinew.h"

namespace kv {

void TUpInew::DownLoadNewVersion1Click() {}
bool TUpInew::IsInternetConnected() { return false; }
void TUpInew::StartCatalogueFetch() {}

}  // namespace kv
