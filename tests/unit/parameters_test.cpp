#include <gtest/gtest.h>

#include "run/parameters.h"

namespace {

using kv::CleanParameter;
using kv::TrimParameter;

TEST(TrimParameter, TreatsOnlyTheFirstCaretSectionSignAndDollar) {
    EXPECT_EQ(TrimParameter("Mein^Ordner$ "), "Mein Ordner");
    EXPECT_EQ(TrimParameter("a§b$c"), "abc");
    EXPECT_EQ(TrimParameter("a$b$"), "ab$");
    EXPECT_EQ(TrimParameter("a^b^c"), "a b^c");
    EXPECT_EQ(TrimParameter("§§x"), "§x");
}

TEST(TrimParameter, TheCaretCountsTowardTheKeptLength) {
    EXPECT_EQ(TrimParameter("x^"), "x ");
    EXPECT_EQ(TrimParameter("^"), " ");
}

TEST(TrimParameter, KeepsLeadingAndInnerBlanksAndDropsTrailingControlCharacters) {
    EXPECT_EQ(TrimParameter("  Programme\\Karvell \t\r\n"), "  Programme\\Karvell");
    EXPECT_EQ(TrimParameter("a\tb"), "a\tb");
}

TEST(TrimParameter, EmptyAndBlankTextsGiveTheEmptyText) {
    EXPECT_EQ(TrimParameter(""), "");
    EXPECT_EQ(TrimParameter("   "), "");
    EXPECT_EQ(TrimParameter("$"), "");
    EXPECT_EQ(TrimParameter("§ $ "), " ");
}

TEST(CleanParameter, RemovesEveryBlankAndControlCharacterAfterTheLightRule) {
    EXPECT_EQ(CleanParameter(" qo rind§ "), "qorind");
    EXPECT_EQ(CleanParameter("Mein^Ordner$ "), "MeinOrdner");
    EXPECT_EQ(CleanParameter("\tQO\x01Online.lst\x7f"), "QOOnline.lst\x7f");
    EXPECT_EQ(CleanParameter("-u"), "-u");
}

TEST(CleanParameter, KeepsWindows1252Letters) {
    EXPECT_EQ(CleanParameter("Größe ä"), "Größeä");
}

}  // namespace
