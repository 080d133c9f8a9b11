#include "maker/page_record.h"

#include "run/text_catalogue.h"

namespace kv::maker {

namespace {
constexpr int WizardClientWidth = 598;
}  // namespace

PageRecord::PageRecord(const WizardState& state) {
    // What the start and the catalogue fetch left on the page.
    Label15.caption = CatalogueText(state, 48);
    DLBut.caption = CatalogueText(state, 8);
    DLBut.enabled = false;
    PZu2.caption = CatalogueText(state, 7);
    for (ui::Control* row : {&Label18, &Label4, &Label2, &Label17, &Label16, &Label19, &Panel3}) row->visible = false;
    CheckPage page = Page();
    ShowCatalogueArrived(state, page);
}

CheckPage PageRecord::Page() {
    return CheckPageControls::Page(WizardClientWidth, *this, [this](ReportReason reason) { reports.push_back(reason); });
}

int PageRecord::MessageBox(platform::BoxOwner, const std::string& text, const std::string& caption, unsigned) {
    boxes.push_back({caption, text});
    return platform::IdOk;
}

}  // namespace kv::maker
