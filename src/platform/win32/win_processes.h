#pragma once
#include "platform/process.h"

namespace kv::platform::win32 {

class WinProcesses : public Processes {
public:
    bool Start(const ProcessRequest& request) override;
};

}  // namespace kv::platform::win32
