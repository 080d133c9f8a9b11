#include "conformance/files_under_test.h"

#include <algorithm>
#include <filesystem>

#include "fakes/test_world.h"
#include "platform/portable/host_path.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

class HostFilesUnderTest : public FilesUnderTest {
public:
    platform::Files& Files() override { return files_; }
    std::string Path(const std::string& name) const override { return dir_ / name; }
    void MakeFolder(const std::string& name) override { dir_.MakeFolder(name); }
    void Link(const std::string& name, const std::string& link) override {
        fs::create_hard_link(platform::HostPath(Path(name)), platform::HostPath(Path(link)));
    }
    void HoldElsewhere(const std::string& name) override { files_.heldElsewhere.insert(Path(name)); }
    std::vector<std::string> Names() const override {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    TempDir dir_;
    HostFilesHeldElsewhere files_;
};

}  // namespace

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest() { return std::make_unique<HostFilesUnderTest>(); }

}  // namespace kv::test
