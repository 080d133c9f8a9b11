#include <gtest/gtest.h>

#include "platform/win32/win_profile.h"
#include "win_temp_folder.h"

using kv::platform::IniWriteError;
using kv::platform::win32::WinProfile;

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

}  // namespace

// Written as raw bytes: Wine's writer drops values beyond 32 KB, the reader must not.
TEST(WinProfile, ValuesOfAHundredKilobytesReadWhole) {
    WinTempFolder folder;
    const std::string file = folder.File("long.ini");
    std::string value(100 * 1024, 'x');
    value.back() = 'Z';
    WriteBytes(file, "[QORIND]\r\nUpdateNews=" + value + "\r\n");
    const std::string read = WinProfile().ReadString(file, "qorind", "updatenews", "");
    EXPECT_EQ(read.size(), value.size());
    EXPECT_TRUE(read == value);
}

TEST(WinProfile, ValuesAroundTheFirstBufferSizeRoundTrip) {
    WinTempFolder folder;
    WinProfile profile;
    const std::string file = folder.File("edge.ini");
    for (size_t length : {0u, 1022u, 1023u, 1024u, 1025u, 20000u}) {
        const std::string value(length, 'a');
        profile.WriteString(file, "S", "K", value);
        EXPECT_EQ(profile.ReadString(file, "S", "K", "default").size(), length);
    }
    EXPECT_EQ(profile.ReadString(file, "S", "Missing", "default"), "default");
    EXPECT_EQ(profile.ReadString(folder.File("none.ini"), "S", "K", "none"), "none");
}

TEST(WinProfile, RefusedWriteNamesFileSectionAndKey) {
    WinTempFolder folder;
    WinProfile profile;
    const std::string file = folder.File("missing\\folder\\qoonline.lst");
    try {
        profile.WriteString(file, "QORIND", "UpdateStand", "1");
        FAIL() << "no error raised";
    } catch (const IniWriteError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(file), std::string::npos) << message;
        EXPECT_NE(message.find("QORIND"), std::string::npos) << message;
        EXPECT_NE(message.find("UpdateStand"), std::string::npos) << message;
    }
}

TEST(WinProfile, FlushPutsWritesOnDisk) {
    WinTempFolder folder;
    WinProfile profile;
    const std::string file = folder.File("flush.ini");
    profile.WriteString(file, "Proxy", "Name", "127.0.0.3");
    profile.Flush(file);
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buffer[256] = {};
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer - 1, &got, nullptr);
    CloseHandle(h);
    EXPECT_NE(std::string(buffer, got).find("Name=127.0.0.3"), std::string::npos);
}
