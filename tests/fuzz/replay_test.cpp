// Every kept corpus input and every crasher of the fuzz targets runs again
// here, so a fixed finding stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_target.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Replay(const kv::fuzz::Target& target, const fs::path& folder) {
    int count = 0;
    if (!fs::is_directory(folder)) return 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto bytes = Bytes(entry.path());
        SCOPED_TRACE(entry.path().string());
        target.fn(bytes.data(), bytes.size());
        ++count;
    }
    return count;
}

TEST(FuzzRegression, EveryKeptInputRunsCleanly) {
    const fs::path root = KV_FUZZ_DIR;
    ASSERT_FALSE(kv::fuzz::Targets().empty());
    for (const auto& target : kv::fuzz::Targets()) {
        const int corpus = Replay(target, root / "corpus" / target.name);
        Replay(target, root / "crashers" / target.name);
        EXPECT_GT(corpus, 0) << "no corpus kept for " << target.name;
    }
}

}  // namespace
