#include <gtest/gtest.h>

#include "platform/win32/win_files.h"
#include "win_temp_folder.h"

using kv::platform::win32::WinFiles;

TEST(WinFiles, WritesAndReadsBytesExactly) {
    WinTempFolder folder;
    WinFiles files;
    const std::string bytes("a\r\nb\0\x80\xff", 7);
    ASSERT_TRUE(files.WriteAll(folder.File("KVInn000.lst"), bytes));
    EXPECT_TRUE(files.Exists(folder.File("KVInn000.lst")));
    EXPECT_EQ(files.ReadAll(folder.File("KVInn000.lst")), bytes);
    ASSERT_TRUE(files.WriteAll(folder.File("KVInn000.lst"), "x"));  // replaces, not appends
    EXPECT_EQ(files.ReadAll(folder.File("KVInn000.lst")), "x");
    ASSERT_TRUE(files.WriteAll(folder.File("empty"), ""));
    EXPECT_EQ(files.ReadAll(folder.File("empty")), "");
}

TEST(WinFiles, RefusedWriteKeepsTheOldFile) {
    WinTempFolder folder;
    WinFiles files;
    const std::string path = folder.File("qoonline.lst");
    ASSERT_TRUE(files.WriteAll(path, "[QORIND]\r\nUpdateStand=1\r\n"));
    // A file that another program holds open without sharing cannot be replaced.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.WriteAll(path, "x"));
    CloseHandle(held);
    EXPECT_EQ(files.ReadAll(path), "[QORIND]\r\nUpdateStand=1\r\n");
    EXPECT_FALSE(files.Exists(path + ".kvtmp"));
}

TEST(WinFiles, LargeFileReadsWhole) {
    WinTempFolder folder;
    WinFiles files;
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(files.WriteAll(folder.File("big.exe"), bytes));
    EXPECT_EQ(files.ReadAll(folder.File("big.exe")), bytes);
}

TEST(WinFiles, MissingFilesAndFolders) {
    WinTempFolder folder;
    WinFiles files;
    EXPECT_FALSE(files.Exists(folder.File("none.ini")));
    EXPECT_FALSE(files.ReadAll(folder.File("none.ini")));
    EXPECT_FALSE(files.Delete(folder.File("none.ini")));
    EXPECT_FALSE(files.WriteAll(folder.File("no\\such\\folder.ini"), "x"));
    EXPECT_FALSE(files.Copy(folder.File("none.ini"), folder.File("copy.ini"), true));
    // A list file name that is empty names the folder itself: no file.
    EXPECT_FALSE(files.Exists(folder.Path()));
    EXPECT_FALSE(files.Exists(folder.Path() + "\\"));
}

TEST(WinFiles, AWriterStreamsPiecesAndClosesAtOnce) {
    WinTempFolder folder;
    WinFiles files;
    auto writer = files.CreateForWriting(folder.File("setup.exe"));
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->Write("ab", 2));
    EXPECT_TRUE(writer->Write("cd", 2));
    EXPECT_TRUE(writer->Close());
    EXPECT_EQ(files.ReadAll(folder.File("setup.exe")), "abcd");
    EXPECT_TRUE(files.Delete(folder.File("setup.exe")));  // closed: no sharing violation
    EXPECT_FALSE(files.CreateForWriting(folder.File("no\\such\\setup.exe")));
}

TEST(WinFiles, CopyHonoursOverwriteAndDeleteRemoves) {
    WinTempFolder folder;
    WinFiles files;
    ASSERT_TRUE(files.WriteAll(folder.File("a.lst"), "new"));
    ASSERT_TRUE(files.WriteAll(folder.File("b.lst"), "old"));
    EXPECT_FALSE(files.Copy(folder.File("a.lst"), folder.File("b.lst"), false));
    EXPECT_EQ(files.ReadAll(folder.File("b.lst")), "old");
    EXPECT_TRUE(files.Copy(folder.File("a.lst"), folder.File("b.lst"), true));
    EXPECT_EQ(files.ReadAll(folder.File("b.lst")), "new");
    EXPECT_TRUE(files.Delete(folder.File("a.lst")));
    EXPECT_FALSE(files.Exists(folder.File("a.lst")));
}
