#include "transfer/installer_signature.h"

#include "wizard/tupinew.h"

namespace kv {

namespace {
constexpr int ReasonSignatureRefused = 23;
constexpr int MessageSignatureRefused = 93;
}  // namespace

bool AcceptInstallerSignature(TUpInew& w, const std::string& installerPath) {
    if (!w.installerSigner.Active()) return true;
    const platform::Services& services = w.services();
    const platform::SignatureVerdict verdict = services.signatures->Verify(installerPath, w.installerSigner);
    if (verdict.ok) return true;

    // What the maker did not sign must not stay where a later run, or the
    // user, could start it.
    services.files->Delete(installerPath);
    w.SignatureRefusal = verdict.reason;
    w.CloseReason = 0;
    w.Label14.caption = w.GL(MessageSignatureRefused);
    // The page said the installation starts; behind the refusal it must not.
    w.Label15.caption.clear();
    w.ComposeReport(ReasonSignatureRefused);
    services.dialogs->MessageBox(platform::BoxOwner::Application, w.GL(MessageSignatureRefused), " Fehler",
                                 platform::MbOk | platform::MbIconError);
    return false;
}

}  // namespace kv
