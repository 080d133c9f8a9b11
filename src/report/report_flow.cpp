#include "report/report_flow.h"

#include "inventory/ini_access.h"
#include "report/report_text.h"
#include "report/tphpunit.h"
#include "run/machine_language.h"

namespace kv {

namespace {

constexpr const char* CourtSettingsFile = "\\Karvell\\QOFolio\\hgut.ini";

ReportSurroundings Surroundings(const WizardState& state, const platform::Services& services) {
    ReportSurroundings env;
    env.now = services.clock->Now();
    env.countryCode = CountryCode(*services.system);
    env.systemLanguageName = SystemLanguageName(*services.system);
    if (state.IsQOProgram) {
        const std::string file = Process().CommonAppDataFolder + CourtSettingsFile;
        env.courtNamePart1 = ReadIniString(*services.profile, file, "AData", "1");
        env.courtNamePart2 = ReadIniString(*services.profile, file, "AData", "2");
        env.journalSetting = ReadIniInteger(*services.profile, file, "Setup", "MTBN", 99);
    }
    return env;
}

}  // namespace

void SendRunReport(ReportReason reason, WizardState& state, const platform::Services& services, TPHPunit* window) {
    if (state.ReportSent) return;
    state.ReportSent = true;
    // The run ends whatever happens to its report: nothing of a failure here
    // may reach the handler that ended it.
    try {
        if (window == nullptr) return;
        const std::vector<std::string> lines = ReportLines(reason, state, Process(), Surroundings(state, services));
        window->ListBox1 = lines;
        window->MailPHP(lines.front());
    } catch (...) {
        // Not retried and not shown.
    }
}

}  // namespace kv
