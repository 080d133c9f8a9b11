#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/portable/posix_files.h"
#include "platform/services.h"
#include "ui/ui_host.h"

namespace kv::test {

// Records pauses instead of sleeping; the date and time are set by the test.
class FakeClock : public platform::Clock {
public:
    platform::LocalDateTime now{2025, 1, 1, 10, 30, 0};
    std::vector<int> pauses;
    platform::LocalDateTime Now() override { return now; }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
};

struct ShownBox {
    platform::BoxOwner owner;
    std::string text;
    std::string caption;
    unsigned flags;
};

// Records every message box and answers from a script (default: OK / No).
class ScriptedDialogs : public platform::Dialogs {
public:
    std::vector<ShownBox> shown;
    std::deque<int> answers;
    // Runs while the box is "open" (e.g. to check what the window shows).
    std::function<void(const ShownBox&)> onShow;
    int MessageBox(platform::BoxOwner owner, const std::string& text, const std::string& caption,
                   unsigned flags) override;
};

// Modal dialogs and popup menus are handed to the test's scripts.
class FakeUiHost : public ui::UiHost {
public:
    std::function<void(ui::Form&)> onModal;              // default: the dialog closes untouched
    std::function<void(ui::PopupMenu&, int, int)> onPopup;
    std::vector<std::string> modalShown;                  // form names in order
    int popupX = 0, popupY = 0;  // offsets from the window's outer corner
    void ShowModal(ui::Form& dialog) override;
    void ShowPopup(ui::PopupMenu& menu, const ui::Form& over, int offsetX, int offsetY) override;
    // 8 pixels per character: enough to test placement rules.
    int TextWidth(const ui::Font& font, const std::string& text) override;
};

// Work sent or posted from workers waits until the test drains it on "the
// GUI thread" (the thread that made the dispatcher, the test's own), so the
// order of events can be checked.
class QueueDispatcher : public platform::Dispatcher {
public:
    QueueDispatcher();
    // An exception thrown by fn is raised again in the sender.
    void Send(const std::function<void()>& fn) override;
    void Post(std::function<void()> fn) override;
    // Runs queued work until none is left and `done` holds, or the deadline
    // (milliseconds) passes. Returns done().
    bool RunUntil(const std::function<bool()>& done, int deadlineMs = 10000);
    std::size_t Pending();

private:
    struct Item;
    void Run(Item& item);
    const std::thread::id guiThread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::shared_ptr<Item>> queue_;
};

// Real files, except those listed, which another program holds open without
// delete sharing: as on Windows, they can be neither deleted nor replaced.
class HostFilesHeldElsewhere : public platform::HostFiles {
public:
    std::set<std::string> heldElsewhere;
    bool Delete(const std::string& path) override { return !heldElsewhere.count(path) && HostFiles::Delete(path); }
    bool WriteAll(const std::string& path, const std::string& bytes) override {
        return !heldElsewhere.count(path) && HostFiles::WriteAll(path, bytes);
    }
    std::unique_ptr<platform::FileWriter> CreateForWriting(const std::string& path) override {
        return heldElsewhere.count(path) ? nullptr : HostFiles::CreateForWriting(path);
    }
};

// Answers each start, plain or elevated, with the next scripted outcome
// (started when the script is empty); records every request in order.
class FakeProcesses : public platform::Processes {
public:
    struct Call {
        platform::ProcessRequest request;
        bool elevated;
    };
    std::vector<Call> calls;
    std::deque<platform::ProcessOutcome> outcomes;
    // The requests that started a process.
    std::vector<platform::ProcessRequest> started;
    platform::ProcessOutcome Start(const platform::ProcessRequest& request) override { return Next(request, false); }
    platform::ProcessOutcome StartElevated(const platform::ProcessRequest& request) override {
        return Next(request, true);
    }

private:
    platform::ProcessOutcome Next(const platform::ProcessRequest& request, bool elevated);
};

// Answers every check with the verdict the test sets; records what was checked.
class FakeSignatures : public platform::Signatures {
public:
    platform::SignatureVerdict verdict{true, {}};
    std::vector<std::pair<std::string, platform::SignerRule>> checked;
    platform::SignatureVerdict Verify(const platform::HeldFile& file, const platform::SignerRule& rule) override {
        checked.emplace_back(file.Path(), rule);
        return verdict;
    }
};

class FakeRemoteAccess : public platform::RemoteAccess {
public:
    platform::DialUpEnumeration result{true, true, 0, 0};
    platform::DialUpEnumeration EnumerateConnections() override { return result; }
};

class FakeSystemFacts : public platform::SystemFacts {
public:
    std::optional<platform::OsVersionRecord> version = platform::OsVersionRecord{10, 0, 19045, 2, "", 0x100, 1};
    int versionFailures = 0;  // the first N queries fail
    int serverR2 = 0;
    std::map<int, std::string> folders;
    std::optional<std::vector<std::uint8_t>> adapters = std::vector<std::uint8_t>{0};
    std::map<std::uint8_t, platform::AdapterStatus> adapterStatus;
    std::vector<std::uint8_t> statusAsked;
    int dpi = 96;
    std::optional<std::string> country = std::string("49");
    std::string languageName = "Deutsch (Deutschland)";
    std::string programFolder;

    std::optional<platform::OsVersionRecord> VersionRecord() override;
    int ServerR2Metric() override { return serverR2; }
    std::string SpecialFolder(int csidl) override;
    std::optional<std::vector<std::uint8_t>> NetbiosAdapters() override { return adapters; }
    platform::AdapterStatus NetbiosAdapterStatus(std::uint8_t adapter) override;
    int ScreenDpi() override { return dpi; }
    std::optional<std::string> UserCountryCode() override { return country; }
    std::string SystemLanguageName() override { return languageName; }
    std::string ProgramFolder() override { return programFolder; }
};

// An HTTP client with no network: every open fails. Tests that need answers
// use the loopback transport instead. It records where a transfer would
// connect and the flags of its request.
class OfflineInternet : public platform::Internet {
public:
    bool connected = false;
    std::vector<std::pair<std::string, int>> connects;  // host, port
    std::vector<unsigned> requestFlags;
    platform::NetHandle Open(const std::string&, int, const std::string&) override { return nullptr; }
    platform::NetHandle Connect(platform::NetHandle, const std::string& host, int port) override {
        connects.emplace_back(host, port);
        return nullptr;
    }
    platform::NetHandle OpenRequest(platform::NetHandle, const std::string&, const std::string&, const std::string&,
                                    const std::string&, const std::string&, unsigned flags) override {
        requestFlags.push_back(flags);
        return nullptr;
    }
    bool SetProxyCredentials(platform::NetHandle, const std::string&, const std::string&) override { return false; }
    bool SendRequest(platform::NetHandle, const std::string&, const std::string&) override { return false; }
    std::optional<std::string> QueryContentLength(platform::NetHandle) override { return std::nullopt; }
    int QueryStatusCode(platform::NetHandle) override { return 0; }
    bool Read(platform::NetHandle, char*, std::size_t, std::size_t& got) override { got = 0; return false; }
    void Close(platform::NetHandle) override {}
    platform::NetHandle OpenUrl(platform::NetHandle, const std::string&, unsigned) override { return nullptr; }
    bool IsConnected() override { return connected; }
    std::optional<platform::ProxyOption> QueryProxyOption() override { return std::nullopt; }
};

}  // namespace kv::test
