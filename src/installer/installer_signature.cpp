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
    state.InstallerRefusal = "Signature: " + verdict.reason;
    state.CloseReason = CloseReasonKind::NothingEvaluated;
    // The status line holds one line: the message's first, the box all of it.
    // The headline said the installation starts; behind the refusal it must not.
    const std::string message = CatalogueText(state, MessageSignatureRefused);
    page.Label14.caption = message.substr(0, message.find('\r'));
    page.Label15.caption.clear();
    page.report(ReportReason::SignatureNotValid);
    page.dialogs.MessageBox(platform::BoxOwner::Application, message, " Fehler",
                            platform::MbOk | platform::MbIconError);
    return false;
}

}  // namespace kv
