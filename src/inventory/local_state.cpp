#include "wizard/tupinew.h"

namespace kv {

void TUpInew::ReadLocalState() {}
void TUpInew::SetupHTTPGet() {}

}  // namespace kv
