#include <gtest/gtest.h>

#include <set>

#include "installer/restart_rule.h"

namespace {

// Only the paths the test names exist.
class ListedFiles : public kv::platform::Files {
public:
    std::set<std::string> existing;
    bool Exists(const std::string& path) override { return existing.count(path) > 0; }
    bool Delete(const std::string&) override { return false; }
    bool Copy(const std::string&, const std::string&, bool) override { return false; }
    bool WriteAll(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> ReadAll(const std::string&) override { return std::nullopt; }
    std::unique_ptr<kv::platform::FileWriter> CreateForWriting(const std::string&) override { return nullptr; }
    std::unique_ptr<kv::platform::HeldFile> Hold(const std::string&) override { return nullptr; }
};

TEST(RestartRule, StartsOnlyAnExistingProgramInsideTheProductsFolder) {
    const std::string folder = "C:\\Program Files (x86)\\Karvell\\QOFolio";
    const std::string program = folder + "\\qofolio.exe";
    ListedFiles files;
    files.existing = {program, folder + "\\bin\\tool.exe", "C:\\Windows\\System32\\cmd.exe",
                      "C:\\Program Files (x86)\\Karvell\\QOFolioX\\x.exe", folder + "\\readme.txt",
                      // Windows names ignore case: the same file under another spelling.
                      "c:\\PROGRAM FILES (X86)\\Karvell\\QOFolio\\qofolio.exe"};
    struct Row {
        std::string value;
        std::string started;  // empty: nothing starts
    };
    const Row rows[] = {
        {program, program},
        {"qofolio.exe", program},
        {"C:/Program Files (x86)/Karvell/QOFolio/qofolio.exe", program},
        {"c:\\PROGRAM FILES (X86)\\Karvell\\QOFolio\\qofolio.exe", "c:\\PROGRAM FILES (X86)\\Karvell\\QOFolio\\qofolio.exe"},
        {"bin\\tool.exe", folder + "\\bin\\tool.exe"},
        {".\\bin\\..\\qofolio.exe", program},
        {"C:\\Windows\\System32\\cmd.exe\" /c calc & rem", ""},
        {"C:\\Windows\\System32\\cmd.exe", ""},
        {"..\\..\\..\\Windows\\System32\\cmd.exe", ""},
        {"..\\QOFolioX\\x.exe", ""},  // a sibling whose name begins like the folder
        {"\\\\server\\share\\qofolio.exe", ""},
        {"\\\\?\\C:\\Program Files (x86)\\Karvell\\QOFolio\\qofolio.exe", ""},
        {"\\Program Files (x86)\\Karvell\\QOFolio\\qofolio.exe", ""},
        {"C:qofolio.exe", ""},
        {"qofolio.exe:stream", ""},
        {"nul.exe", ""},
        {"COM1.exe", ""},
        {"qofolio.exe.", ""},
        {"qofolio.exe ", ""},
        {"readme.txt", ""},
        {"missing.exe", ""},
        {"", ""},
        {"qofolio.exe\tx", ""},
    };
    for (const Row& row : rows) {
        const kv::RestartDecision decision = kv::JudgeRestartProgram(row.value, folder, files);
        EXPECT_EQ(decision.path, row.started) << row.value;
        EXPECT_EQ(decision.Accepted(), !row.started.empty()) << row.value << ": " << decision.refusal;
    }
    EXPECT_FALSE(kv::JudgeRestartProgram("qofolio.exe", "", files).Accepted());
    EXPECT_FALSE(kv::JudgeRestartProgram("qofolio.exe", "relative\\folder", files).Accepted());
    EXPECT_EQ(kv::JudgeRestartProgram("qofolio.exe", folder + "\\", files).path, program);
}

}  // namespace
