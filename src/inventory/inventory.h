#pragma once
#include "platform/services.h"
#include "run/wizard_state.h"

namespace kv {

// Finds which product of the family called and where it keeps its data, from
// the version list file's name and the product's registry key. A registry
// value of the wrong type is shown in a box and ends the pass where it
// stands.
void TakeInventory(WizardState& state, const platform::Services& services, InventoryPassCode pass);

}  // namespace kv
