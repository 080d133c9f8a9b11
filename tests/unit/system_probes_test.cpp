#include <gtest/gtest.h>

#include "fakes/test_world.h"
#include "report/system_probes.h"

namespace {

using kv::platform::AdapterStatus;
using kv::platform::Hive;
using kv::platform::OsVersionRecord;
using kv::platform::RegType;

constexpr const char* CurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr unsigned char Workstation = 1, Server = 3;

struct OsCase {
    const char* label;
    OsVersionRecord record;
    int build;  // registry CurrentBuild; 0 leaves it out
    unsigned registryMajor;
    int serverR2;
    const char* expected;
};

void PrintTo(const OsCase& c, std::ostream* os) { *os << c.label; }

OsVersionRecord Nt(unsigned major, unsigned minor, unsigned char productType, unsigned short suite = 0) {
    return {major, minor, 0, 2, "", suite, productType};
}

OsVersionRecord Nine(unsigned minor, const char* servicePack = "") { return {4, minor, 0, 1, servicePack, 0, 0}; }

class OsDisplayNameTable : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsDisplayNameTable, ChoosesTheNameOfTheFirstMatchingRow) {
    const OsCase& c = GetParam();
    kv::test::TestWorld world;
    world.registry.SetString(Hive::LocalMachine, CurrentVersion, "ProductName", "Windows 10 Pro");
    if (c.build != 0)
        world.registry.SetString(Hive::LocalMachine, CurrentVersion, "CurrentBuild", std::to_string(c.build));
    world.registry.SetDword(Hive::LocalMachine, CurrentVersion, "CurrentMajorVersionNumber", c.registryMajor);
    world.registry.SetDword(Hive::LocalMachine, CurrentVersion, "CurrentMinorVersionNumber", 0);
    world.system.version = c.record;
    world.system.serverR2 = c.serverR2;
    EXPECT_EQ(kv::OsDisplayName(world.registry, world.system), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, OsDisplayNameTable,
    ::testing::Values(
        OsCase{"Win95", Nine(0), 0, 0, 0, "Windows 95"},
        OsCase{"Win98SE", Nine(10, " A "), 0, 0, 0, "Windows 98SE"},
        OsCase{"Win98", Nine(10, "A"), 0, 0, 0, "Windows 98"},
        OsCase{"Win98NoServicePack", Nine(10), 0, 0, 0, "Windows 98"},
        OsCase{"WinME", Nine(90), 0, 0, 0, "Windows ME"},
        OsCase{"Other9x", Nine(20), 0, 0, 0, "Unbekannt"},
        OsCase{"Win32s", {3, 1, 0, 0, "", 0, 0}, 0, 0, 0, "Unbekannt"},
        OsCase{"CE", {10, 0, 0, 3, "", 0, 1}, 22000, 10, 0, "Unbekannt"},
        OsCase{"NT4", Nt(4, 0, Workstation), 0, 0, 0, "Windows NT"},
        OsCase{"Win2000", Nt(5, 0, Server), 0, 0, 0, "Windows 2000"},
        OsCase{"XP", Nt(5, 1, Workstation), 0, 0, 0, "Windows XP"},
        OsCase{"Server2003R2", Nt(5, 2, Workstation), 0, 0, 1, "Windows Server 2003 R2"},
        OsCase{"XP64", Nt(5, 2, Workstation, 0x8000), 0, 0, 0, "Windows XP64"},
        OsCase{"HomeServer", Nt(5, 2, Server, 0x8000), 0, 0, 0, "Windows Home Server"},
        OsCase{"Server2003", Nt(5, 2, Server, 0x8010), 0, 0, 0, "Windows Server 2003"},
        OsCase{"Vista", Nt(6, 0, Workstation), 0, 0, 0, "Windows Vista"},
        OsCase{"Server2008", Nt(6, 0, Server), 0, 0, 0, "Windows Server 2008"},
        OsCase{"Win7", Nt(6, 1, Workstation), 7601, 0, 0, "Windows 7"},
        OsCase{"Server2008R2", Nt(6, 1, Server), 7601, 0, 0, "Windows Server 2008 R2"},
        OsCase{"Win8", Nt(6, 2, Workstation), 9200, 0, 0, "Windows 8"},
        OsCase{"Server2012", Nt(6, 2, Server), 9200, 0, 0, "Windows Server 2012"},
        OsCase{"Win81", Nt(6, 3, Workstation), 9600, 0, 0, "Windows 8.1"},
        OsCase{"Server2012R2", Nt(6, 3, Server), 9600, 0, 0, "Windows Server 2012"},
        OsCase{"Major6NewBuild", Nt(6, 3, Workstation), 19041, 0, 0, "Windows 10 Pro"},
        OsCase{"Major6NewBuildServer", Nt(6, 4, Server), 19041, 0, 0, "Windows Server 2022"},
        OsCase{"Major6BuildBetween", Nt(6, 3, Workstation), 9601, 10, 0, "Unbekannt"},
        OsCase{"Win10", Nt(10, 0, Workstation), 19045, 10, 0, "Windows 10 Pro"},
        OsCase{"Win10LastBuild", Nt(10, 0, Workstation), 21999, 10, 0, "Windows 10 Pro"},
        OsCase{"Win11", Nt(10, 0, Workstation), 22631, 10, 0, "Windows 11 Pro"},
        OsCase{"Server2022", Nt(10, 0, Server), 19001, 10, 0, "Windows Server 2022"},
        OsCase{"ServerOldBuild", Nt(10, 0, Server), 19000, 10, 0, "Unbekannt"},
        OsCase{"Win10WithoutRegistryMajor", Nt(10, 0, Workstation), 19045, 0, 0, "Unbekannt"},
        OsCase{"Win10WithoutBuild", Nt(10, 0, Workstation), 0, 10, 0, "Unbekannt"}),
    [](const ::testing::TestParamInfo<OsCase>& row) { return std::string(row.param.label); });

class OsDisplayName : public ::testing::Test {
protected:
    kv::test::TestWorld world;
    std::string Name() { return kv::OsDisplayName(world.registry, world.system); }
    void SetModernWindows(const std::string& productName, const std::string& build) {
        world.registry.SetString(Hive::LocalMachine, CurrentVersion, "ProductName", productName);
        world.registry.SetString(Hive::LocalMachine, CurrentVersion, "CurrentBuild", build);
        world.registry.SetDword(Hive::LocalMachine, CurrentVersion, "CurrentMajorVersionNumber", 10);
        world.system.version = Nt(10, 0, Workstation);
    }
};

TEST_F(OsDisplayName, ReplacesOnlyTheFirstTenOnNewBuilds) {
    SetModernWindows("Windows 10 Enterprise 2010", "22000");
    EXPECT_EQ(Name(), "Windows 11 Enterprise 2010");
}

TEST_F(OsDisplayName, RetriesTheVersionQueryOnce) {
    SetModernWindows("Windows 10 Home", "19045");
    world.system.versionFailures = 1;
    EXPECT_EQ(Name(), "Windows 10 Home");
    world.system.versionFailures = 2;
    EXPECT_EQ(Name(), "Unbekannt");
}

TEST_F(OsDisplayName, ValuesOfAnotherTypeCountAsMissing) {
    SetModernWindows("Windows 10 Home", "19045");
    world.registry.SetDword(Hive::LocalMachine, CurrentVersion, "CurrentBuild", 19045);
    EXPECT_EQ(Name(), "Unbekannt");

    SetModernWindows("Windows 10 Home", "19045");
    world.registry.SetString(Hive::LocalMachine, CurrentVersion, "CurrentMajorVersionNumber", "10");
    EXPECT_EQ(Name(), "Unbekannt");

    SetModernWindows("Windows 10 Home", "19045");
    world.registry.Set(Hive::LocalMachine, CurrentVersion, "ProductName", {RegType::Binary, "Windows 10"});
    EXPECT_EQ(Name(), "");  // the product name row, with no readable name
}

TEST_F(OsDisplayName, ABuildThatIsNoNumberCountsAsZero) {
    SetModernWindows("Windows 10 Home", "19045a");
    EXPECT_EQ(Name(), "Unbekannt");
}

TEST(SpecialFolderPath, GivesTheShellsPathOrNothing) {
    kv::test::TestWorld world;
    world.system.folders[35] = "C:\\ProgramData";
    EXPECT_EQ(kv::SpecialFolderPath(world.system, 35), "C:\\ProgramData");
    EXPECT_EQ(kv::SpecialFolderPath(world.system, 26), "");
}

class AdapterAddress : public ::testing::Test {
protected:
    kv::test::TestWorld world;
    void Status(std::uint8_t adapter, unsigned char returnCode, std::array<std::uint8_t, 6> address) {
        world.system.adapterStatus[adapter] = AdapterStatus{returnCode, address};
    }
    std::string Address() { return kv::AdapterAddress(world.system); }
};

TEST_F(AdapterAddress, TheFirstAdapterWithAnAddressEndsTheSearch) {
    world.system.adapters = std::vector<std::uint8_t>{3, 5, 7};
    Status(3, 0, {0x00, 0x1a, 0x2B, 0xc0, 0xff, 0x09});
    Status(5, 0, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Address(), "00-1A-2B-C0-FF-09");
    EXPECT_EQ(world.system.statusAsked, (std::vector<std::uint8_t>{3}));
}

TEST_F(AdapterAddress, AZeroAddressAsksTheNextAdapter) {
    world.system.adapters = std::vector<std::uint8_t>{0, 1, 2};
    Status(0, 0, {});
    Status(1, 6, {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x01});  // an incomplete buffer still holds the address
    EXPECT_EQ(Address(), "DE-AD-BE-EF-00-01");
    EXPECT_EQ(world.system.statusAsked, (std::vector<std::uint8_t>{0, 1}));
}

TEST_F(AdapterAddress, AFailingFirstAdapterEndsTheSearchWithNothing) {
    world.system.adapters = std::vector<std::uint8_t>{0, 1};
    Status(0, 0x23, {1, 2, 3, 4, 5, 6});
    Status(1, 0, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Address(), "");
    EXPECT_EQ(world.system.statusAsked, (std::vector<std::uint8_t>{0}));
}

TEST_F(AdapterAddress, NoAdaptersOrNoNetbiosGiveNothing) {
    world.system.adapters = std::vector<std::uint8_t>{};
    EXPECT_EQ(Address(), "");
    world.system.adapters = std::nullopt;
    EXPECT_EQ(Address(), "");
    EXPECT_TRUE(world.system.statusAsked.empty());
}

TEST_F(AdapterAddress, OnlyAZeroAddressLetsTheSearchGoOn) {
    world.system.adapters = std::vector<std::uint8_t>{0, 1, 2, 3};
    Status(0, 0, {});
    Status(1, 0x23, {9, 9, 9, 9, 9, 9});  // a failure keeps the zero address found so far
    Status(2, 0, {});
    EXPECT_EQ(Address(), "00-00-00-00-00-00");
    EXPECT_EQ(world.system.statusAsked, (std::vector<std::uint8_t>{0, 1, 2, 3}));
}

}  // namespace
