#pragma once
#include <functional>

#include "catalogue/catalogue_decision.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "report/report_reason.h"
#include "ui/control.h"

namespace kv {

// The part of the check page that the catalogue's arrival, its evaluation and
// the news timer write, with the box they may show and the report they may
// send. The wizard window lends its own controls; the maker's tool has a page
// that no window shows, so both run the same evaluation.
struct CheckPage {
    ui::Control& Label15;  // headline
    ui::Control& Label14;  // status line
    ui::Control& Label18;  // size row caption / value Label4
    ui::Control& Label4;
    ui::Control& Label2;   // version row caption / value Label17
    ui::Control& Label17;
    ui::Control& Label16;  // date row caption / value Label19
    ui::Control& Label19;
    ui::Control& Label10;  // progress caption and text
    ui::Control& Label11;
    ui::Control& Gauge1;
    ui::Control& DLBut;
    ui::Control& PZu2;
    ui::Control& Panel3;   // news panel and its memo
    ui::Control& Memo1;
    ui::Timer& Timer2;
    int clientWidth;
    platform::Dialogs& dialogs;
    std::function<void(ReportReason reason)> report;
};

// The check page's controls that a CheckPage lends, declared once for the
// wizard window and for the maker's page that no window shows.
struct CheckPageControls {
    ui::Control Label15{"Label15", ui::Kind::Label};
    ui::Control Label14{"Label14", ui::Kind::Label};
    ui::Control Label18{"Label18", ui::Kind::Label};
    ui::Control Label4{"Label4", ui::Kind::Label};
    ui::Control Label2{"Label2", ui::Kind::Label};
    ui::Control Label17{"Label17", ui::Kind::Label};
    ui::Control Label16{"Label16", ui::Kind::Label};
    ui::Control Label19{"Label19", ui::Kind::Label};
    ui::Control Label10{"Label10", ui::Kind::Label};
    ui::Control Label11{"Label11", ui::Kind::Label};
    ui::Control Gauge1{"Gauge1", ui::Kind::Progress};
    ui::Control DLBut{"DLBut", ui::Kind::Button};
    ui::Control PZu2{"PZu2", ui::Kind::Button};
    ui::Control Panel3{"Panel3", ui::Kind::Panel};
    ui::Control Memo1{"Memo1", ui::Kind::Memo};
    ui::Timer Timer2{"Timer2"};

    CheckPage Page(int clientWidth, platform::Dialogs& dialogs, std::function<void(ReportReason reason)> report);
};

// A transfer failed: the status line says which (`message`), nothing is
// offered any more, and only closing remains.
void ShowTransferFailed(WizardState& state, CheckPage& page, int message);

// The catalogue has arrived: the status line says so while the evaluation waits.
void ShowCatalogueArrived(const WizardState& state, CheckPage& page);

// Decides on the catalogue that `read` gives and fills the page: the rows, the
// headline, the buttons, the box of an outcome that ends the check, the report
// of a check without an update, and Timer2 for the news lines.
CatalogueOutcome EvaluateCatalogueOn(const CatalogueKeyReader& read, WizardState& state, CheckPage& page);

// The same on the catalogue the run has fetched into the product's data folder.
CatalogueOutcome EvaluateFetchedCatalogue(WizardState& state, platform::Profile& profile, CheckPage& page);

}  // namespace kv
