#pragma once
#include "platform/services.h"
#include "report/report_reason.h"
#include "run/wizard_state.h"

namespace kv {

class TPHPunit;

// Sends the run's one report: the first reason asked for wins, later ones do
// nothing. Without a report window nothing is sent, but the run still counts
// as reported.
void SendRunReport(ReportReason reason, WizardState& state, const platform::Services& services, TPHPunit* window);

}  // namespace kv
