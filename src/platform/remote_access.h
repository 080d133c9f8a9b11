#pragma once

namespace kv::platform {

// What the dial-up enumeration reports, before any interpretation.
struct DialUpEnumeration {
    bool libraryLoaded = false;
    bool functionFound = false;
    unsigned callResult = 0;       // return value of the enumeration call
    unsigned connectionCount = 0;  // count the call reported
};

class RemoteAccess {
public:
    virtual ~RemoteAccess() = default;
    virtual DialUpEnumeration EnumerateConnections() = 0;
};

}  // namespace kv::platform
