#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "fakes/fake_registry.h"
#include "platform/win32/win_processes.h"
#include "platform/win32/win_registry.h"

using kv::platform::Hive;
using kv::platform::ProcessRequest;

namespace {

const char* const kKey = "Software\\Karvell\\RegImportTest";

// Wine shows the host's root folder as drive Z:.
std::string OnDriveZ(std::string hostPath) {
    for (char& c : hostPath)
        if (c == '/') c = '\\';
    return "Z:" + hostPath;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void RemoveImportedKeys() {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "Software\\Karvell\\RegImportTest\\Sub", KEY_WOW64_32KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0);
}

}  // namespace

// The end-to-end runs fill the registry with "reg import /reg:32"; the unit
// tests fill the fake from the same kind of file. Both must read alike.
TEST(WinRegistry, ReadsWhatRegImportWroteAsTheFakeReadsIt) {
    const std::string file = OnDriveZ(std::string(KV_FIXTURES) + "/win/reg_import.reg");
    const std::string text = ReadText(file);
    ASSERT_FALSE(text.empty()) << file;
    kv::test::FakeRegistry fake;
    fake.Import(text);

    RemoveImportedKeys();
    ProcessRequest import;
    import.program = "reg.exe";
    import.parameters = "import \"" + file + "\" /reg:32";
    import.wait = true;
    ASSERT_TRUE(kv::platform::win32::WinProcesses().Start(import).Started());

    kv::platform::win32::WinRegistry real;
    EXPECT_TRUE(real.KeyExists(Hive::LocalMachine, kKey));
    EXPECT_EQ(real.KeyExists(Hive::LocalMachine, std::string(kKey) + "\\Sub"),
              fake.KeyExists(Hive::LocalMachine, std::string(kKey) + "\\Sub"));
    for (const char* name : {"Path", "Comp", "VER", "Empty", "Count", "ProxyEnable", "Expand", "Missing"}) {
        auto expected = fake.Read(Hive::LocalMachine, kKey, name);
        auto actual = real.Read(Hive::LocalMachine, kKey, name);
        ASSERT_EQ(actual.has_value(), expected.has_value()) << name;
        if (!expected) continue;
        EXPECT_EQ(actual->type, expected->type) << name;
        EXPECT_EQ(actual->data, expected->data) << name;
    }
    auto defaultValue = real.Read(Hive::LocalMachine, std::string(kKey) + "\\Sub", "");
    ASSERT_TRUE(defaultValue);
    EXPECT_EQ(defaultValue->data, "default");
    RemoveImportedKeys();
}
