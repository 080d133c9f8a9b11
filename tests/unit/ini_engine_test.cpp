#include <gtest/gtest.h>

#include "fakes/test_world.h"
#include "platform/portable/ini_engine.h"

namespace {

using kv::platform::IniText;

TEST(IniText, MatchesSectionsAndKeysWithoutRegardToCaseFirstMatchWins) {
    IniText ini("[One]\r\nKey = first \r\nkey=second\r\n[one]\r\nkey=third\r\n");
    EXPECT_EQ(ini.Read("ONE", "KEY", "d"), "first");
    EXPECT_EQ(ini.Read("one", "missing", "d"), "d");
    EXPECT_EQ(ini.Read("two", "key", "d"), "d");
}

TEST(IniText, WritesReplaceOnlyTheirLineAndKeepEverythingElse) {
    IniText ini("; comment\r\n[PName]\r\nname=QO\r\n\r\n[QO]\r\nverinfo=1.0\r\n");
    ini.Write("qo", "useP", "0");
    ini.Write("PNAME", "name", "QO2");
    ini.Write("New", "a", "b");
    EXPECT_EQ(ini.Bytes(), "; comment\r\n[PName]\r\nname=QO2\r\n\r\n[QO]\r\nverinfo=1.0\r\nuseP=0\r\n[New]\r\na=b\r\n");
}

TEST(IniFileProfile, MissingFileGivesTheDefaultAndAWriteCreatesIt) {
    kv::test::TempDir dir;
    kv::platform::IniFileProfile p;
    EXPECT_EQ(p.ReadString(dir / "x.ini", "s", "k", "def"), "def");
    p.WriteString(dir / "x.ini", "s", "k", "v");
    EXPECT_EQ(dir.Read("x.ini"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(p.ReadString(dir / "x.ini", "S", "K", "def"), "v");
}

}  // namespace
