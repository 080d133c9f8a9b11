#include "platform/win32/win_processes.h"

#include <windows.h>

#include <vector>

namespace kv::platform::win32 {

bool WinProcesses::Start(const ProcessRequest& request) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> commandLine(request.commandLine.begin(), request.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = request.startupFlags;
    startup.wShowWindow = request.showWindow;
    PROCESS_INFORMATION process{};
    const char* folder = request.currentFolder.empty() ? nullptr : request.currentFolder.c_str();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, request.creationFlags, nullptr, folder,
                        &startup, &process))
        return false;
    if (request.wait) WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace kv::platform::win32
