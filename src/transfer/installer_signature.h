#pragma once
#include <string>

namespace kv {

class TUpInew;

// With a signer configured, the arrived installer must carry its signature.
// A refused installer is deleted, the refusal is shown and reported, and the
// wizard closes. Returns whether the installer may be handed over and started.
bool AcceptInstallerSignature(TUpInew& wizard, const std::string& installerPath);

}  // namespace kv
