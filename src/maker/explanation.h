#pragma once
#include <memory>
#include <string>

#include "maker/installation.h"
#include "maker/page_record.h"

namespace kv::maker {

// The wizard's evaluation of a catalogue for one installation, run on a page
// of the tool's own, with the news timer's tick when the evaluation starts it.
struct Evaluation {
    WizardState state;
    CatalogueOutcome outcome = CatalogueOutcome::NoUpdate;
    std::unique_ptr<PageRecord> page;
    std::string headline;  // as the evaluation left it, before the news timer's tick
    bool newsTimer = false;
};

Evaluation Evaluate(const platform::IniText& catalogue, const Installation& installation);

// "offer", "no-update", "outdated", "end-of-updates", "special-update".
const char* OutcomeName(CatalogueOutcome outcome);

// The version and the installer an outcome offers; empty when it offers none.
std::string OfferedVersion(const Evaluation& evaluation);
std::string OfferedInstaller(const Evaluation& evaluation);

// What the wizard shows after "Weiter", line by line (Windows-1252).
std::string ExplanationText(const Evaluation& evaluation, const Installation& installation);

}  // namespace kv::maker
