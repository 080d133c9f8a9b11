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

// The writer makes a file of its own: whatever stood there before is deleted,
// never written into (a hard link to it keeps the planted bytes); a file
// that another program holds without delete sharing stays as it is, and so
// does one deleted while open, which cannot be created anew until it is closed.
TEST(WinFiles, AWriterWritesOnlyIntoAFileOfItsOwn) {
    struct Row {
        const char* name;
        DWORD otherSharing;  // the other program's handle; ~0u: none
        bool written;
    } rows[] = {
        {"no other handle", ~0u, true},
        {"held without delete sharing", FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {"held with delete sharing", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false},
    };
    for (const Row& row : rows) {
        WinTempFolder folder;
        WinFiles files;
        const std::string path = folder.File("qorindu.exe"), link = folder.File("planted.lnk");
        ASSERT_TRUE(files.WriteAll(path, "planted"));
        ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), nullptr));
        HANDLE other = row.otherSharing == ~0u ? INVALID_HANDLE_VALUE
                                               : CreateFileA(path.c_str(), GENERIC_READ, row.otherSharing, nullptr,
                                                             OPEN_EXISTING, 0, nullptr);
        auto writer = files.CreateForWriting(path);
        EXPECT_EQ(writer != nullptr, row.written) << row.name;
        if (writer) {
            EXPECT_TRUE(writer->Write("new", 3) && writer->Close());
        }
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
        EXPECT_EQ(files.ReadAll(link), "planted") << row.name;
        if (row.written) {
            EXPECT_EQ(files.ReadAll(path), "new");
        }
        DeleteFileA(link.c_str());
    }
}

// Held, the file can still be read, but by no other handle written, deleted
// or renamed; a file open elsewhere for writing cannot be held at all.
TEST(WinFiles, AHeldFileIsReadOnlyToEveryoneElse) {
    WinTempFolder folder;
    WinFiles files;
    const std::string path = folder.File("qorindu.exe");
    ASSERT_TRUE(files.WriteAll(path, "MZ"));
    auto held = files.Hold(path);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Path(), path);
    const auto opens = [&](DWORD access, DWORD sharing) {
        HANDLE h = CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return h != INVALID_HANDLE_VALUE;
    };
    constexpr DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    EXPECT_TRUE(opens(GENERIC_READ, all));
    EXPECT_FALSE(opens(GENERIC_WRITE, all));
    EXPECT_FALSE(opens(DELETE, all));
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(MoveFileA(path.c_str(), folder.File("other.exe").c_str()));
    EXPECT_FALSE(files.CreateForWriting(path));
    EXPECT_EQ(files.ReadAll(path), "MZ");
    EXPECT_TRUE(held->Discard());
    EXPECT_FALSE(files.Exists(path));

    EXPECT_FALSE(files.Hold(path));  // missing
    ASSERT_TRUE(files.WriteAll(path, "MZ"));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, all, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(files.Hold(path));
    CloseHandle(writer);
}
