#pragma once
#include <functional>
#include <string>

#include "platform/services.h"
#include "run/wizard_state.h"
#include "ui/form.h"

namespace kv {

// The proxy settings dialog: switches the wizard's proxy on or off and
// stores address, port, user and password in the product's version list file.
// All its texts are German whatever the wizard's language.
class TProxyForm : public ui::Form {
public:
    // A dialog is made for one showing: it comes filled (FormShow has run).
    // The proxy belongs to the product `state` names; `proxyChanged` runs
    // after a saved change.
    TProxyForm(const WizardState& state, const platform::Services& services, std::function<void()> proxyChanged);

    ui::Control proxyuse{"proxyuse", ui::Kind::CheckBox};
    ui::Control Label1{"Label1", ui::Kind::Label};
    ui::Control proxyname{"proxyname", ui::Kind::Edit};
    ui::Control Label2{"Label2", ui::Kind::Label};
    ui::Control proxyport{"proxyport", ui::Kind::Edit};
    ui::Control Label3{"Label3", ui::Kind::Label};
    ui::Control proxyuser{"proxyuser", ui::Kind::Edit};
    ui::Control Label4{"Label4", ui::Kind::Label};
    ui::Control proxypw{"proxypw", ui::Kind::Edit};
    ui::Control StyleSpeedButton1{"StyleSpeedButton1", ui::Kind::Button};  // apply
    ui::Control StyleSpeedButton2{"StyleSpeedButton2", ui::Kind::Button};  // cancel
    ui::Control StyleSpeedButton3{"StyleSpeedButton3", ui::Kind::Button};  // search again

    void FormShow();
    void proxyuseClick();
    static bool proxynameKeyPress(char key);
    static bool proxyportKeyPress(char key);
    void StyleSpeedButton1Click();
    void StyleSpeedButton2Click();
    void StyleSpeedButton3Click();

    // Exactly three "." among all characters but the last; nothing else is checked.
    static bool IsValidProxyIP(const std::string& text);

private:
    void CreateControls();
    void EnableEdits(bool enabled);
    void FillFromSystemProxy();
    void StoreSettings();
    void WriteKey(const std::string& key, const std::string& value);
    void TakeOverSettings();

    const WizardState& state_;
    platform::Services services_;
    std::function<void()> proxyChanged_;
};

}  // namespace kv
