#include <gtest/gtest.h>

#include "platform/win32/win_files.h"
#include "win_temp_folder.h"

using kv::platform::win32::WinFiles;

// Share modes, which a POSIX host does not have; the rest of the files
// service's contract is the conformance suite's.

// A file deleted while another program keeps it open with delete sharing
// stays until that program closes it; until then no file of the name can be
// made, and the planted bytes stay where they were.
TEST(WinFiles, AWriterIsRefusedAFileDeletedButStillOpenElsewhere) {
    WinTempFolder folder;
    WinFiles files;
    const std::string path = folder.File("qorindu.exe"), link = folder.File("planted.lnk");
    ASSERT_TRUE(files.WriteAll(path, "planted"));
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), nullptr));
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.CreateForWriting(path));
    CloseHandle(other);
    EXPECT_EQ(files.ReadAll(link), "planted");
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

    ASSERT_TRUE(files.WriteAll(path, "MZ"));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, all, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(files.Hold(path));
    CloseHandle(writer);
}
