#include "wizard/tupinew.h"

namespace kv {

void TUpInew::WriteInstallerHandover() {}

}  // namespace kv
