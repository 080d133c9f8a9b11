#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "conformance/files_under_test.h"

namespace {

using Names = std::vector<std::string>;

class FilesConformance : public ::testing::Test {
protected:
    std::unique_ptr<kv::test::FilesUnderTest> under = kv::test::MakeFilesUnderTest();
    kv::platform::Files& files = under->Files();

    std::string Path(const std::string& name) const { return under->Path(name); }
    std::string Read(const std::string& name) { return files.ReadAll(Path(name)).value_or("<missing>"); }
};

// Every write replaces the whole file and leaves nothing else in the folder.
TEST_F(FilesConformance, BytesReadBackExactly) {
    std::string large(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7);
    for (const std::string& bytes : {std::string("a\r\nb\0\x80\xff", 7), std::string("x"), std::string(), large}) {
        ASSERT_TRUE(files.WriteAll(Path("KVInn000.lst"), bytes)) << bytes.size();
        EXPECT_TRUE(files.Exists(Path("KVInn000.lst")));
        EXPECT_EQ(Read("KVInn000.lst"), bytes) << bytes.size();
        EXPECT_EQ(under->Names(), Names{"KVInn000.lst"});
    }
}

// What stood there is replaced, never written into: a link planted to it
// keeps the planted bytes, whichever way the new file is written.
TEST_F(FilesConformance, AWriteMakesANewFile) {
    const std::vector<std::pair<const char*, std::function<bool()>>> writes = {
        {"write all", [&] { return files.WriteAll(Path("qorindu.exe"), "new"); }},
        {"writer",
         [&] {
             auto writer = files.CreateForWriting(Path("qorindu.exe"));
             return writer && writer->Write("ne", 2) && writer->Write("w", 1) && writer->Close();
         }},
    };
    for (const auto& [how, write] : writes) {
        ASSERT_TRUE(files.WriteAll(Path("qorindu.exe"), "planted"));
        under->Link("qorindu.exe", "planted.lnk");
        EXPECT_TRUE(write()) << how;
        EXPECT_EQ(Read("qorindu.exe"), "new") << how;
        EXPECT_EQ(Read("planted.lnk"), "planted") << how;
        EXPECT_EQ(under->Names(), (Names{"planted.lnk", "qorindu.exe"})) << how;
        EXPECT_TRUE(files.Delete(Path("qorindu.exe")) && files.Delete(Path("planted.lnk")))  // closed
            << how;
    }
}

// A list file name that is empty names the folder itself.
TEST_F(FilesConformance, AFolderIsNoFile) {
    under->MakeFolder("QOFolio");
    for (const std::string& folder : {Path("QOFolio"), Path("QOFolio") + "\\"}) {
        EXPECT_FALSE(files.Exists(folder)) << folder;
        EXPECT_FALSE(files.Delete(folder)) << folder;
        EXPECT_FALSE(files.ReadAll(folder)) << folder;
        EXPECT_FALSE(files.Hold(folder)) << folder;
        EXPECT_FALSE(files.CreateForWriting(folder)) << folder;
        EXPECT_FALSE(files.WriteAll(folder, "x")) << folder;
    }
    EXPECT_EQ(under->Names(), Names{"QOFolio"});
}

TEST_F(FilesConformance, WhatIsMissingFails) {
    const std::string file = Path("none.ini"), inMissingFolder = Path("no\\such\\setup.exe");
    const std::pair<const char*, bool> done[] = {
        {"exists", files.Exists(file)},
        {"read", files.ReadAll(file).has_value()},
        {"delete", files.Delete(file)},
        {"copy", files.Copy(file, Path("copy.ini"), true)},
        {"hold", files.Hold(file) != nullptr},
        {"write all", files.WriteAll(inMissingFolder, "x")},
        {"writer", files.CreateForWriting(inMissingFolder) != nullptr},
    };
    for (const auto& [what, happened] : done) EXPECT_FALSE(happened) << what;
    EXPECT_EQ(under->Names(), Names{});
}

TEST_F(FilesConformance, CopyHonoursOverwriteAndDeleteRemoves) {
    ASSERT_TRUE(files.WriteAll(Path("a.lst"), "new"));
    ASSERT_TRUE(files.WriteAll(Path("b.lst"), "old"));
    EXPECT_FALSE(files.Copy(Path("a.lst"), Path("b.lst"), false));
    EXPECT_EQ(Read("b.lst"), "old");
    EXPECT_TRUE(files.Copy(Path("a.lst"), Path("b.lst"), true));
    EXPECT_EQ(Read("b.lst"), "new");
    EXPECT_TRUE(files.Copy(Path("a.lst"), Path("c.lst"), false));
    EXPECT_TRUE(files.Delete(Path("a.lst")));
    EXPECT_EQ(under->Names(), (Names{"b.lst", "c.lst"}));
}

TEST_F(FilesConformance, AHeldFileCanBeReadAndIsDeletedWhenDiscarded) {
    ASSERT_TRUE(files.WriteAll(Path("qorindu.exe"), "MZ"));
    auto held = files.Hold(Path("qorindu.exe"));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Path(), Path("qorindu.exe"));
    EXPECT_NE(held->NativeHandle(), -1);
    EXPECT_EQ(Read("qorindu.exe"), "MZ");
    EXPECT_TRUE(held->Discard());
    EXPECT_EQ(under->Names(), Names{});
}

// A file another program keeps open stays as it was, whole.
TEST_F(FilesConformance, AFileHeldElsewhereIsNeitherDeletedNorReplaced) {
    ASSERT_TRUE(files.WriteAll(Path("qoonline.lst"), "[QORIND]\r\nUpdateStand=1\r\n"));
    under->HoldElsewhere("qoonline.lst");
    EXPECT_FALSE(files.Delete(Path("qoonline.lst")));
    EXPECT_FALSE(files.WriteAll(Path("qoonline.lst"), "x"));
    EXPECT_FALSE(files.CreateForWriting(Path("qoonline.lst")));
    EXPECT_EQ(Read("qoonline.lst"), "[QORIND]\r\nUpdateStand=1\r\n");
    EXPECT_EQ(under->Names(), Names{"qoonline.lst"});
}

}  // namespace
