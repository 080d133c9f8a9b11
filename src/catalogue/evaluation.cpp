#include "catalogue/catalogue_decision.h"
#include "catalogue/version_text.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {

void Show(std::initializer_list<ui::Control*> controls, bool visible) {
    for (ui::Control* control : controls) control->visible = visible;
}

std::string JoinLines(std::initializer_list<std::string> lines) {
    std::string text;
    const char* separator = "";
    for (const std::string& line : lines) {
        text += separator + line;
        separator = "\r";
    }
    return text;
}

// End of updates and outdated: nothing but closing remains.
void ShowClosingOnly(TUpInew& w) {
    w.Label15.caption = w.GL(87);
    w.PZu2.caption = w.GL(86);
    Show({&w.Gauge1, &w.Label10, &w.Label11}, false);
}

void ShowEndOfUpdates(TUpInew& w) {
    ShowClosingOnly(w);
    w.services().dialogs->MessageBox(platform::BoxOwner::Wizard, w.GL(90), "Online Update",
                                     platform::MbOk | platform::MbIconError);
}

void ShowOutdated(TUpInew& w) {
    ShowClosingOnly(w);
    const std::string text = JoinLines({w.GL(85), " ", w.GL(77), w.GL(78), w.GL(83), "  ", w.GL(84)});
    w.services().dialogs->MessageBox(platform::BoxOwner::Application, text, w.GL(58),
                                     platform::MbOk | platform::MbIconError);
}

// The captions of an offer's rows (size, new version, date) and its headline.
void ShowOfferRows(TUpInew& w) {
    w.Label18.caption = w.GL(10);
    w.Label15.caption = w.GL(4);
    Show({&w.Label11, &w.Label10}, false);
    w.Label2.caption = w.GL(11);
    w.Label16.caption = w.GL(14);
    w.Label19.caption = FormatDisplayDate(w.UpdateDate);
}

void EnableInstall(TUpInew& w) {
    w.DLBut.enabled = true;
    Show({&w.Label18, &w.Label2, &w.Label16, &w.Label17, &w.Label19, &w.Label4}, true);
    // With SINU "T" an offer keeps its news lines to itself.
    if (!w.SinuFlag) w.Timer2.enabled = true;
}

void ShowOffer(TUpInew& w) {
    ShowOfferRows(w);
    EnableInstall(w);
}

void ShowSpecialUpdate(TUpInew& w) {
    ShowOfferRows(w);
    w.Label17.caption = w.SpecialVersionInfo;
    EnableInstall(w);
}

void ShowNoUpdate(TUpInew& w) {
    w.Label18.caption = w.GL(9);
    w.Label4.caption = w.ProgramTitle;
    w.Label15.caption = w.GL(5);
    w.Label2.caption = w.GL(12);
    w.Label17.caption = w.InstalledVersion;
    Show({&w.Label18, &w.Label2, &w.Label17, &w.Label4}, true);
    Show({&w.Label11, &w.Label10}, false);
    w.PZu2.caption = w.GL(47);
    if (w.SinuFlag) w.Timer2.enabled = true;  // the info lines UPD/UPE
    w.ComposeReport(1);
}

}  // namespace

void TUpInew::EvaluateCatalogue() {
    const std::string file = ProductDataFolder + "\\update.ini";
    platform::Profile& profile = *services().profile;
    const CatalogueKeyReader read = [&](const std::string& key, const std::string& defaultValue) {
        return profile.ReadString(file, CatalogueSection, key, defaultValue);
    };
    const CatalogueOutcome outcome = DecideCatalogue(read, *this);

    Label17.caption = NewVersion;
    Label4.caption = UpdateSizeText;
    switch (outcome) {
        case CatalogueOutcome::EndOfUpdates: ShowEndOfUpdates(*this); break;
        case CatalogueOutcome::Outdated: ShowOutdated(*this); break;
        case CatalogueOutcome::SpecialUpdate: ShowSpecialUpdate(*this); break;
        case CatalogueOutcome::Offer: ShowOffer(*this); break;
        case CatalogueOutcome::NoUpdate: ShowNoUpdate(*this); break;
    }
}

}  // namespace kv
