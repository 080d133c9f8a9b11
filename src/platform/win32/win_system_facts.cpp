#include "platform/win32/win_system_facts.h"

#include <windows.h>
#include <nb30.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/system_library.h"

namespace kv::platform::win32 {
namespace {

constexpr size_t kLanguageNameLimit = 50;
constexpr size_t kAdapterStatusSize = 60;

// Loaded at its first use like every library beyond the start's own.
UCHAR RunNetbios(NCB& ncb) {
    static const auto netbios = LibraryFunction<decltype(&::Netbios)>("netapi32.dll", "Netbios");
    return netbios != nullptr ? netbios(&ncb) : static_cast<UCHAR>(NRC_SYSTEM);
}

void ResetAdapter(std::uint8_t adapter) {
    NCB ncb{};
    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = adapter;
    RunNetbios(ncb);
}

}  // namespace

std::optional<OsVersionRecord> WinSystemFacts::VersionRecord() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::nullopt;
    OsVersionRecord record;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.build = info.dwBuildNumber;
    record.platformId = info.dwPlatformId;
    record.servicePack = info.szCSDVersion;
    record.suiteMask = info.wSuiteMask;
    record.productType = info.wProductType;
    return record;
}

int WinSystemFacts::ServerR2Metric() { return GetSystemMetrics(SM_SERVERR2); }

std::string WinSystemFacts::SpecialFolder(int csidl) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return {};
    std::string path;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, buffer)) path = buffer;
        allocator->Free(items);
    }
    allocator->Release();
    return path;
}

std::optional<std::vector<std::uint8_t>> WinSystemFacts::NetbiosAdapters() {
    unsigned char buffer[256] = {};
    NCB ncb{};
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = buffer;
    ncb.ncb_length = sizeof buffer;
    if (RunNetbios(ncb) != NRC_GOODRET) return std::nullopt;
    const size_t count = std::min<size_t>(buffer[0], sizeof buffer - 1);
    return std::vector<std::uint8_t>(buffer + 1, buffer + 1 + count);
}

AdapterStatus WinSystemFacts::NetbiosAdapterStatus(std::uint8_t adapter) {
    ResetAdapter(adapter);
    unsigned char buffer[kAdapterStatusSize] = {};
    NCB ncb{};
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = adapter;
    std::memset(ncb.ncb_callname, ' ', NCBNAMSZ);
    ncb.ncb_callname[0] = '*';
    ncb.ncb_buffer = buffer;
    ncb.ncb_length = sizeof buffer;
    AdapterStatus status;
    status.returnCode = RunNetbios(ncb);
    std::memcpy(status.address.data(), buffer, status.address.size());
    return status;
}

int WinSystemFacts::ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::optional<std::string> WinSystemFacts::UserCountryCode() {
    char buffer[16] = {};
    int got = GetLocaleInfoA(GetUserDefaultLCID(), LOCALE_ICOUNTRY, buffer, sizeof buffer);
    if (got <= 0) return std::nullopt;
    return std::string(buffer);
}

std::string WinSystemFacts::SystemLanguageName() {
    char buffer[256] = {};
    DWORD got = VerLanguageNameA(GetSystemDefaultLangID(), buffer, sizeof buffer);
    std::string name(buffer, std::min<size_t>(got, sizeof buffer - 1));
    if (name.size() > kLanguageNameLimit) name.resize(kLanguageNameLimit);
    return name;
}

std::string WinSystemFacts::ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kv::platform::win32
