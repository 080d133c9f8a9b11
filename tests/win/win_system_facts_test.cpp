#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "platform/win32/win_remote_access.h"
#include "platform/win32/win_system_facts.h"

using kv::platform::win32::WinRemoteAccess;
using kv::platform::win32::WinSystemFacts;

TEST(WinSystemFacts, VersionRecordIsThatOfAnNtSystem) {
    auto record = WinSystemFacts().VersionRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->platformId, 2u);
    EXPECT_GE(record->major, 6u);
    EXPECT_GT(record->build, 0u);
    EXPECT_GE(record->productType, 1u);
}

TEST(WinSystemFacts, CommonDataFolderExists) {
    const std::string folder = WinSystemFacts().SpecialFolder(35);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
    EXPECT_EQ(WinSystemFacts().SpecialFolder(0x7f), "");  // no such folder
}

TEST(WinSystemFacts, NetbiosFindsAnAdapterWithAStatus) {
    WinSystemFacts facts;
    auto adapters = facts.NetbiosAdapters();
    ASSERT_TRUE(adapters);
    ASSERT_FALSE(adapters->empty());
    auto status = facts.NetbiosAdapterStatus(adapters->front());
    EXPECT_TRUE(status.returnCode == 0 || status.returnCode == 6) << int(status.returnCode);
}

TEST(WinSystemFacts, ScreenAndLocaleFactsArePlausible) {
    WinSystemFacts facts;
    EXPECT_GT(facts.ScreenDpi(), 0);
    auto country = facts.UserCountryCode();
    ASSERT_TRUE(country);
    ASSERT_FALSE(country->empty());
    EXPECT_TRUE(std::all_of(country->begin(), country->end(), [](unsigned char c) { return std::isdigit(c); }))
        << *country;
    const std::string language = facts.SystemLanguageName();
    EXPECT_FALSE(language.empty());
    EXPECT_LE(language.size(), 50u);
    EXPECT_GE(facts.ServerR2Metric(), 0);
}

TEST(WinSystemFacts, ProgramFolderIsTheExecutablesWithoutDelimiter) {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    const std::string folder = WinSystemFacts().ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(std::string(own).rfind(folder + "\\", 0), 0u) << folder;
}

TEST(WinRemoteAccess, EnumerationReportsNoActiveConnection) {
    auto result = WinRemoteAccess().EnumerateConnections();
    EXPECT_TRUE(result.libraryLoaded);
    EXPECT_TRUE(result.functionFound);
    EXPECT_EQ(result.callResult, 0u);
    EXPECT_EQ(result.connectionCount, 0u);
}
