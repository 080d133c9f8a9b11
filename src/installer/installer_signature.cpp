#include "installer/installer_signature.h"

#include "run/text_catalogue.h"

namespace kv {

namespace {
constexpr int MessageSignatureRefused = 93;
}  // namespace

bool AcceptInstallerSignature(WizardState& state, CheckPage& page, platform::Signatures& signatures,
                              const platform::SignerRule& signer, platform::HeldFile& installer) {
    if (!signer.Active()) return true;
    const platform::SignatureVerdict verdict = signatures.Verify(installer, signer);
    if (verdict.ok) return true;

    // What the maker did not sign must not stay where a later run, or the
    // user, could start it.
    installer.Discard();
    // The status line holds one line: the message's first, the box all of it.
    const std::string message = CatalogueText(state, MessageSignatureRefused);
    ShowInstallerRefused(state, page, "Signature: " + verdict.reason, message.substr(0, message.find('\r')),
                         ReportReason::SignatureNotValid);
    page.dialogs.MessageBox(platform::BoxOwner::Application, message, " Fehler",
                            platform::MbOk | platform::MbIconError);
    return false;
}

void ShowInstallerRefused(WizardState& state, CheckPage& page, const std::string& why, const std::string& status,
                          ReportReason reason) {
    state.InstallerRefusal = why;
    state.CloseReason = CloseReasonKind::NothingEvaluated;
    page.Label14.caption = status;
    page.Label15.caption.clear();
    page.report(reason);
}

}  // namespace kv
