#pragma once
#include <string>

#include "platform/profile.h"
#include "run/wizard_state.h"

namespace kv {

// The update state that the product's version list file `list` keeps: its
// program name, installed version (the recorded one when the file holds none),
// title, last update date, action number and restart program. Returns false,
// leaving the rest untouched, when the file names no program section.
bool ReadKeptState(platform::Profile& profile, const std::string& list, WizardState& state);

}  // namespace kv
