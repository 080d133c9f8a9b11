#pragma once
#include "platform/files.h"

namespace kv {

class TUpInew;

// With a signer configured, the arrived installer must carry its signature.
// A refused installer is deleted, and the refusal is shown and reported.
// Returns whether the installer may be handed over and started.
bool AcceptInstallerSignature(TUpInew& wizard, platform::HeldFile& installer);

}  // namespace kv
