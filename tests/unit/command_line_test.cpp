#include <gtest/gtest.h>

#include "app/command_line.h"

using kv::SplitCommandLine;
using Params = std::vector<std::string>;

TEST(SplitCommandLine, LeavesOutTheProgramNameQuotedOrNot) {
    EXPECT_EQ(SplitCommandLine("KVUpdate.exe QORIND QOFolio U QOOnline.lst"),
              (Params{"QORIND", "QOFolio", "U", "QOOnline.lst"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Karvell\\KVUpdate.exe\" a b"), (Params{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\KVUpdate.exe\""), Params{});
    EXPECT_EQ(SplitCommandLine(""), Params{});
}

TEST(SplitCommandLine, QuotesGroupBlanksAndAreRemoved) {
    EXPECT_EQ(SplitCommandLine("x \"Mein^Ordner$ \" u"), (Params{"Mein^Ordner$ ", "u"}));
    EXPECT_EQ(SplitCommandLine("x a\"b c\"d"), Params{"ab cd"});
    // An unterminated quote runs to the end of the line.
    EXPECT_EQ(SplitCommandLine("x \"open end"), Params{"open end"});
}

TEST(SplitCommandLine, EmptyQuotedParameterKeepsItsPlace) {
    EXPECT_EQ(SplitCommandLine("x qorind \"\" u"), (Params{"qorind", "", "u"}));
}

TEST(SplitCommandLine, BackslashesAreOrdinaryCharacters) {
    // A quoted folder ending in a backslash must not swallow the quote.
    EXPECT_EQ(SplitCommandLine("x \"C:\\Daten\\\" next"), (Params{"C:\\Daten\\", "next"}));
    EXPECT_EQ(SplitCommandLine("x a\\\\b"), Params{"a\\\\b"});
}

TEST(SplitCommandLine, AnyControlCharacterSeparatesAndRunsCollapse) {
    EXPECT_EQ(SplitCommandLine("  x\t a \r\n  b\x01" "c   "), (Params{"a", "b", "c"}));
}

TEST(SplitCommandLine, DashesAndHighCharactersAreValues) {
    EXPECT_EQ(SplitCommandLine("x -u \xA7qo \xFC"), (Params{"-u", "\xA7qo", "\xFC"}));
}
