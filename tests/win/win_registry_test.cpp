#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win_registry.h"

using kv::platform::Hive;
using kv::platform::RegType;
using kv::platform::win32::WinRegistry;

namespace {

const char* const kKey = "Software\\Karvell\\WinTestKey";

// Writes values as an installer of the 32-bit product would.
class RegistryWriter {
public:
    RegistryWriter(HKEY root, const char* key, REGSAM view) : root_(root), key_(key), view_(view) {
        RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &handle_, nullptr);
    }
    ~RegistryWriter() {
        RegCloseKey(handle_);
        RegDeleteKeyExA(root_, key_, view_, 0);
    }
    RegistryWriter(const RegistryWriter&) = delete;
    RegistryWriter& operator=(const RegistryWriter&) = delete;
    void Set(const char* name, DWORD type, const void* data, size_t size) {
        ASSERT_EQ(RegSetValueExA(handle_, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }
    void SetText(const char* name, const std::string& text, DWORD type = REG_SZ) {
        Set(name, type, text.c_str(), text.size() + 1);
    }

private:
    HKEY root_;
    const char* key_;
    REGSAM view_;
    HKEY handle_ = nullptr;
};

}  // namespace

TEST(WinRegistry, ReadsTypedValuesOfThe32BitView) {
    RegistryWriter writer(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY);
    writer.SetText("Path", "C:\\Programme\\QOFolio");
    writer.SetText("Expand", "%ProgramFiles%\\x", REG_EXPAND_SZ);
    const DWORD one = 1;
    writer.Set("ProxyEnable", REG_DWORD, &one, sizeof one);
    const unsigned char bytes[] = {1, 0, 0, 0};
    writer.Set("Binary", REG_BINARY, bytes, sizeof bytes);
    writer.Set("Empty", REG_SZ, "", 0);

    WinRegistry registry;
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, kKey));
    auto path = registry.Read(Hive::LocalMachine, kKey, "path");  // names match without regard to case
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, RegType::String);
    EXPECT_EQ(path->data, "C:\\Programme\\QOFolio");
    auto expand = registry.Read(Hive::LocalMachine, kKey, "Expand");
    ASSERT_TRUE(expand);
    EXPECT_EQ(expand->type, RegType::ExpandString);
    EXPECT_EQ(expand->data, "%ProgramFiles%\\x");  // not expanded
    auto dword = registry.Read(Hive::LocalMachine, kKey, "ProxyEnable");
    ASSERT_TRUE(dword);
    EXPECT_EQ(dword->type, RegType::Dword);
    EXPECT_EQ(dword->data, std::string("\x01\0\0\0", 4));
    auto binary = registry.Read(Hive::LocalMachine, kKey, "Binary");
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->type, RegType::Binary);
    EXPECT_EQ(binary->data.size(), 4u);
    auto empty = registry.Read(Hive::LocalMachine, kKey, "Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->type, RegType::String);
    EXPECT_EQ(empty->data, "");
}

TEST(WinRegistry, MissingKeyOrValueIsReportedAsAbsent) {
    RegistryWriter writer(HKEY_CURRENT_USER, kKey, KEY_WOW64_32KEY);
    writer.SetText("ProxyServer", "10.0.0.1:3128");
    WinRegistry registry;
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "Software\\Karvell\\NoSuchProduct"));
    EXPECT_FALSE(registry.Read(Hive::LocalMachine, "Software\\Karvell\\NoSuchProduct", "Path"));
    EXPECT_FALSE(registry.Read(Hive::CurrentUser, kKey, "ProxyEnable"));
    auto server = registry.Read(Hive::CurrentUser, kKey, "ProxyServer");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->data, "10.0.0.1:3128");
}

TEST(WinRegistry, LongValuesReadWhole) {
    RegistryWriter writer(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY);
    std::string text(70000, 'v');
    text.back() = 'E';
    writer.SetText("Long", text);
    auto value = WinRegistry().Read(Hive::LocalMachine, kKey, "Long");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, text);
}

TEST(WinRegistry, StringStoredWithoutTerminatorKeepsItsLastCharacter) {
    RegistryWriter writer(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY);
    writer.Set("Bare", REG_SZ, "8.1.10", 6);
    auto value = WinRegistry().Read(Hive::LocalMachine, kKey, "Bare");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, "8.1.10");
}

TEST(WinRegistry, KeysOfThe64BitViewStayUnseen) {
    RegistryWriter writer(HKEY_LOCAL_MACHINE, "Software\\Karvell\\Only64", KEY_WOW64_64KEY);
    writer.SetText("Path", "C:\\x");
    WinRegistry registry;
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "Software\\Karvell\\Only64"));
    EXPECT_FALSE(registry.Read(Hive::LocalMachine, "Software\\Karvell\\Only64", "Path"));
}

TEST(WinRegistry, KeyNamedWithALeadingBackslashIsFound) {
    RegistryWriter writer(HKEY_CURRENT_USER, kKey, KEY_WOW64_32KEY);
    const DWORD one = 1;
    writer.Set("ProxyEnable", REG_DWORD, &one, sizeof one);

    WinRegistry registry;
    const std::string fromRoot = std::string("\\") + kKey;
    EXPECT_TRUE(registry.KeyExists(Hive::CurrentUser, fromRoot));
    auto enable = registry.Read(Hive::CurrentUser, fromRoot, "ProxyEnable");
    ASSERT_TRUE(enable);
    EXPECT_EQ(enable->type, RegType::Dword);
}
