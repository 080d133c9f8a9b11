#include "platform/win32/win_registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace kv::platform::win32 {
namespace {

constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_32KEY;

HKEY RootOf(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// Callers name keys from the root, some with a leading "\" (such as
// "\Software\Microsoft\..."); the system refuses that form (bad path name),
// so the key would never be found. A trailing "\" (a product key built from
// an empty parameter) would ask for a subkey without a name, which Windows
// need not forgive: the key meant is the one before it.
std::string FromRoot(const std::string& key) {
    const std::size_t first = key.find_first_not_of('\\');
    if (first == std::string::npos) return std::string();
    return key.substr(first, key.find_last_not_of('\\') - first + 1);
}

// Closes the key however the read ends.
class OpenKey {
public:
    OpenKey(Hive hive, const std::string& key) {
        if (RegOpenKeyExA(RootOf(hive), FromRoot(key).c_str(), 0, kReadAccess, &handle_) != ERROR_SUCCESS)
            handle_ = nullptr;
    }
    ~OpenKey() {
        if (handle_) RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

}  // namespace

bool WinRegistry::KeyExists(Hive hive, const std::string& key) { return OpenKey(hive, key).get() != nullptr; }

std::optional<RegValue> WinRegistry::Read(Hive hive, const std::string& key, const std::string& name) {
    OpenKey open(hive, key);
    if (!open.get()) return std::nullopt;
    std::vector<BYTE> buffer(256);
    DWORD type = REG_NONE;
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG rc = RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, buffer.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            // The value may grow between two queries: ask again with what it reported.
            buffer.resize(std::max<size_t>(size, buffer.size() * 2));
            continue;
        }
        if (rc != ERROR_SUCCESS) return std::nullopt;
        return ValueFromStored(static_cast<RegType>(type),
                               std::string(reinterpret_cast<const char*>(buffer.data()), size));
    }
}

}  // namespace kv::platform::win32
