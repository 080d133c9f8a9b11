#pragma once
#include "platform/process.h"

namespace kv::platform::win32 {

class WinProcesses : public Processes {
public:
    ProcessOutcome Start(const ProcessRequest& request) override;
    ProcessOutcome StartElevated(const ProcessRequest& request) override;
};

}  // namespace kv::platform::win32
