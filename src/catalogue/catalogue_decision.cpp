#include "catalogue/catalogue_decision.h"

#include <algorithm>
#include <cctype>

#include "inventory/version_text.h"
#include "inventory/ini_access.h"

namespace kv {

namespace {

constexpr int MaxTargets = 100;

// A limit key: a missing or empty value counts as "0".
std::string LimitText(const CatalogueKeyReader& read, const std::string& key) {
    std::string text = read(key, "0");
    return text.empty() ? "0" : text;
}

// PCode1, PCode2, ... up to the first missing, empty or "X" key, at most 100.
void AppendTargets(const CatalogueKeyReader& read, const std::string& prefix, std::vector<std::string>& targets) {
    for (int n = 1; n <= MaxTargets; ++n) {
        std::string target = read(prefix + std::to_string(n), "");
        if (target.empty() || target == "X") return;
        targets.push_back(std::move(target));
    }
}

// A special update is pending when the first target naming this installation
// carries a newer action number than the installed one.
bool TargetsThisInstallation(const WizardState& state, const std::string& installationCode) {
    for (const std::string& target : state.SpecialTargets) {
        if (target == installationCode) return state.LocalSpecAction < state.CatalogueSpecAction;
    }
    return false;
}

void ReadSpecialUpdate(const CatalogueKeyReader& read, WizardState& state) {
    state.SpecialVersionInfo = read("verinfos", "ohne Versionsinformationen");
    state.CatalogueSpecAction = IniInteger(read("ActS", ""), 0);
    state.SpecialSizeText = read("szs", "");
    state.SpecialDate = read("dats", "");

    state.SpecialUpdate = false;
    if (state.IsQOProgram) {
        AppendTargets(read, "PCode", state.SpecialTargets);
        state.SpecialUpdate = TargetsThisInstallation(state, state.QOId);
    }
    if (state.IsHU2Program) {
        AppendTargets(read, "SCode", state.SpecialTargets);
        state.SpecialUpdate = TargetsThisInstallation(state, state.SerialCode);
    }
}

// Editions "a" and "an" of the court-register family never reach an end of updates.
bool EndOfUpdatesExempt(const WizardState& state) {
    return state.IsQOProgram && (state.ParaChar == "a" || state.ParaChar == "an");
}

void ReadLines(const CatalogueKeyReader& read, WizardState& state, std::size_t first, const std::string& prefix,
               const std::string& defaultValue) {
    for (std::size_t i = 0; i < 6; ++i) state.CatalogueLines[first + i] = read(prefix + std::to_string(i + 1), defaultValue);
}

// German news lines lose a leading point (it would read as a bullet of nothing).
void BlankLeadingPoints(WizardState& state) {
    for (std::size_t i = 0; i < 6; ++i) {
        std::string line = state.CatalogueLines[i];
        if (!line.empty() && line[0] == '.') line[0] = ' ';
        state.CatalogueLines[i] = line;
    }
}

// Returns the catalogue's program title, which only the decision needs.
std::string ReadSection(const CatalogueKeyReader& read, WizardState& state) {
    ReadSpecialUpdate(read, state);

    state.NewVersion = read("verinfo", "");
    state.NewVersionNumber = VersionNumber(state.NewVersion);
    std::string catalogueTitle = read("prog", "");
    state.UpdateFileName = read("ufn", "");
    state.NoMoreUpLimit = EndOfUpdatesExempt(state) ? 0 : VersionNumber(LimitText(read, "NoMoreUp"));

    const std::string size = read("sz", "");
    const std::string date = read("dat", "");
    const bool showSpecial = state.NewVersionNumber <= state.InstalledVersionNumber && state.SpecialUpdate;
    state.UpdateSizeText = showSpecial ? state.SpecialSizeText : size;
    state.UpdateDate = showSpecial ? state.SpecialDate : date;

    state.OutdatedLimitText = LimitText(read, "OldSmalerNo");
    state.OutdatedLimit = VersionNumber(state.OutdatedLimitText);

    for (std::size_t i = 0; i < 4; ++i) state.NewsAfterEn[i] = read("ES" + std::to_string(i + 1), "");
    for (std::size_t i = 0; i < 4; ++i) state.NewsAfterDe[i] = read("DS" + std::to_string(i + 1), "");

    ReadLines(read, state, 0, "CD", "");
    BlankLeadingPoints(state);
    ReadLines(read, state, 6, "CE", "");
    ReadLines(read, state, 12, "UPD", "NoInfo");
    ReadLines(read, state, 18, "UPE", "NIL");

    state.CatalogueSU = read("SU", "F");
    state.RestartProgram = read("exc", "");
    const ShortText<2> sinu(read("SINU", "F"));
    state.SinuFlag = sinu == "T";
    return catalogueTitle;
}

CatalogueOutcome Decide(const WizardState& state, const std::string& catalogueTitle) {
    const int installed = state.InstalledVersionNumber;
    const bool forced = state.CatalogueSU == "T";
    if (state.NoMoreUpLimit >= installed && state.SinuFlag && state.NoMoreUpLimit > 0)
        return CatalogueOutcome::EndOfUpdates;
    if (state.OutdatedLimit >= installed && state.OutdatedLimit > 0 && !forced) return CatalogueOutcome::Outdated;
    if (state.NewVersionNumber > installed && catalogueTitle == state.ProgramTitle && !state.SpecialUpdate)
        return CatalogueOutcome::Offer;
    if (state.SpecialUpdate) return CatalogueOutcome::SpecialUpdate;
    return forced ? CatalogueOutcome::Offer : CatalogueOutcome::NoUpdate;
}

// The special installer is named after the installation, and the news panel
// names the installation instead of the catalogue's news.
void PrepareSpecialUpdate(WizardState& state) {
    state.ParaChar = state.QOId;
    state.UpdateFileName = InstallerFileName(state);
    for (auto& line : state.CatalogueLines) line = "";
    state.CatalogueLines[0] = " Spezielles Update für " + state.AppName;
    state.CatalogueLines[6] = " Special Update for " + state.AppName;
    if (state.IsQOProgram) {
        state.CatalogueLines[1] = " Ort: " + state.QOAgent;
        state.CatalogueLines[7] = " Town: " + state.QOAgent;
    } else {
        state.CatalogueLines[1] = " Seriennummer: " + state.SerialNumberText;
        state.CatalogueLines[7] = " SN: " + state.SerialNumberText;
    }
    state.SpecialUpdateProcess = true;
}

void ApplyOutcome(CatalogueOutcome outcome, WizardState& state) {
    switch (outcome) {
        case CatalogueOutcome::EndOfUpdates:
            state.SinuFlag = false;
            state.CloseReason = CloseReasonKind::EndOfUpdates;
            break;
        case CatalogueOutcome::Outdated:
            state.CloseReason = CloseReasonKind::Outdated;
            break;
        case CatalogueOutcome::SpecialUpdate:
            PrepareSpecialUpdate(state);
            state.NoNewUpdate = false;
            break;
        case CatalogueOutcome::Offer:
            state.NoNewUpdate = false;
            break;
        case CatalogueOutcome::NoUpdate:
            state.NoNewUpdate = true;
            state.CloseReason = CloseReasonKind::Reported;
            break;
    }
}

bool SameLetters(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::string InstallerFileName(const WizardState& state) { return state.ParaName + state.ParaChar + ".exe"; }

bool UpdateFileMatchesInstaller(const WizardState& state) {
    const std::string installer = InstallerFileName(state);
    return std::equal(state.UpdateFileName.begin(), state.UpdateFileName.end(), installer.begin(), installer.end(),
                      SameLetters);
}

CatalogueOutcome DecideCatalogue(const CatalogueKeyReader& read, WizardState& state) {
    const std::string catalogueTitle = ReadSection(read, state);
    const CatalogueOutcome outcome = Decide(state, catalogueTitle);
    ApplyOutcome(outcome, state);
    return outcome;
}

}  // namespace kv
