#include "fakes/test_world.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

#include "platform/portable/host_path.h"

namespace kv::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const fs::path p = fs::temp_directory_path() /
                       ("kvtest-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    path_ = p.string();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path p = platform::HostPath(*this / relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempDir::Read(const std::string& relative) const {
    std::ifstream in(platform::HostPath(*this / relative), std::ios::binary);
    if (!in) throw std::runtime_error("no file " + relative);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(platform::HostPath(*this / relative)); }

void TempDir::MakeFolder(const std::string& relative) const { fs::create_directories(platform::HostPath(*this / relative)); }

TestWorld::TestWorld() { system.programFolder = dir.path(); }

platform::Services TestWorld::Services() {
    platform::Services s;
    s.registry = &registry;
    s.profile = &profile;
    s.files = &files;
    s.clock = &clock;
    s.dialogs = &dialogs;
    s.processes = &processes;
    s.dispatcher = &dispatcher;
    s.internet = internet;
    s.remoteAccess = &remoteAccess;
    s.system = &system;
    s.ui = &ui;
    s.signatures = &signatures;
    return s;
}

std::string Fixture(const std::string& relative) {
    std::ifstream in(std::string(KV_FIXTURES) + "/" + relative, std::ios::binary);
    if (!in) throw std::runtime_error("no fixture " + relative);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace kv::test
