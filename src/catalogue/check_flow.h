#pragma once
#include <cstdint>
#include <functional>

#include "catalogue/check_page.h"
#include "network/http_get.h"
#include "platform/services.h"

namespace kv {

// What the check writes beyond the check page: the welcome page it leaves,
// the heading, the retry button and the welcome page's check button.
struct CheckStartPage {
    CheckPage check;
    ui::Control& Panel4;  // welcome page
    ui::Control& Panel1;  // check page
    ui::Control& Panel2;  // heading panel of Label13
    ui::Control& Label13;
    ui::Control& TryAgainBut;
    ui::Control& DownLoadNewVersion1;
};

// From the click on "check" to the evaluated catalogue: the connection test,
// the catalogue's transfer and its own completion. A flow holds only
// references, so the transfer's completion keeps a copy of it.
class CheckFlow {
public:
    // `rereadLocalState` runs after a failed transfer, as at the start.
    CheckFlow(WizardState& state, const platform::Services& services, CheckStartPage page, THTTPGet& transfer,
              std::function<void()> rereadLocalState);

    // Tests the connection and fetches the catalogue; without a connection
    // the page offers the retry.
    void Start();
    void FetchCatalogue();
    // The catalogue transfer's completion.
    void Arrived(std::int32_t fileSize);
    void Failed();

private:
    std::string GL(int number) const;

    WizardState& state_;
    platform::Services services_;
    CheckStartPage page_;
    THTTPGet& transfer_;
    std::function<void()> rereadLocalState_;
};

}  // namespace kv
