#pragma once
#include <functional>
#include <memory>

#include "catalogue/check_page.h"
#include "network/http_get.h"
#include "platform/services.h"
#include "platform/signatures.h"

namespace kv {

// What the installer's download writes beyond the check page: the heading,
// and the window it repaints while it waits and closes at the end.
struct InstallerPage {
    CheckPage check;
    ui::Control& Panel1;  // check page, for the status line's width
    ui::Control& Panel2;  // heading panel of Label13 and Label24
    ui::Control& Label13;
    ui::Control& Label24;
    std::function<void()> repaint;
    std::function<void()> close;
};

// From the click on "install" to the started installer: the download, its own
// completion, the signature check, the hand-over file and the start, each
// refusal shown and reported. A flow holds only references, so the
// transfer's completion keeps a copy of it.
class InstallerFlow {
public:
    InstallerFlow(WizardState& state, const platform::Services& services, InstallerPage page, THTTPGet& transfer,
                  const platform::SignerRule& signer);

    void Start();
    // The installer transfer's completion, with the transfer's hold on the
    // installer (null when it could not be held).
    void Arrived(std::unique_ptr<platform::HeldFile> installer);
    void Failed();

private:
    void ShowArrived();
    void ShowDownloadHeading();
    bool HandOver();
    void StartInstaller(std::unique_ptr<platform::HeldFile> installer);
    void RefuseInstaller(const std::string& why);
    std::string InstallerPath() const;
    std::string GL(int number) const;
    std::string MessageLines(int first, int last) const;
    void InformationBox(const std::string& text);
    void ErrorBox(int message);

    WizardState& state_;
    platform::Services services_;
    InstallerPage page_;
    THTTPGet& transfer_;
    const platform::SignerRule& signer_;
};

}  // namespace kv
