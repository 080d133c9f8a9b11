#include "run/wizard_state.h"

namespace kv {

ProcessState& Process() {
    static ProcessState state;
    return state;
}

}  // namespace kv
