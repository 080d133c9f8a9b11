#include "catalogue/check_page.h"

#include "run/text_catalogue.h"

namespace kv {

CheckPage CheckPageControls::Page(int clientWidth, platform::Dialogs& dialogs,
                                  std::function<void(ReportReason reason)> report) {
    return CheckPage{Label15, Label14, Label18, Label4, Label2, Label17, Label16, Label19, Label10,
                     Label11, Gauge1,  DLBut,   PZu2,   Panel3, Memo1,   Timer2,  clientWidth,
                     dialogs, std::move(report)};
}

void ShowTransferFailed(WizardState& state, CheckPage& page, int message) {
    page.Label14.caption = CatalogueText(state, message);
    state.DownloadFailed = true;
    page.Gauge1.position = 0;
    page.DLBut.enabled = false;
    page.PZu2.caption = CatalogueText(state, 47);
}

}  // namespace kv
