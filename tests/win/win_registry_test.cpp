#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win_registry.h"

using kv::platform::Hive;
using kv::platform::win32::WinRegistry;

// What a 64-bit program keeps in its own view is not the 32-bit product's.
TEST(WinRegistry, KeysOfThe64BitViewStayUnseen) {
    const char* const key = "Software\\Karvell\\Only64";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x"), 5);
    RegCloseKey(handle);
    WinRegistry registry;
    const bool keySeen = registry.KeyExists(Hive::LocalMachine, key);
    const bool valueSeen = registry.Read(Hive::LocalMachine, key, "Path").has_value();
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, 0);
    EXPECT_FALSE(keySeen);
    EXPECT_FALSE(valueSeen);
}
