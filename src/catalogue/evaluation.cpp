#include "wizard/tupinew.h"

namespace kv {

void TUpInew::EvaluateCatalogue() {}

}  // namespace kv
