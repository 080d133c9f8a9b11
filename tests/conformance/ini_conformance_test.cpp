#include <gtest/gtest.h>

#include "conformance/profile_under_test.h"
#include "fakes/test_world.h"

namespace {

class IniConformance : public ::testing::Test {
protected:
    kv::test::TempDir dir;
    std::unique_ptr<kv::platform::Profile> profile = kv::test::MakeProfileUnderTest();
    std::string File() const { return dir / "product.lst"; }
    std::string Read(const std::string& section, const std::string& key) {
        return profile->ReadString(File(), section, key, "<default>");
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) {
        profile->WriteString(File(), section, key, value);
        profile->Flush(File());
    }
};

TEST_F(IniConformance, SectionsAndKeysMatchWithoutRegardToCaseAndTheFirstMatchWins) {
    dir.Write("product.lst", "[PName]\r\nname=first\r\nNAME=second\r\n[pname]\r\nname=third\r\n");
    EXPECT_EQ(Read("PNAME", "Name"), "first");
}

TEST_F(IniConformance, ValuesAreTrimmed) {
    dir.Write("product.lst", "[QO]\r\n  verinfo =   4.2.1   \r\n");
    EXPECT_EQ(Read("qo", "verinfo"), "4.2.1");
}

TEST_F(IniConformance, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("QO", "verinfo"), "<default>");
    dir.Write("product.lst", "[QO]\r\nverinfo=1\r\n");
    EXPECT_EQ(Read("Other", "verinfo"), "<default>");
    EXPECT_EQ(Read("QO", "prog"), "<default>");
}

TEST_F(IniConformance, LinesWithLoneLineFeedsOrCrlfReadAlike) {
    dir.Write("product.lst", "[A]\nx=1\n[B]\r\ny=2\r\n");
    EXPECT_EQ(Read("A", "x"), "1");
    EXPECT_EQ(Read("B", "y"), "2");
}

TEST_F(IniConformance, WritingAnExistingKeyReplacesOnlyItsValue) {
    dir.Write("product.lst", "; kept\r\n[PName]\r\nname=QO\r\n[QO]\r\nuseP=1\r\nIP=10.0.0.1\r\n");
    Write("qo", "useP", "0");
    EXPECT_EQ(dir.Read("product.lst"), "; kept\r\n[PName]\r\nname=QO\r\n[QO]\r\nuseP=0\r\nIP=10.0.0.1\r\n");
}

TEST_F(IniConformance, NewKeyJoinsItsSectionAndOtherSectionsStay) {
    dir.Write("product.lst", "[QO]\r\nverinfo=1\r\n[Other]\r\nk=v\r\n");
    Write("QO", "useP", "0");
    EXPECT_EQ(Read("QO", "useP"), "0");
    EXPECT_EQ(Read("QO", "verinfo"), "1");
    EXPECT_EQ(Read("Other", "k"), "v");
    const std::string bytes = dir.Read("product.lst");
    EXPECT_LT(bytes.find("useP=0"), bytes.find("[Other]"));
}

TEST_F(IniConformance, NewSectionIsAppendedAndAMissingFileIsCreated) {
    Write("QO", "useP", "0");
    EXPECT_EQ(Read("QO", "useP"), "0");
    Write("Second", "a", "b");
    EXPECT_EQ(Read("Second", "a"), "b");
    EXPECT_EQ(Read("QO", "useP"), "0");
}

TEST_F(IniConformance, AWriteLeavesNoOtherFileBehind) {
    dir.Write("product.lst", "[QO]\r\nuseP=1\r\n");
    Write("QO", "useP", "0");
    EXPECT_FALSE(dir.Exists("product.lst.kvtmp"));
}

}  // namespace
