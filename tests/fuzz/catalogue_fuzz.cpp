#include <string>

#include "catalogue/catalogue_decision.h"
#include "fuzz/fuzz_target.h"
#include "maker/catalogue_check.h"
#include "maker/explanation.h"
#include "platform/portable/ini_engine.h"

// Arbitrary catalogue texts against a few installed states: the decision
// never fails, and each outcome leaves the state the later steps rely on;
// the maker's tool checks and explains the same text without failing.
// Byte 0 chooses the product family and whether the product's section header
// is put in front, bytes 1-3 the installed version, action number and
// edition; the rest is the catalogue text.
KV_FUZZ_TARGET(catalogue) {
    using kv::CatalogueOutcome;
    using kv::CloseReasonKind;
    using kv::fuzz::Check;
    if (size < 4) return;
    static const char* const editions[] = {"b", "a", "an", "ab"};
    kv::WizardState state;
    state.ParaName = "qoonline";
    state.IsQOProgram = (data[0] & 1) != 0;
    state.IsHU2Program = !state.IsQOProgram && (data[0] & 2) != 0;
    state.QOId = "QO-4711-ABCDEFGH";
    state.SerialCode = "7F3A";
    state.ProgramTitle = "QO Folio";
    state.InstalledVersionNumber = static_cast<int>(data[1]) - 1;
    state.LocalSpecAction = data[2] % 8;
    state.ParaChar = editions[data[3] % 4];
    const std::string text = ((data[0] & 4) ? "[qoonlineb]\r\n" : "") + kv::fuzz::Text(data + 4, size - 4);

    const kv::platform::IniText ini(text);
    const CatalogueOutcome outcome = kv::DecideCatalogue(
        [&](const std::string& key, const std::string& def) { return ini.Read("qoonlineb", key, def); }, state);

    for (const auto& line : state.CatalogueLines) Check(line.size() <= 100, "a catalogue line above 100 characters");
    Check(state.SpecialTargets.size() <= 100, "a target list longer than 100");
    Check(state.CatalogueSU.size() <= 2, "SU longer than 2 characters");
    Check(state.ParaChar.size() <= 10, "edition letters longer than 10 characters");
    if (state.IsQOProgram && data[3] % 4 == 1) Check(state.NoMoreUpLimit == 0, "edition a with an end of updates");
    switch (outcome) {
        case CatalogueOutcome::EndOfUpdates:
            Check(state.CloseReason == CloseReasonKind::EndOfUpdates && !state.SinuFlag,
                  "end of updates without its close reason");
            break;
        case CatalogueOutcome::Outdated:
            Check(state.CloseReason == CloseReasonKind::Outdated && !(state.CatalogueSU == "T"),
                  "outdated despite SU T");
            break;
        case CatalogueOutcome::SpecialUpdate:
            Check(state.SpecialUpdate && state.LocalSpecAction < state.CatalogueSpecAction, "special without action");
            Check(state.UpdateFileName == state.ParaName + state.ParaChar + ".exe", "special installer misnamed");
            Check(!state.NoNewUpdate && state.CloseReason == CloseReasonKind::NothingEvaluated,
                  "special update closes the run");
            break;
        case CatalogueOutcome::Offer:
            Check(!state.NoNewUpdate && state.CloseReason == CloseReasonKind::NothingEvaluated, "offer closes the run");
            break;
        case CatalogueOutcome::NoUpdate:
            Check(state.NoNewUpdate && state.CloseReason == CloseReasonKind::Reported,
                  "no update without its close reason");
            Check(!(state.CatalogueSU == "T"), "no update despite SU T");
            break;
    }

    const std::size_t lines = ini.Describe().size();
    for (const kv::maker::Finding& finding : kv::maker::CheckCatalogue(text, {}))
        Check(finding.line <= lines, "a finding beyond the last line");
    kv::maker::Installation installation;
    installation.product = "qoonline";
    installation.edition = editions[data[3] % 4];
    installation.version = std::to_string(data[1]);
    installation.qoId = state.IsQOProgram ? "QO-4711-ABCDEFGH" : "";
    const kv::maker::Evaluation evaluation = kv::maker::Evaluate(ini, installation);
    const std::string explained = kv::maker::ExplanationText(evaluation, installation);
    Check(explained.starts_with(std::string("outcome: ") + kv::maker::OutcomeName(evaluation.outcome)),
          "an explanation that does not start with its outcome");
}
