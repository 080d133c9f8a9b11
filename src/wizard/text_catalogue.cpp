#include "wizard/tupinew.h"

namespace kv {

std::string TUpInew::GL(int) const { return {}; }

}  // namespace kv
