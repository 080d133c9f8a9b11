#pragma once
#include "catalogue/check_page.h"

namespace kv {

// Timer2's tick: the news or information lines in the news panel, and the
// install hint under an offer.
void ShowNewsPanel(const WizardState& state, CheckPage& page);

// A transfer under way takes the news panel's room.
void HideNewsPanel(CheckPage& page);

}  // namespace kv
