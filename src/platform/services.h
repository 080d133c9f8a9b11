#pragma once
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/dispatcher.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/remote_access.h"
#include "platform/signatures.h"
#include "platform/system_facts.h"

namespace kv::ui { class UiHost; }

namespace kv::platform {

// The world as the behaviour sees it. Owned by the entry (or by a test);
// every member outlives the windows that use it.
struct Services {
    Registry* registry = nullptr;
    Profile* profile = nullptr;
    Files* files = nullptr;
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Processes* processes = nullptr;
    Dispatcher* dispatcher = nullptr;
    Internet* internet = nullptr;
    RemoteAccess* remoteAccess = nullptr;
    SystemFacts* system = nullptr;
    ui::UiHost* ui = nullptr;
    Signatures* signatures = nullptr;
};

}  // namespace kv::platform
