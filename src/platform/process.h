#pragma once
#include <stdexcept>
#include <string>

namespace kv::platform {

struct ProcessRequest {
    std::string commandLine;
    std::string currentFolder;     // empty: the caller's
    unsigned creationFlags = 0;    // Win32 CREATE_* flags
    unsigned startupFlags = 0;     // STARTUPINFO dwFlags
    unsigned short showWindow = 0; // STARTUPINFO wShowWindow
    bool wait = false;
};

// Raised when starting a process throws rather than merely failing.
class ProcessStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Processes {
public:
    virtual ~Processes() = default;
    // false when the process could not be created.
    virtual bool Start(const ProcessRequest& request) = 0;
};

}  // namespace kv::platform
