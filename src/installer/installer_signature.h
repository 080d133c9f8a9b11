#pragma once
#include "catalogue/check_page.h"
#include "platform/files.h"
#include "platform/signatures.h"

namespace kv {

// With a signer configured, the arrived installer must carry its signature.
// A refused installer is deleted, and the refusal is shown and reported.
// Returns whether the installer may be handed over and started.
bool AcceptInstallerSignature(WizardState& state, CheckPage& page, platform::Signatures& signatures,
                              const platform::SignerRule& signer, platform::HeldFile& installer);

// The arrived installer is not started: the status line says `status`, the
// headline no longer says that the installation starts, and the run is
// reported for `reason` with `why` below the update file's line (when there
// is more to say).
void ShowInstallerRefused(WizardState& state, CheckPage& page, const std::string& why, const std::string& status,
                          ReportReason reason);

}  // namespace kv
