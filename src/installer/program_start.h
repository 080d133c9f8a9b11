#pragma once
#include <string>

#include "platform/process.h"
#include "platform/services.h"
#include "run/wizard_state.h"

namespace kv {

// Starts the program that `programPath` names, in the wizard's own folder.
// A program whose manifest asks for administrator rights is started again
// the way that makes Windows ask the user for consent.
platform::ProcessOutcome StartProgramElevatedIfAsked(platform::Processes& processes, const std::string& programPath,
                                                     bool wait);

// Where the inventory found the product installed; without that, the
// wizard's own folder, which a product ships the wizard in.
std::string ProductFolder(const WizardState& state);

// Starts the program `path` names, which may come from the catalogue: only an
// existing program inside the product's own folder. False when nothing
// started: the path named no such program, or the system did not start it.
bool RunProgram(const WizardState& state, const platform::Services& services, const std::string& path,
                const std::string& parameters, bool wait, const std::string& workingFolder);

}  // namespace kv
