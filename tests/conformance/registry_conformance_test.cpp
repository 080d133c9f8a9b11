#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conformance/registry_under_test.h"

using namespace std::string_literals;
using kv::platform::Hive;
using kv::platform::RegType;

namespace {

const std::string kProduct = std::string(kv::test::kRegistryTestRoot) + "\\QORIND";

class RegistryConformance : public ::testing::Test {
protected:
    std::unique_ptr<kv::test::RegistryUnderTest> under = kv::test::MakeRegistryUnderTest();
    kv::platform::Registry& registry = under->Reader();

    void Store(const std::string& name, RegType type, const std::string& bytes) {
        under->Store(Hive::LocalMachine, kProduct, name, type, bytes);
    }
    // The data of a value read as text, or "<absent>".
    std::string Text(const std::string& key, const std::string& name, Hive hive = Hive::LocalMachine) {
        const auto value = registry.Read(hive, key, name);
        return value ? value->data : "<absent>";
    }
};

// Windows-1252 letters beyond ASCII too: a product key comes from a call parameter.
TEST_F(RegistryConformance, KeyAndValueNamesMatchWithoutRegardToCase) {
    const std::string root = kv::test::kRegistryTestRoot;
    Store("AppNamen", RegType::String, "QO Folio\0"s);
    under->Store(Hive::LocalMachine, root + "\\Müller Ærø", "Größe", RegType::String, "umlauts\0"s);
    under->Store(Hive::LocalMachine, root + "\\ŠŒŽŸ", "É", RegType::String, "beyond Latin-1\0"s);
    struct Row {
        std::string key;
        const char* name;
        const char* read;
    };
    for (const Row& row : std::vector<Row>{{root + "\\QORIND", "AppNamen", "QO Folio"},
                                           {root + "\\qorind", "APPNAMEN", "QO Folio"},
                                           {"SOFTWARE\\KARVELL\\CONFORMANCE\\QoRind", "appnamen", "QO Folio"},
                                           {root + "\\MÜLLER æRØ", "GRÖßE", "umlauts"},
                                           {root + "\\müller ÆrØ", "größe", "umlauts"},
                                           {root + "\\šœžÿ", "é", "beyond Latin-1"}}) {
        EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, row.key)) << row.key;
        EXPECT_EQ(Text(row.key, row.name), row.read) << row.key << " " << row.name;
    }
}

TEST_F(RegistryConformance, BlanksAndBackslashesAtTheEndsOfAKeyName) {
    Store("AppNamen", RegType::String, "QO Folio\0"s);
    under->Store(Hive::LocalMachine, kProduct + " ", "AppNamen", RegType::String, "with a blank\0"s);
    struct Row {
        std::string key;
        const char* read;
    };
    for (const Row& row : std::vector<Row>{{"\\" + kProduct, "QO Folio"},
                                           {"\\\\" + kProduct, "QO Folio"},
                                           {kProduct + "\\", "QO Folio"},
                                           {kProduct + " ", "with a blank"},
                                           {" " + kProduct, "<absent>"},
                                           {kProduct + "  ", "<absent>"}}) {
        EXPECT_EQ(registry.KeyExists(Hive::LocalMachine, row.key), row.read != "<absent>"s) << "[" << row.key << "]";
        EXPECT_EQ(Text(row.key, "AppNamen"), row.read) << "[" << row.key << "]";
    }
}

// A reader gets a value's type as stored and its bytes, less the one NUL
// that ends a string; nothing is expanded or converted.
TEST_F(RegistryConformance, ValuesReadBackWithTheirTypeAndBytes) {
    struct Row {
        const char* name;
        RegType type;
        std::string stored;
        std::string read;
    };
    const std::string longText(70000, 'v');
    const std::vector<Row> rows{
        {"Terminated", RegType::String, "8.1.10\0"s, "8.1.10"},
        {"Bare", RegType::String, "8.1.10", "8.1.10"},
        {"Comp", RegType::String, "Müller & Söhne \"GmbH\"\0"s, "Müller & Söhne \"GmbH\""},
        {"Embedded", RegType::String, "A\0B\0"s, "A\0B"s},
        {"TwoNuls", RegType::String, "A\0\0"s, "A\0"s},
        {"EmptyText", RegType::String, "", ""},
        {"OnlyNul", RegType::String, "\0"s, ""},
        {"Long", RegType::String, longText + "E\0"s, longText + "E"},
        {"Expand", RegType::ExpandString, "%ProgramFiles%\\x\0"s, "%ProgramFiles%\\x"},
        {"ExpandBare", RegType::ExpandString, "%TEMP%", "%TEMP%"},
        {"EmptyExpand", RegType::ExpandString, "", ""},
        {"Multi", RegType::MultiString, "a\0b\0\0"s, "a\0b\0"s},
        {"Dword", RegType::Dword, "\x2a\0\0\0"s, "\x2a\0\0\0"s},
        {"EmptyDword", RegType::Dword, "", ""},
        {"Binary", RegType::Binary, "\x01\0\0\0"s, "\x01\0\0\0"s},
        {"EmptyBinary", RegType::Binary, "", ""},
        {"Qword", RegType::Qword, "\x01\0\0\0\0\0\0\x80"s, "\x01\0\0\0\0\0\0\x80"s},
        {"None", RegType::None, "", ""},
    };
    for (const Row& row : rows) Store(row.name, row.type, row.stored);
    for (const Row& row : rows) {
        const auto value = registry.Read(Hive::LocalMachine, kProduct, row.name);
        ASSERT_TRUE(value) << row.name;
        EXPECT_EQ(value->type, row.type) << row.name;
        EXPECT_EQ(value->data, row.read) << row.name;
    }
}

TEST_F(RegistryConformance, MissingKeysAndValuesAreAbsentAndKeysAboveAWrittenOneExist) {
    const std::string settings = std::string(kv::test::kRegistryTestRoot) + "\\Internet Settings";
    under->Store(Hive::CurrentUser, settings, "ProxyServer", RegType::String, "10.0.0.1:3128\0"s);
    under->AddKey(Hive::LocalMachine, kProduct + "\\Sub");
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, kProduct));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, kv::test::kRegistryTestRoot));
    EXPECT_EQ(Text(kProduct, "Path"), "<absent>");
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, kProduct + "\\Missing"));
    EXPECT_EQ(Text(kProduct + "\\Missing", "Path"), "<absent>");
    // The hives are apart.
    EXPECT_EQ(Text(settings, "ProxyServer", Hive::CurrentUser), "10.0.0.1:3128");
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, settings));
    EXPECT_EQ(Text(settings, "ProxyServer"), "<absent>");
}

TEST_F(RegistryConformance, TheDefaultValueHasTheEmptyName) {
    under->AddKey(Hive::LocalMachine, kProduct);
    EXPECT_EQ(Text(kProduct, ""), "<absent>");
    Store("", RegType::String, "default\0"s);
    EXPECT_EQ(Text(kProduct, ""), "default");
}

}  // namespace
