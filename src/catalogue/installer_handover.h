#pragma once
#include "platform/services.h"
#include "run/wizard_state.h"

namespace kv {

// Leaves the installer its hand-over file KVInn000.lst in the product's data
// folder: the offered version, its date and size, the version list file, the
// product section and the action number. A refused write raises
// platform::IniWriteError.
void WriteInstallerHandover(const WizardState& state, const platform::Services& services);

}  // namespace kv
