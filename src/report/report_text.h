#pragma once
#include <string>
#include <vector>

#include "platform/clock.h"
#include "report/report_reason.h"
#include "run/wizard_state.h"

namespace kv {

// What the report carries beyond the wizard state: the moment it is composed,
// the machine's language facts and the court-register settings file.
struct ReportSurroundings {
    platform::LocalDateTime now;
    int countryCode = 0;
    std::string systemLanguageName;
    std::string courtNamePart1;  // hgut.ini [AData] 1
    std::string courtNamePart2;  // hgut.ini [AData] 2
    int journalSetting = 99;     // hgut.ini [Setup] MTBN
};

// The most characters of a value the update server sent that a report line
// carries.
inline constexpr std::size_t ServerValueLimit = 64;

// The report's line that says why it was sent; null for a reason without one.
const char* ReasonLine(ReportReason reason);

// "NetRefresh: " + AppName, for the court-register family + " - " + QOAgent.
std::string ReportSubject(const WizardState& state);

// Every line of the report in order; the first one is the subject.
std::vector<std::string> ReportLines(ReportReason reason, const WizardState& state, const ProcessState& process,
                                     const ReportSurroundings& surroundings);

// "dd.mm.yyyy hh:mm:ss"; at exactly midnight only the date.
std::string ReportTimestamp(const platform::LocalDateTime& moment);

}  // namespace kv
