#include <gtest/gtest.h>

#include <string>

#include "fakes/wizard_fixture.h"

namespace {

using kv::InventoryPassCode;
using kv::Process;
using kv::ProductReferenceKind;
using kv::platform::Hive;
using kv::platform::RegType;

constexpr const char* QoKey = "Software\\Karvell\\QORIND";

class Inventory : public ::testing::Test, public kv::test::WizardFixture {
protected:
    void SetUp() override {
        Process() = {};
        Process().CommonAppDataFolder = world.dir / "common";
        w().ExeFolder = world.dir / "exe";
        w().ProductDataFolder = w().ExeFolder;
        world.clock.now = {2025, 1, 1, 10, 0, 0};
    }
    kv::TUpInew& w() { return wizard(); }
    kv::TUpInew& Run(const std::string& listFile, InventoryPassCode pass = InventoryPassCode::First) {
        w().ParaINI = listFile;
        w().TakeInventory(pass);
        return w();
    }
    std::int64_t Today() const { return kv::platform::DayNumber(2025, 1, 1); }
};

struct Row {
    const char* listFile;
    const char* key;
    const char* folder;  // "" = own folder, otherwise below the common folder
    ProductReferenceKind reference;
};

TEST_F(Inventory, EveryProductRowPicksItsKeyFolderAndReference) {
    const Row rows[] = {
        {"qeonline.lst", "QERIS", "", ProductReferenceKind::OwnFolder},
        {"voonline.lst", "VOL", "", ProductReferenceKind::OwnFolder},
        {"reonline.lst", "REM", "", ProductReferenceKind::OwnFolder},
        {"saonline.lst", "SAB", "", ProductReferenceKind::OwnFolder},
        {"zeltonline.lst", "Zelt", "", ProductReferenceKind::OwnFolder},
        {"hugonline.lst", "HUX", "", ProductReferenceKind::OwnFolder},
        {"postonl.lst", "Postilla", "", ProductReferenceKind::OwnFolder},
        {"postonlks.lst", "Postilla", "", ProductReferenceKind::OwnFolder},
        {"huonline.lst", "HUX2000", "\\Karvell\\HU", ProductReferenceKind::CommonDataFolder},
        {"hu2online.lst", "HU2013MAK", "\\Karvell\\HUG", ProductReferenceKind::CommonDataFolder},
        {"qoonline.lst", "QORIND", "\\Karvell\\QOFolio", ProductReferenceKind::CommonDataFolder},
        {"qobasic.lst", "QORIND", "\\Karvell\\QOFolio", ProductReferenceKind::CommonDataFolder},
        {"qovor.lst", "QORIND", "\\Karvell\\QOPrime", ProductReferenceKind::CommonDataFolder},
        {"qoprime.lst", "QOPrime", "\\Karvell\\QOPrime", ProductReferenceKind::CommonDataFolder},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.listFile);
        world.registry.SetString(Hive::LocalMachine, std::string("Software\\Karvell\\") + row.key, "Comp", row.listFile);
        w().ProductDataFolder = w().ExeFolder;
        w().ProductReference = ProductReferenceKind::NotIdentified;
        Run(row.listFile);
        EXPECT_EQ(w().Company, row.listFile);
        const std::string folder = *row.folder ? Process().CommonAppDataFolder + row.folder : w().ExeFolder;
        EXPECT_EQ(w().ProductDataFolder, folder);
        EXPECT_EQ(w().ProductReference, row.reference);
        EXPECT_EQ(Process().VersionListPath, folder + "\\" + row.listFile);
    }
}

TEST_F(Inventory, ListFileNameMatchesWithoutRegardToCaseAndSetsTheFamily) {
    Run("QOONLINE.LST");
    EXPECT_EQ(w().ProductDataFolder, Process().CommonAppDataFolder + "\\Karvell\\QOFolio");
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::CommonDataFolder);
    EXPECT_TRUE(w().IsQOProgram);
    EXPECT_FALSE(w().IsHU2Program);
}

TEST_F(Inventory, UniversalEditionOfVoHasItsOwnKey) {
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\VOLU", "Comp", "universal");
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\VOL", "Comp", "plain");
    w().ParaName = "Universal";
    EXPECT_EQ(Run("voonline.lst").Company, "universal");
    w().ParaName = "vol";
    EXPECT_EQ(Run("voonline.lst").Company, "plain");
}

TEST_F(Inventory, UnknownListFileUsesTheFolderParameterAsKeyAndChangesNoFolder) {
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\other", "Comp", "Other Ltd");
    w().ParaFile = "other";
    Run("other.lst");
    EXPECT_EQ(w().Company, "Other Ltd");
    EXPECT_EQ(w().ProductDataFolder, w().ExeFolder);
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::NotIdentified);
}

