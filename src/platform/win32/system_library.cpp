#include "platform/win32/system_library.h"

#include <string>

namespace kv::platform::win32 {

namespace {
std::string InSystemFolder(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder, length) + "\\" + name;
}
}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The flag is unknown to a loader without the update; such a system is
    // told the whole path, which no search order can change.
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        const std::string path = InSystemFolder(name);
        if (!path.empty()) module = LoadLibraryA(path.c_str());
    }
    return module;
}

void RestrictLibrarySearchToSystemFolder() {
    const auto restrictSearch =
        LibraryFunction<decltype(&::SetDefaultDllDirectories)>("kernel32.dll", "SetDefaultDllDirectories");
    if (restrictSearch != nullptr) restrictSearch(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace kv::platform::win32
