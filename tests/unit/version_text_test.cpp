#include <gtest/gtest.h>

#include "inventory/version_text.h"

namespace {

using kv::FormatDisplayDate;
using kv::VersionNumber;

TEST(VersionNumber, KeepsOnlyTheDigits) {
    EXPECT_EQ(VersionNumber("8.1.10"), 8110);
    EXPECT_EQ(VersionNumber("8.1.9"), 819);
    EXPECT_EQ(VersionNumber("3.0.2"), 302);
    EXPECT_EQ(VersionNumber("2.0"), 20);
    EXPECT_LT(VersionNumber("2.0"), VersionNumber("1.10"));  // not release order
    EXPECT_EQ(VersionNumber("0.9.1"), 91);
    EXPECT_EQ(VersionNumber("Version zwei (2) beta"), 2);
    EXPECT_EQ(VersionNumber("-5"), 5);
}

TEST(VersionNumber, EmptyLettersAndOverflow) {
    EXPECT_EQ(VersionNumber(""), -1);
    EXPECT_EQ(VersionNumber("beta"), 0);
    EXPECT_EQ(VersionNumber(" "), 0);
    EXPECT_EQ(VersionNumber("2147483647"), 2147483647);
    EXPECT_EQ(VersionNumber("21.474.836.48"), 0);
    EXPECT_EQ(VersionNumber("99999999999999999999999"), 0);
    EXPECT_EQ(VersionNumber("0000000000000000000000012"), 12);
}

TEST(FormatDisplayDate, PiecesOfTheCataloguesDate) {
    EXPECT_EQ(FormatDisplayDate("2022-03-15"), "15.03.2022");
    EXPECT_EQ(FormatDisplayDate("2022/03/15"), "15.03.2022");
    EXPECT_EQ(FormatDisplayDate("2022-03-15 12:00"), "15.03.2022");
    EXPECT_EQ(FormatDisplayDate(""), "..");
    EXPECT_EQ(FormatDisplayDate("2022-03"), ".03.2022");
    EXPECT_EQ(FormatDisplayDate("2022-03-1"), "1.03.2022");
    EXPECT_EQ(FormatDisplayDate("20"), "..20");
}

}  // namespace
