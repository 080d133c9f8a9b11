#include <gtest/gtest.h>

#include "fakes/test_world.h"
#include "inventory/ini_access.h"

namespace {

using kv::IniInteger;

TEST(IniInteger, DecimalAndHexadecimalWithinThirtyTwoBits) {
    EXPECT_EQ(IniInteger("42", 0), 42);
    EXPECT_EQ(IniInteger("-17", 0), -17);
    EXPECT_EQ(IniInteger("0x1F", 0), 31);
    EXPECT_EQ(IniInteger("0XfF", 0), 255);
    EXPECT_EQ(IniInteger("2147483647", 0), 2147483647);
    EXPECT_EQ(IniInteger("-2147483648", 0), -2147483647 - 1);
    EXPECT_EQ(IniInteger("0xFFFFFFFF", 0), -1);
    EXPECT_EQ(IniInteger("-0x80000000", 0), -2147483647 - 1);
}

TEST(IniInteger, AnythingElseGivesTheDefault) {
    for (const char* text : {"", "-", "0x", "12a", "1.5", "abc", "2147483648", "0x100000000", "0x1G", "99999999999999999999"})
        EXPECT_EQ(IniInteger(text, 0), 0) << text;
}

TEST(IniAccess, ReadsOneValueOfAFileByItsFullName) {
    kv::test::TempDir dir;
    kv::platform::IniFileProfile profile;
    dir.Write("a.ini", "[POS]\r\nUFlags = 45000 \r\nname=Text\r\n");
    EXPECT_EQ(kv::ReadIniInteger(profile, dir / "a.ini", "pos", "uflags"), 45000);
    EXPECT_EQ(kv::ReadIniString(profile, dir / "a.ini", "POS", "NAME"), "Text");
    EXPECT_EQ(kv::ReadIniString(profile, dir / "missing.ini", "POS", "name"), "");
    EXPECT_EQ(kv::ReadIniInteger(profile, dir / "a.ini", "POS", "missing"), 0);
}

}  // namespace
