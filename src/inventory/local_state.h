#pragma once
#include <functional>
#include <optional>

#include "platform/services.h"
#include "run/wizard_state.h"
#include "ui/control.h"

namespace kv {

// What reading the local state writes: the welcome page's texts, the check
// page's button captions, and the connection kind it asks for to correct a
// stored proxy choice.
struct WelcomePage {
    ui::Control& Label1;  // welcome text
    ui::Control& Label3;  // version caption / value Label5
    ui::Control& Label5;
    ui::Control& Label6;  // date caption / value Label7
    ui::Control& Label7;
    ui::Control& Label8;
    ui::Control& Label9;
    ui::Control& Panel6;
    ui::Control& Pzu;
    ui::Control& DownLoadNewVersion1;
    ui::Control& Label11;  // the check page's progress text
    ui::Control& Label15;  // the check page's headline
    ui::Control& DLBut;
    ui::Control& PZu2;
    std::function<std::optional<int>()> connectionKind;
};

// Reads the product's version list file (copying the shipped one into the
// common data folder first when it is missing there), the proxy settings it
// keeps and, for the court-register family, its settings file; fills the
// page. Returns false when the product has no version list: the page then
// says that the wizard cannot check.
bool ReadLocalState(WizardState& state, const platform::Services& services, WelcomePage& page);

}  // namespace kv
