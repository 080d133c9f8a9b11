#pragma once
#include "platform/remote_access.h"

namespace kv::platform::win32 {

// The dial-up library is loaded at run time: machines without it still start.
class WinRemoteAccess : public RemoteAccess {
public:
    DialUpEnumeration EnumerateConnections() override;
};

}  // namespace kv::platform::win32
