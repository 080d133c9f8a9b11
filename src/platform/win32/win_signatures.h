#pragma once
#include "platform/signatures.h"

namespace kv::platform::win32 {

// Authenticode through WinVerifyTrust, then the signer chain's own trust
// status, the signer's name and its thumbprint.
class WinSignatures : public Signatures {
public:
    SignatureVerdict Verify(const HeldFile& file, const SignerRule& rule) override;
};

}  // namespace kv::platform::win32
