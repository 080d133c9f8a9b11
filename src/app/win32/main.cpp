#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include "app/command_line.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win_clock.h"
#include "platform/win32/win_dialogs.h"
#include "platform/win32/win_dispatcher.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_internet.h"
#include "platform/win32/win_processes.h"
#include "platform/win32/win_profile.h"
#include "platform/win32/win_registry.h"
#include "platform/win32/win_remote_access.h"
#include "platform/win32/win_signatures.h"
#include "platform/win32/win_system_facts.h"
#include "report/tphpunit.h"
#include "ui/win32/application_window.h"
#include "ui/win32/message_loop.h"
#include "ui/win32/win_ui_host.h"
#include "wizard/tupinew.h"

namespace {

using namespace kv;

// Every service of the process; they outlive the windows that use them.
struct WindowsWorld {
    platform::win32::WinRegistry registry;
    platform::win32::WinProfile profile;
    platform::win32::WinFiles files;
    platform::win32::WinClock clock;
    platform::win32::WinDialogs dialogs;
    platform::win32::WinProcesses processes;
    platform::win32::WinDispatcher dispatcher;
    platform::win32::WinInternet internet;
    platform::win32::WinRemoteAccess remoteAccess;
    platform::win32::WinSystemFacts system;
    ui::win32::WinUiHost ui;
    platform::win32::WinSignatures signatures;

    platform::Services Services() {
        return {&registry, &profile, &files, &clock, &dialogs, &processes, &dispatcher, &internet, &remoteAccess,
                &system, &ui, &signatures};
    }
};

// The process formats its own dates and numbers; the thread locale makes
// the system's own texts (message box buttons, sorting) German as well.
void UseGermanLocale() { SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)); }

void InitThemedControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
}

// The process ends inside, while the services still exist: a transfer
// worker may still be running (an aborted download ends on its own time)
// and must never reach a service that is gone. Ending the process stops it
// first.
[[noreturn]] void RunWizard() {
    ui::win32::ApplicationWindow application;
    WindowsWorld world;
    world.dialogs.SetOwnerWindow(platform::BoxOwner::Application, application.Handle());
    world.dialogs.SetView(
        [] {
            const ui::win32::NativeForm* top = ui::win32::NativeForm::Topmost();
            return top != nullptr ? top->Handle() : nullptr;
        },
        [] { ui::win32::NativeForm::MirrorAll(); });
    ui::win32::NativeForm::ShowFailuresIn(world.dialogs);
    // Work handed over by a transfer worker is an event like a click; its
    // progress steps are shown at a rate a person can read.
    world.dispatcher.SetRunner([](const std::function<void()>& work) { ui::win32::NativeForm::RunHandler(work); });
    world.dispatcher.SetSendRunner(
        [](const std::function<void()>& work) { ui::win32::NativeForm::RunFrequentHandler(work); });
    ui::win32::SetMessageWait(
        [&world](unsigned long milliseconds) { return world.dispatcher.WaitForMessagesOrWork(milliseconds); });
    const platform::Services services = world.Services();

    TPHPunit reportWindow(services);
    {
        TUpInew wizard(services, &reportWindow);
        wizard.INGetFile.pumpMessages = ui::win32::PumpPendingMessages;
        bool proceed = true;
        ui::win32::NativeForm::RunHandler([&] { proceed = wizard.FormCreate(SplitCommandLine(GetCommandLineA())); });
        if (!proceed) ExitProcess(0);
        ui::win32::NativeForm view(wizard, nullptr, false);
        world.dialogs.SetOwnerWindow(platform::BoxOwner::Wizard, view.Handle());
        application.SetMainWindow(view.Handle());
        ui::win32::NativeForm::RunHandler([&] {
            wizard.FormResize();
            wizard.FormShow();
        });
        view.Show();
        ui::win32::RunMessageLoop(view);
    }
    // The request has normally left during the close's own pause; a report
    // server that is slow to answer must not keep the program from ending.
    reportWindow.WaitForDelivery(DeliveryWaitAtExitMs);
    ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::RestrictLibrarySearchToSystemFolder();
    UseGermanLocale();
    InitThemedControls();
    if (ui::win32::RaiseRunningInstance()) return 0;
    RunWizard();
}
