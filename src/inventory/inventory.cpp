#include "wizard/tupinew.h"

namespace kv {

void TUpInew::TakeInventory(std::uint8_t) {}

}  // namespace kv
