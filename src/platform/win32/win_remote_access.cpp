#include "platform/win32/win_remote_access.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/system_library.h"

namespace kv::platform::win32 {
namespace {

// The ANSI connection entry of the oldest layout the product was built
// against: four of them fit the enumeration buffer.
constexpr DWORD kEntrySize = 412;
constexpr DWORD kEntryCount = 4;
constexpr DWORD kBufferSize = kEntrySize * kEntryCount;  // 1648

using RasEnumConnectionsFn = DWORD(WINAPI*)(void* connections, DWORD* bufferSize, DWORD* count);

}  // namespace

DialUpEnumeration WinRemoteAccess::EnumerateConnections() {
    DialUpEnumeration result;
    HMODULE library = LoadSystemLibrary("rasapi32.dll");
    if (!library) return result;
    result.libraryLoaded = true;
    const auto enumerate = FunctionOf<RasEnumConnectionsFn>(library, "RasEnumConnectionsA");
    if (enumerate) {
        result.functionFound = true;
        alignas(DWORD) unsigned char buffer[kBufferSize] = {};
        std::memcpy(buffer, &kEntrySize, sizeof kEntrySize);
        DWORD size = kBufferSize;
        DWORD count = 0;
        result.callResult = enumerate(buffer, &size, &count);
        result.connectionCount = count;
    }
    FreeLibrary(library);
    return result;
}

}  // namespace kv::platform::win32
