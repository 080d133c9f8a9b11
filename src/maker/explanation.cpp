#include "maker/explanation.h"

#include "maker/presumed_programs.h"
#include "report/report_text.h"
#include "installer/restart_rule.h"
#include "catalogue/news_panel.h"
#include "run/text_catalogue.h"

namespace kv::maker {

namespace {

bool Offers(CatalogueOutcome outcome) {
    return outcome == CatalogueOutcome::Offer || outcome == CatalogueOutcome::SpecialUpdate;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A box's lines, its first after the caption and the others indented.
std::string BoxLines(const PageRecord::Box& box) {
    std::string text = "box " + Quoted(box.caption) + ": ";
    for (char c : box.text) text += c == '\r' ? std::string("\n    ") : std::string(1, c);
    return text + "\n";
}

std::string InstalledLine(const Evaluation& e, const Installation& installation) {
    const WizardState& s = e.state;
    const std::string title = installation.listFile.empty() ? " (the catalogue's prog; --list gives the product's own)"
                                                            : " (from " + installation.listFile + ")";
    return "installed: " + s.ParaName + " edition " + Quoted(installation.edition) + ", version " +
           Quoted(s.InstalledVersion) + ", title " + Quoted(s.ProgramTitle) + title + "; catalogue section [" +
           s.CatalogueSection + "]\n";
}

std::string Row(const ui::Control& caption, const ui::Control& value) {
    return caption.visible && value.visible ? "row: " + caption.caption + " " + value.caption + "\n" : "";
}

std::string PageLines(const Evaluation& e) {
    const PageRecord& p = *e.page;
    std::string text = "headline: " + e.headline + "\nstatus: " + p.Label14.caption + "\n";
    text += Row(p.Label18, p.Label4) + Row(p.Label2, p.Label17) + Row(p.Label16, p.Label19);
    text += "buttons: " + Quoted(p.DLBut.caption) + (p.DLBut.enabled ? " enabled" : " disabled") + ", " +
            Quoted(p.PZu2.caption) + "\n";
    for (const PageRecord::Box& box : p.boxes) text += BoxLines(box);
    if (!e.newsTimer) return text + "news panel: not shown\n";
    if (p.Panel3.visible) {
        text += "news panel, 1 s later:\n";
        for (const std::string& line : p.Memo1.lines) text += "  | " + line + "\n";
    } else {
        text += "news panel, 1 s later: not shown (its first two lines are empty)\n";
    }
    if (p.Label15.caption != e.headline) text += "headline, 1 s later: " + p.Label15.caption + "\n";
    return text;
}

// The installer name is checked also where this installation is offered
// nothing: the same ufn meets the versions that are.
std::string InstallerLine(const Evaluation& e) {
    const std::string head = "installer: " + InstallerFileName(e.state) + "; ufn " + Quoted(e.state.UpdateFileName);
    const std::string offered = Offers(e.outcome) ? "" : " (none offered to this installation)";
    if (UpdateFileMatchesInstaller(e.state)) return head + " matches" + offered + "\n";
    return head + " differs" + offered + ": \"" + CatalogueText(e.state, 8) + "\" shows the version-mismatch box: " +
           CatalogueText(e.state, 37) + " " + CatalogueText(e.state, 38) + " " + CatalogueText(e.state, 39) + "\n";
}

std::string RestartLine(const Evaluation& e, const Installation& installation) {
    PresumedPrograms programs;
    const std::string folder = ProductFolder(installation);
    const RestartDecision decision = JudgeRestartProgram(e.state.RestartProgram, folder, programs);
    const std::string verdict =
        decision.Accepted() ? "accepted, starts " + decision.path : "refused: " + decision.refusal;
    const std::string placeholder = ", a placeholder: --product-folder names the real one";
    const std::string where =
        " (product folder " + folder + (ProductFolderIsPlaceholder(installation) ? placeholder : "") + ")";
    return "restart: " + Quoted(e.state.RestartProgram) + " (exc) " + verdict + where +
           "; the program is taken to exist\n";
}

std::string ReportLine(const Evaluation& e) {
    if (e.page->reports.empty()) return "report at once: none\n";
    const ReportReason reason = e.page->reports.front();
    const char* line = ReasonLine(reason);
    std::string text = "report at once: reason ";
    text += std::to_string(static_cast<int>(reason));
    if (line != nullptr) {
        text += ' ';
        text += Quoted(line);
    }
    text += '\n';
    return text;
}

}  // namespace

Evaluation Evaluate(const platform::IniText& catalogue, const Installation& installation) {
    Evaluation e;
    e.state = InstalledState(installation, catalogue);
    e.page = std::make_unique<PageRecord>(e.state);
    const std::string section = e.state.CatalogueSection;
    const CatalogueKeyReader read = [&](const std::string& key, const std::string& defaultValue) {
        return catalogue.Read(section, key, defaultValue);
    };
    CheckPage page = e.page->Page();
    e.outcome = EvaluateCatalogueOn(read, e.state, page);
    e.headline = e.page->Label15.caption;
    e.newsTimer = e.page->Timer2.enabled;
    if (e.newsTimer) {
        e.page->Timer2.enabled = false;
        ShowNewsPanel(e.state, page);
    }
    return e;
}

const char* OutcomeName(CatalogueOutcome outcome) {
    switch (outcome) {
        case CatalogueOutcome::EndOfUpdates: return "end-of-updates";
        case CatalogueOutcome::Outdated: return "outdated";
        case CatalogueOutcome::SpecialUpdate: return "special-update";
        case CatalogueOutcome::Offer: return "offer";
        case CatalogueOutcome::NoUpdate: return "no-update";
    }
    return "";
}

std::string OfferedVersion(const Evaluation& e) {
    if (!Offers(e.outcome)) return {};
    return e.outcome == CatalogueOutcome::SpecialUpdate ? e.state.SpecialVersionInfo : e.state.NewVersion;
}

std::string OfferedInstaller(const Evaluation& e) { return Offers(e.outcome) ? InstallerFileName(e.state) : ""; }

std::string ExplanationText(const Evaluation& e, const Installation& installation) {
    return std::string("outcome: ") + OutcomeName(e.outcome) + "\n" + InstalledLine(e, installation) + PageLines(e) +
           InstallerLine(e) + RestartLine(e, installation) + ReportLine(e);
}

}  // namespace kv::maker
