#pragma once
#include <memory>
#include <string>

#include "fakes/fake_registry.h"
#include "fakes/fakes.h"
#include "platform/portable/ini_engine.h"
#include "platform/portable/posix_files.h"
#include "platform/services.h"

namespace kv::test {

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path + "\" + relative, the way the behaviour joins paths.
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void MakeFolder(const std::string& relative) const;

private:
    std::string path_;
};

// Every platform service as a double, with real files and the INI engine in
// a temporary folder.
struct TestWorld {
    TestWorld();

    TempDir dir;
    FakeRegistry registry;
    platform::IniFileProfile profile;
    HostFilesHeldElsewhere files;
    FakeClock clock;
    ScriptedDialogs dialogs;
    FakeProcesses processes;
    QueueDispatcher dispatcher;
    OfflineInternet offline;
    platform::Internet* internet = &offline;
    FakeRemoteAccess remoteAccess;
    FakeSystemFacts system;
    FakeUiHost ui;
    FakeSignatures signatures;

    platform::Services Services();
};

// Reads a file of tests/fixtures.
std::string Fixture(const std::string& relative);

}  // namespace kv::test
