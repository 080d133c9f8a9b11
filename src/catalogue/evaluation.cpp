#include "catalogue/catalogue_decision.h"
#include "catalogue/check_page.h"
#include "inventory/version_text.h"
#include "run/text_catalogue.h"
#include "platform/portable/text.h"

namespace kv {

namespace {

// The page with the run's texts at hand.
struct Filling {
    const WizardState& state;
    CheckPage& page;
    std::string GL(int number) const { return CatalogueText(state, number); }
};

void Show(std::initializer_list<ui::Control*> controls, bool visible) {
    for (ui::Control* control : controls) control->visible = visible;
}

// End of updates and outdated: nothing but closing remains.
void ShowClosingOnly(const Filling& f) {
    CheckPage& p = f.page;
    p.Label15.caption = f.GL(87);
    p.PZu2.caption = f.GL(86);
    Show({&p.Gauge1, &p.Label10, &p.Label11}, false);
}

void ShowEndOfUpdates(const Filling& f) {
    ShowClosingOnly(f);
    f.page.dialogs.MessageBox(platform::BoxOwner::Wizard, f.GL(90), "Online Update",
                              platform::MbOk | platform::MbIconError);
}

void ShowOutdated(const Filling& f) {
    ShowClosingOnly(f);
    const std::string text = kv::text::Join({f.GL(85), " ", f.GL(77), f.GL(78), f.GL(83), "  ", f.GL(84)}, "\r");
    f.page.dialogs.MessageBox(platform::BoxOwner::Application, text, f.GL(58), platform::MbOk | platform::MbIconError);
}

// The captions of an offer's rows (size, new version, date) and its headline.
void ShowOfferRows(const Filling& f) {
    CheckPage& p = f.page;
    p.Label18.caption = f.GL(10);
    p.Label15.caption = f.GL(4);
    Show({&p.Label11, &p.Label10}, false);
    p.Label2.caption = f.GL(11);
    p.Label16.caption = f.GL(14);
    p.Label19.caption = FormatDisplayDate(f.state.UpdateDate);
}

void EnableInstall(const Filling& f) {
    CheckPage& p = f.page;
    p.DLBut.enabled = true;
    Show({&p.Label18, &p.Label2, &p.Label16, &p.Label17, &p.Label19, &p.Label4}, true);
    // With SINU "T" an offer keeps its news lines to itself.
    if (!f.state.SinuFlag) p.Timer2.enabled = true;
}

void ShowOffer(const Filling& f) {
    ShowOfferRows(f);
    EnableInstall(f);
}

void ShowSpecialUpdate(const Filling& f) {
    ShowOfferRows(f);
    f.page.Label17.caption = f.state.SpecialVersionInfo;
    EnableInstall(f);
}

void ShowNoUpdate(const Filling& f) {
    CheckPage& p = f.page;
    p.Label18.caption = f.GL(9);
    p.Label4.caption = f.state.ProgramTitle;
    p.Label15.caption = f.GL(5);
    p.Label2.caption = f.GL(12);
    p.Label17.caption = f.state.InstalledVersion;
    Show({&p.Label18, &p.Label2, &p.Label17, &p.Label4}, true);
    Show({&p.Label11, &p.Label10}, false);
    p.PZu2.caption = f.GL(47);
    if (f.state.SinuFlag) p.Timer2.enabled = true;  // the info lines UPD/UPE
    p.report(ReportReason::NoUpdate);
}

}  // namespace

void ShowCatalogueArrived(const WizardState& state, CheckPage& page) {
    page.Label14.caption = CatalogueText(state, 18) + " " + CatalogueText(state, 19);
    page.Gauge1.position = 0;
}

CatalogueOutcome EvaluateCatalogueOn(const CatalogueKeyReader& read, WizardState& state, CheckPage& page) {
    const CatalogueOutcome outcome = DecideCatalogue(read, state);
    page.Label17.caption = state.NewVersion;
    page.Label4.caption = state.UpdateSizeText;
    const Filling f{state, page};
    switch (outcome) {
        case CatalogueOutcome::EndOfUpdates: ShowEndOfUpdates(f); break;
        case CatalogueOutcome::Outdated: ShowOutdated(f); break;
        case CatalogueOutcome::SpecialUpdate: ShowSpecialUpdate(f); break;
        case CatalogueOutcome::Offer: ShowOffer(f); break;
        case CatalogueOutcome::NoUpdate: ShowNoUpdate(f); break;
    }
    return outcome;
}

CatalogueOutcome EvaluateFetchedCatalogue(WizardState& state, platform::Profile& profile, CheckPage& page) {
    const std::string file = LocalCataloguePath(state.ProductDataFolder);
    const CatalogueKeyReader read = [&](const std::string& key, const std::string& defaultValue) {
        return profile.ReadString(file, state.CatalogueSection, key, defaultValue);
    };
    return EvaluateCatalogueOn(read, state, page);
}

}  // namespace kv
