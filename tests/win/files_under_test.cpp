#include "conformance/files_under_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win_files.h"
#include "win_temp_folder.h"

namespace kv::test {
namespace {

class SystemFilesUnderTest : public FilesUnderTest {
public:
    ~SystemFilesUnderTest() override {
        for (const HANDLE handle : others_) CloseHandle(handle);
    }
    platform::Files& Files() override { return files_; }
    std::string Path(const std::string& name) const override { return folder_.File(name); }
    void MakeFolder(const std::string& name) override {
        EXPECT_TRUE(CreateDirectoryA(Path(name).c_str(), nullptr)) << name;
    }
    void Link(const std::string& name, const std::string& link) override {
        EXPECT_TRUE(CreateHardLinkA(Path(link).c_str(), Path(name).c_str(), nullptr)) << link;
    }
    void HoldElsewhere(const std::string& name) override {
        const HANDLE handle = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << name;
        others_.push_back(handle);
    }
    std::vector<std::string> Names() const override { return folder_.Names(); }

private:
    WinTempFolder folder_;  // removed after the other program's handles are closed
    platform::win32::WinFiles files_;
    std::vector<HANDLE> others_;
};

}  // namespace

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest() { return std::make_unique<SystemFilesUnderTest>(); }

}  // namespace kv::test
