#include "conformance/registry_under_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win_registry.h"

namespace kv::test {
namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY RootOf(platform::Hive hive) {
    return hive == platform::Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Writes into the 32-bit view as an installer of the 32-bit product would.
class SystemRegistryUnderTest : public RegistryUnderTest {
public:
    SystemRegistryUnderTest() { RemoveTestKeys(); }  // left by a run that did not end
    ~SystemRegistryUnderTest() override { RemoveTestKeys(); }
    platform::Registry& Reader() override { return reader_; }
    void AddKey(platform::Hive hive, const std::string& key) override { RegCloseKey(Create(hive, key)); }
    void Store(platform::Hive hive, const std::string& key, const std::string& name, platform::RegType type,
               const std::string& bytes) override {
        const HKEY handle = Create(hive, key);
        EXPECT_EQ(RegSetValueExA(handle, name.c_str(), 0, static_cast<DWORD>(type),
                                 reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << key << " " << name;
        RegCloseKey(handle);
    }

private:
    static HKEY Create(platform::Hive hive, const std::string& key) {
        HKEY handle = nullptr;
        EXPECT_EQ(RegCreateKeyExA(RootOf(hive), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &handle,
                                  nullptr),
                  ERROR_SUCCESS)
            << key;
        return handle;
    }
    static void RemoveTestKeys() {
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            HKEY handle = nullptr;
            if (RegOpenKeyExA(root, kRegistryTestRoot, 0, KEY_ALL_ACCESS | kView, &handle) != ERROR_SUCCESS) continue;
            RegDeleteTreeA(handle, nullptr);
            RegCloseKey(handle);
            RegDeleteKeyExA(root, kRegistryTestRoot, kView, 0);
        }
    }

    platform::win32::WinRegistry reader_;
};

}  // namespace

std::unique_ptr<RegistryUnderTest> MakeRegistryUnderTest() { return std::make_unique<SystemRegistryUnderTest>(); }

}  // namespace kv::test
