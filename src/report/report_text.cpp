#include "report/report_text.h"

#include "run/german_format.h"
#include "run/config.h"

namespace kv {

namespace {

const std::string S47(47, '=');
const std::string S56(56, '=');

const char* JournalLine(int setting) {
    switch (setting) {
        case 0: return "Manuelle TGB-Nr: automatik";
        case 1: return "Manuelle TGB-Nr: manuell";
        case 99: return "Manuelle TGB-Nr: undefiniert";
        default: return nullptr;
    }
}

// The report travels in a plain address and ends up in a mailbox: it says
// only whether a proxy password is set, never the password itself.
std::string MaskedPassword(const std::string& password) { return password.empty() ? "" : "********"; }

using Lines = std::vector<std::string>;

// The lines both forms of the status before the update begin with.
void AddStatusHead(Lines& out, const char* heading, const WizardState& s, const ReportSurroundings& env) {
    out.push_back(S47);
    out.push_back(heading);
    out.push_back("Install Path: " + s.InstallPath);
    out.push_back("PC-Name: " + s.AppPC);
    out.push_back("OS-Version: " + s.OsVersionText);
    out.push_back("OS-Language: " + std::to_string(env.countryCode));
    out.push_back("OS-Language: " + env.systemLanguageName);
}

void AddInstalledVersion(Lines& out, const WizardState& s) {
    out.push_back("Version (Net/Stand): " + s.NetStandVersion);
    out.push_back("Old Version: " + s.InstalledVersion);
    out.push_back("Last Inst/Update Date: " + s.LastInstallDate);
}

void AddPortableStatus(Lines& out, const WizardState& s, const ReportSurroundings& env) {
    AddStatusHead(out, "Parameters from portable = status before update", s, env);
    AddInstalledVersion(out, s);
    out.push_back("End parameters from portable");
    out.push_back(S47);
}

void AddRegistryStatus(Lines& out, const WizardState& s, const ReportSurroundings& env) {
    AddStatusHead(out, "Parameters from registry = status before update", s, env);
    out.push_back("Company: " + s.Company);
    out.push_back("Current User: " + s.CurrentUser);
    out.push_back("Install User: " + s.InstallUser);
    out.push_back("Schriftauflösung: " + std::to_string(s.ScreenDpi));
    out.push_back("First Install Date: " + s.FirstInstallDate);
    AddInstalledVersion(out, s);
    out.push_back("Update Init " + s.UpdateInitText);
    out.push_back(S47);
}

void AddCourtRegister(Lines& out, const WizardState& s, const ReportSurroundings& env) {
    out.push_back("Ortsgerichtsprogramm =========================");
    out.push_back("QO ID: " + s.QOId);
    out.push_back("QO Bezeichnung: " + s.QOAgent);
    out.push_back("QO SpecAction: " + std::to_string(s.CatalogueSpecAction));
    out.push_back("QO Seriennummer: " + s.SerialNumberText);
    out.push_back("QO EMail: " + s.QOEMail);
    out.push_back("QO Telefon: " + s.QOPhone);
    out.push_back("Amtsgericht Name: " + env.courtNamePart1 + " " + env.courtNamePart2);
    out.push_back("Settings QOProg");
    if (const char* journal = JournalLine(env.journalSetting)) out.push_back(journal);
}

void AddCall(Lines& out, const WizardState& s) {
    out.push_back(S47);
    out.push_back("Call parameters");
    out.push_back("ParaName: " + s.ParaName);
    out.push_back("ParaFile: " + s.ParaFile);
    out.push_back("ParaChar: " + s.ParaChar);
    out.push_back("ParaINI: " + s.ParaINI);
    out.push_back(S47);
    out.push_back("MAC AD: " + s.AdapterAddressText);
    out.push_back(S47);
}

// What the update server sent (or signed) goes into the report cut, so that the
// report's address stays within the request line report servers accept
// (8 KiB with nginx and Apache) whatever the catalogue holds.
std::string FromServer(const std::string& value) { return value.substr(0, ServerValueLimit); }

void AddStatusAfter(Lines& out, const WizardState& s) {
    out.push_back("Parameters from update.ini = status after update");
    out.push_back("Update Date: " + FromServer(s.UpdateDate));
    out.push_back("New Version: " + FromServer(s.NewVersion));
    out.push_back("UpdateFile: " + FromServer(s.UpdateFileName));
    if (!s.InstallerRefusal.empty()) out.push_back(FromServer(s.InstallerRefusal));
    out.push_back("Update Anyway: " + s.CatalogueSU);
    out.push_back("End parameters from update.ini");
    out.push_back(S47);
}

void AddProxy(Lines& out, const ProcessState& p) {
    out.push_back("Proxy");
    if (!p.UseProxy) {
        out.push_back("Proxy in use? : NO");
        return;
    }
    out.push_back("Proxy in use? : YES");
    out.push_back("Proxy Name: " + p.ProxyName);
    out.push_back("Proxy Port: " + p.ProxyPortText);
    out.push_back("Proxy User: " + p.ProxyUser);
    out.push_back("Proxy PW: " + MaskedPassword(p.ProxyPassword));
    out.push_back("Proxy Complete: " + p.ProxyComplete);
}


}  // namespace

const char* ReasonLine(ReportReason reason) {
    switch (reason) {
        case ReportReason::NoUpdate: return "Done after version check NO DOWNLOAD";
        case ReportReason::InstallerStarted: return "Done after DOWNLOAD and START of update file";
        case ReportReason::DownloadAborted: return "Mailed after running download aborded";
        case ReportReason::ClosedBeforeDownload: return "Mailed after cancel no download was started";
        case ReportReason::OutdatedProgram: return "Mailed after outdated program was detected";
        case ReportReason::NoFurtherUpdate: return "Mailed after no further update possible";
        case ReportReason::ClosedByCloseBox: return "Update wurde über Kreuz beendet nicht Button";
        case ReportReason::DownloadedNotStarted: return "Done after DOWNLOAD of update file";
        case ReportReason::SignatureNotValid:
            return "Done after DOWNLOAD, update file NOT started: signature not valid";
    }
    return nullptr;  // a number from outside the table
}

std::string ReportTimestamp(const platform::LocalDateTime& t) {
    const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
    return midnight ? german::FormatDate(t) : german::FormatDate(t) + " " + german::FormatTime(t);
}

std::string ReportSubject(const WizardState& state) {
    std::string subject = "NetRefresh: " + state.AppName;
    if (state.IsQOProgram) subject += " - " + state.QOAgent;
    return subject;
}

std::vector<std::string> ReportLines(ReportReason reason, const WizardState& s, const ProcessState& p,
                                     const ReportSurroundings& env) {
    Lines out;
    out.push_back(ReportSubject(s));
    if (const char* line = ReasonLine(reason)) out.push_back(line);
    out.push_back(std::string("Version des Updaters: Tool V ") + config::ToolVersion);
    if (s.SpecialUpdateProcess) {
        out.push_back(S56);
        out.push_back("Special Update Process");
        out.push_back("Version Info: " + FromServer(s.SpecialVersionInfo));
    }
    out.push_back("Date/Time of Updateprocess: " + ReportTimestamp(env.now));
    if (s.IsHU2Program && s.IsPortable) AddPortableStatus(out, s, env);
    else AddRegistryStatus(out, s, env);
    if (s.IsQOProgram) AddCourtRegister(out, s, env);
    else if (s.IsHU2Program) out.push_back("HU Seriennummer: " + s.SerialNumberText);
    AddCall(out, s);
    AddStatusAfter(out, s);
    AddProxy(out, p);
    return out;
}

}  // namespace kv
