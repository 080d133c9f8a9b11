#include "run/wizard_state.h"

namespace kv {

ProcessState& Process() {
    static ProcessState state;
    return state;
}

std::string LocalCataloguePath(const std::string& productDataFolder) { return productDataFolder + "\\update.ini"; }

}  // namespace kv
