#pragma once
#include <string>

namespace kv {

class TUpInew;

// With a signer configured, the arrived installer must carry its signature.
// A refused installer is deleted, and the refusal is shown and reported.
// Returns whether the installer may be handed over and started.
bool AcceptInstallerSignature(TUpInew& wizard, const std::string& installerPath);

}  // namespace kv
