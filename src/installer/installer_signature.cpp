#include "installer/installer_signature.h"

#include "wizard/tupinew.h"

namespace kv {

namespace {
constexpr int MessageSignatureRefused = 93;
}  // namespace

bool AcceptInstallerSignature(TUpInew& w, platform::HeldFile& installer) {
    if (!w.installerSigner.Active()) return true;
    const platform::Services& services = w.services();
    const platform::SignatureVerdict verdict = services.signatures->Verify(installer, w.installerSigner);
    if (verdict.ok) return true;

    // What the maker did not sign must not stay where a later run, or the
    // user, could start it.
    installer.Discard();
    w.InstallerRefusal = "Signature: " + verdict.reason;
    w.CloseReason = CloseReasonKind::NothingEvaluated;
    // The status line holds one line: the message's first, the box all of it.
    // The headline said the installation starts; behind the refusal it must not.
    const std::string message = w.GL(MessageSignatureRefused);
    w.Label14.caption = message.substr(0, message.find('\r'));
    w.Label15.caption.clear();
    w.ComposeReport(ReportReason::SignatureNotValid);
    services.dialogs->MessageBox(platform::BoxOwner::Application, message, " Fehler",
                                 platform::MbOk | platform::MbIconError);
    return false;
}

}  // namespace kv
