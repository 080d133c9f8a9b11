#include "platform/win32/win_processes.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace kv::platform::win32 {

namespace {

constexpr DWORD ErrorElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED; not in mingw's headers

ProcessOutcome Failure(DWORD error) {
    switch (error) {
        case ErrorElevationRequired: return {StartResult::ElevationRequired, error};
        case ERROR_CANCELLED: return {StartResult::Declined, error};
        default: return {StartResult::Failed, error};
    }
}

ProcessOutcome Started(HANDLE process, bool wait) {
    if (process) {
        if (wait) WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    return {};
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

ProcessOutcome WinProcesses::Start(const ProcessRequest& request) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    const std::string line = request.CommandLine();
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = request.startupFlags;
    startup.wShowWindow = request.showWindow;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, request.creationFlags, nullptr,
                        OrNull(request.currentFolder), &startup, &process))
        return Failure(GetLastError());
    CloseHandle(process.hThread);
    return Started(process.hProcess, request.wait);
}

ProcessOutcome WinProcesses::StartElevated(const ProcessRequest& request) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = "runas";
    info.lpFile = request.program.c_str();
    info.lpParameters = OrNull(request.parameters);
    info.lpDirectory = OrNull(request.currentFolder);
    info.nShow = (request.startupFlags & STARTF_USESHOWWINDOW) ? request.showWindow : SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return Failure(GetLastError());
    return Started(info.hProcess, request.wait);
}

}  // namespace kv::platform::win32
