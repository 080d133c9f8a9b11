#pragma once
#include <string>
#include <vector>

#include "run/wizard_state.h"

namespace kv {

// The light rule: the first "^" becomes a blank, the first "§" and then the
// first "$" are deleted, and trailing blanks and control characters go.
std::string TrimParameter(const std::string& text);

// The strict rule: TrimParameter, then every character of code 32 or less goes.
std::string CleanParameter(const std::string& text);

// The call parameters (at least three) as the run's names: product key,
// folder, edition letters and list file, the catalogue section they read and
// the product family that the list file names.
void TakeCallParameters(WizardState& state, const std::vector<std::string>& parameters);

}  // namespace kv