TEST_F(Inventory, ReadsEveryRegistryValueAndCutsShortTextsTo100) {
    world.registry.Import(kv::test::Fixture("registry/qorind.reg"));
    const std::string longPath(150, 'p');
    world.registry.SetString(Hive::LocalMachine, QoKey, "Path", longPath);
    const std::string longId(150, 'i');
    world.registry.SetString(Hive::LocalMachine, QoKey, "Inster", longId);
    Run("qoonline.lst");
    EXPECT_EQ(w().InstallPath, longPath.substr(0, 100));
    EXPECT_EQ(w().AppName, "QO Folio");
    EXPECT_EQ(w().AppPC, "KANZLEI-PC");
    EXPECT_EQ(w().InstallUser, "admin");
    EXPECT_EQ(w().NetStandVersion, "Netzwerk");
    EXPECT_EQ(w().CurrentUser, "mueller");
    EXPECT_EQ(w().RecordedVersion, "4.2.1");
    EXPECT_EQ(w().LastInstallDate, "2024-03-01");
    EXPECT_EQ(w().QOId, longId);  // kept whole
    EXPECT_EQ(w().FirstInstallDate, "2019-05-20");
}

TEST_F(Inventory, ExpandStringsAndEmptyValuesOfAnyTypeReadAsText) {
    world.registry.Set(Hive::LocalMachine, QoKey, "Path", {RegType::ExpandString, "%ProgramFiles%\\QO"});
    world.registry.Set(Hive::LocalMachine, QoKey, "Comp", {RegType::Binary, ""});
    w().Company = "before";
    Run("qoonline.lst");
    EXPECT_EQ(w().InstallPath, "%ProgramFiles%\\QO");
    EXPECT_EQ(w().Company, "");
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(Inventory, WrongRegistryTypeIsShownAndStopsThePassKeepingWhatWasRead) {
    world.registry.Import(kv::test::Fixture("registry/wrong_type.reg"));
    w().Company = "before";
    Run("qoonline.lst");
    EXPECT_EQ(w().InstallPath, "C:\\Program Files\\Karvell\\QOFolio");
    EXPECT_EQ(w().AppName, "QO Folio");
    EXPECT_EQ(w().Company, "before");
    EXPECT_TRUE(Process().VersionListPath.empty());  // later steps did not run
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    const auto& box = world.dialogs.shown[0];
    EXPECT_EQ(box.owner, kv::platform::BoxOwner::Wizard);
    EXPECT_EQ(box.flags, kv::platform::MbIconError);
    EXPECT_NE(box.text.find("AppPC"), std::string::npos);
    EXPECT_NE(box.text.find(QoKey), std::string::npos);
}

TEST_F(Inventory, VersionListFileFillsNameVersionAndFirstInstallDate) {
    world.dir.Write("exe\\qeonline.lst", "[PName]\r\nname=QE\r\n[QE]\r\nverinfo=3.1\r\nFII=2020-01-02\r\n");
    Run("qeonline.lst");
    EXPECT_EQ(w().ProgramName, "QE");
    EXPECT_EQ(w().RecordedVersion, "3.1");
    EXPECT_EQ(w().FirstInstallDate, "2020-01-02");
}

TEST_F(Inventory, FallbacksWhenNeitherRegistryNorListFileKnowTheValues) {
    world.dir.Write("exe\\qeonline.lst", "[Other]\r\nverinfo=3.1\r\n");
    w().ProgramName = "before";
    Run("qeonline.lst");
    EXPECT_EQ(w().ProgramName, "");
    EXPECT_EQ(w().RecordedVersion, "0");
    EXPECT_EQ(w().FirstInstallDate, "in lst nix");
    EXPECT_EQ(w().SerialNumberText, "");  // the first pass clears it
}

TEST_F(Inventory, ListFileNameWithAPathNamesNoFileOutsideTheDataFolder) {
    const std::string outside = "[PName]\r\nname=Outside\r\n[Outside]\r\nverinfo=6.6\r\nFII=2001-01-01\r\n";
    world.dir.Write("outside.lst", outside);
    world.dir.Write("exe\\sub\\inner.lst", outside);
    for (const char* name : {"..\\outside.lst", "../outside.lst", "sub\\inner.lst", "sub/inner.lst",
                             "..outside.lst", "C:outside.lst"}) {
        SCOPED_TRACE(name);
        w().ProgramName.clear();
        w().RecordedVersion = "";
        Run(name);
        EXPECT_EQ(Process().VersionListPath, w().ExeFolder + "\\");
        EXPECT_EQ(w().ProgramName, "");
        EXPECT_EQ(w().RecordedVersion, "");
    }
}

TEST_F(Inventory, WithoutListFileTheVersionFieldsStayEmpty) {
    Run("qeonline.lst");
    EXPECT_EQ(w().RecordedVersion, "");
    EXPECT_EQ(w().FirstInstallDate, "");
}

TEST_F(Inventory, ReminderNoteOfTheCourtRegisterFamilyComesFromTheSharedHugFile) {
    const auto note = [&](std::int64_t day) {
        world.dir.Write("common\\Karvell\\HUG\\hgut.ini", "[POS]\r\nUFlags=" + std::to_string(day) + "\r\n");
        return Run("qoonline.lst").UpdateInitText;
    };
    EXPECT_EQ(note(Today() - 30), "Update wahrscheinlich von 30 Tage Erinnerung");
    EXPECT_EQ(note(Today() - 29), "Update außerhalb der 30 Tage Erinnerung");
    world.dir.Write("common\\Karvell\\QOFolio\\hgut.ini", "[POS]\r\nUFlags=" + std::to_string(Today()) + "\r\n");
    EXPECT_EQ(note(0), "Update wahrscheinlich von 30 Tage Erinnerung");
}

class Valuation : public Inventory {
protected:
    kv::TUpInew& RunHu2(bool portable, InventoryPassCode pass = InventoryPassCode::First) {
        w().IsPortable = portable;
        return Run("hu2online.lst", pass);
    }
    void WriteCommonSettings(const std::string& setup) {
        world.dir.Write("common\\Karvell\\HUG\\h2gut.ini", "[Setup]\r\n" + setup);
    }
};

TEST_F(Valuation, WithoutAnySerialSourceBothPassesGiveTheFallbacks) {
    for (const InventoryPassCode pass : {InventoryPassCode::First, InventoryPassCode::Second}) {
        RunHu2(false, pass);
        EXPECT_EQ(w().SerialNumberText, "Keine Seriennummer");
        EXPECT_EQ(w().QOId, "????");
        EXPECT_TRUE(w().IsHU2Program);
    }
}

TEST_F(Valuation, RegistrySerialComesFirstAndTheSecondPassKeepsIt) {
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\HU2013MAK", "SIIN", "ABCDEFGHIJKXY");
    WriteCommonSettings("SIIN=FROMFILE\r\n");
    RunHu2(false);
    EXPECT_EQ(w().SerialNumberText, "ABCDEFGHIJKXY");
    EXPECT_EQ(w().SerialCode, "XY");
    EXPECT_EQ(w().QOId, "XY");
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\HU2013MAK", "SIIN", "CHANGED");
    RunHu2(false, InventoryPassCode::Second);
    EXPECT_EQ(w().SerialNumberText, "ABCDEFGHIJKXY");
}

TEST_F(Valuation, InstalledEditionFallsBackFromListFileToSiinToSn) {
    world.dir.Write("common\\Karvell\\HUG\\hu2online.lst", "[PName]\r\nname=HU2\r\n[Bemessa]\r\nSIIN=\r\n");
    WriteCommonSettings("SIIN=\r\nSN=123456789012\r\nVER=7.0\r\n");
    w().AppName = "from registry";
    RunHu2(false);
    EXPECT_EQ(w().SerialNumberText, "123456789012");
    EXPECT_EQ(w().QOId, "????");  // 12 characters give no code
    EXPECT_EQ(w().AppName, "Bemessa");
    EXPECT_EQ(w().RecordedVersion, "0");  // the list file gave "0" before the settings file was asked
    WriteCommonSettings("SN=1234567890123\r\n");
    RunHu2(false);
    EXPECT_EQ(w().SerialCode, "23");
    EXPECT_EQ(w().QOId, "23");
}

TEST_F(Valuation, InstalledEditionTakesTheVersionFromTheSettingsFileWhenNoListFileExists) {
    WriteCommonSettings("SIIN=SERIAL\r\nVER=7.0\r\n");
    RunHu2(false);
    EXPECT_EQ(w().SerialNumberText, "SERIAL");
    EXPECT_EQ(w().RecordedVersion, "7.0");
}

TEST_F(Valuation, PortableEditionUsesItsOwnFolderAndSettings) {
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\HU2013MAK", "Path", "C:\\elsewhere");
    world.registry.SetString(Hive::LocalMachine, "Software\\Karvell\\HU2013MAK", "AppNamen", "Bemessa");
    world.dir.Write("exe\\HUG\\h2gut.ini", "[Setup]\r\nSN=\r\nSIIN=PORTABLE\r\nVER=6.5\r\n");
    WriteCommonSettings("SIIN=INSTALLED\r\n");
    RunHu2(true);
    EXPECT_EQ(w().ProductDataFolder, w().ExeFolder);
    EXPECT_EQ(w().ProductReference, ProductReferenceKind::OwnFolder);
    EXPECT_EQ(w().AppName, "Bemessa Portable");
    EXPECT_EQ(w().InstallPath, w().ExeFolder);
    EXPECT_EQ(w().SerialNumberText, "PORTABLE");
    EXPECT_EQ(w().RecordedVersion, "6.5");
}

TEST_F(Valuation, ReminderNoteComesFromTheValuationSettingsFile) {
    WriteCommonSettings("SN=x\r\n[POS]\r\nUFlags=" + std::to_string(Today() - 29) + "\r\n");
    EXPECT_EQ(RunHu2(false).UpdateInitText, "Update außerhalb der 30 Tage Erinnerung");
}

}  // namespace
