#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "fakes/test_world.h"
#include "run/config.h"
#include "report/tphpunit.h"
#include "unit/report_decoding.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// An HTTP client that records what the report worker asks of it and serves a
// body; OpenUrl can be held until the test lets it go.
class RecordingInternet : public kv::test::OfflineInternet {
public:
    struct Call {
        std::string what;
        std::string text;
        unsigned flags = 0;
    };

    std::string body = std::string(2500, 'x');
    bool openFails = false, urlFails = false, readFails = false, throws = false;

    void Hold() {
        std::lock_guard lock(mutex_);
        held_ = true;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    bool WaitUntilInOpenUrl() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return inOpenUrl_; });
    }
    std::vector<Call> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

    kv::platform::NetHandle Open(const std::string& agent, int accessType, const std::string& proxy) override {
        Record({"Open", agent + "|" + std::to_string(accessType) + "|" + proxy});
        if (throws) throw std::runtime_error("network layer broke");
        return openFails ? nullptr : &root_;
    }
    kv::platform::NetHandle OpenUrl(kv::platform::NetHandle root, const std::string& url, unsigned flags) override {
        Record({"OpenUrl", url, flags});
        std::unique_lock lock(mutex_);
        inOpenUrl_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_; });
        return root == &root_ && !urlFails ? &url_ : nullptr;
    }
    bool Read(kv::platform::NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) override {
        Record({"Read", "", static_cast<unsigned>(capacity)});
        got = 0;
        if (handle != &url_ || readFails) return false;
        got = std::min(capacity, body.size() - served_);
        body.copy(buffer, got, served_);
        served_ += got;
        return true;
    }
    void Close(kv::platform::NetHandle handle) override { Record({"Close", handle == &root_ ? "root" : "url"}); }

private:
    void Record(Call call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Call> calls_;
    bool held_ = false, inOpenUrl_ = false;
    std::size_t served_ = 0;
    char root_ = 0, url_ = 0;
};

class ReportDelivery : public ::testing::Test {
protected:
    ReportDelivery() { world.internet = &internet; }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& call : internet.Calls()) names.push_back(call.what + (call.what == "Close" ? " " + call.text : ""));
        return names;
    }

    kv::test::TestWorld world;
    RecordingInternet internet;
};

TEST_F(ReportDelivery, OneGetOfTheReportAddressReadToTheEndThenClosed) {
    kv::TPHPunit report{world.Services()};
    report.ListBox1 = {"NetRefresh: Quillon - Ortsgericht Hanau", "Company: A & B", "Schriftauflösung: 96"};
    report.MailPHP("NetRefresh: Quillon - Ortsgericht Hanau");
    report.WaitForDelivery(5000);

    const auto calls = internet.Calls();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Open", "OpenUrl", "Read", "Read", "Read", "Read", "Close url",
                                                 "Close root"}));
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "Karvell|0|");
    EXPECT_EQ(calls[1].flags, kv::platform::FlagReload);
    const std::string& address = calls[1].text;
    EXPECT_EQ(address.rfind(std::string(kv::config::ReportServerBase) + "/cgi-bin/instup.php?botschaft=", 0), 0u);
    const auto parameters = kv::test::QueryParameters(address);
    ASSERT_TRUE(parameters);
    ASSERT_EQ(parameters->size(), 4u);
    EXPECT_EQ(kv::test::PageLines((*parameters)[0].value), report.ListBox1);
    EXPECT_EQ((*parameters)[1].value, kv::config::ReportRecipient1);
    EXPECT_EQ((*parameters)[2].value, "NetRefresh: Quillon - Ortsgericht Hanau");
    EXPECT_EQ((*parameters)[3].value, kv::config::ReportRecipient2);
}

TEST_F(ReportDelivery, MailReturnsAtOnceAndTheWaitIsBounded) {
    kv::TPHPunit report{world.Services()};
    report.ListBox1 = {"a", "b", "c"};
    internet.Hold();
    const auto start = Clock::now();
    report.MailPHP("s");
    ASSERT_TRUE(internet.WaitUntilInOpenUrl());
    EXPECT_LT(Clock::now() - start, 2s);

    const auto waitStart = Clock::now();
    report.WaitForDelivery(150);
    const auto waited = Clock::now() - waitStart;
    EXPECT_GE(waited, 140ms);
    EXPECT_LT(waited, 2s);

    internet.Release();
    report.WaitForDelivery(5000);
    EXPECT_EQ(Names().back(), "Close root");
}

TEST_F(ReportDelivery, WaitingWithoutAReportReturnsAtOnce) {
    kv::TPHPunit report{world.Services()};
    const auto start = Clock::now();
    report.WaitForDelivery(5000);
    EXPECT_LT(Clock::now() - start, 100ms);
}

TEST_F(ReportDelivery, FailuresOfTheRequestAreNotNoticedAndHandlesAreClosed) {
    struct Case {
        bool RecordingInternet::*failure;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {&RecordingInternet::openFails, {"Open"}},
        {&RecordingInternet::urlFails, {"Open", "OpenUrl", "Close root"}},
        {&RecordingInternet::readFails, {"Open", "OpenUrl", "Read", "Close url", "Close root"}},
        {&RecordingInternet::throws, {"Open"}},
    };
    for (const Case& c : cases) {
        RecordingInternet failing;
        failing.*c.failure = true;
        world.internet = &failing;
        kv::TPHPunit report{world.Services()};
        report.ListBox1 = {"a", "b"};
        EXPECT_NO_THROW(report.MailPHP("s"));
        report.WaitForDelivery(5000);
        std::vector<std::string> names;
        for (const auto& call : failing.Calls()) names.push_back(call.what + (call.what == "Close" ? " " + call.text : ""));
        EXPECT_EQ(names, c.calls);
    }
    EXPECT_TRUE(world.dialogs.shown.empty());
}

// The program may end while the server still keeps the request waiting: the
// window goes at once and the worker makes no call into the services after.
TEST(ReportDeliveryAtExit, AWindowGoneDuringTheRequestIsNeverWaitedForNorCalledBack) {
    static RecordingInternet internet;  // outlives the abandoned worker
    kv::test::TestWorld world;
    world.internet = &internet;
    internet.Hold();
    {
        auto report = std::make_unique<kv::TPHPunit>(world.Services());
        report->ListBox1 = {"a", "b"};
        report->MailPHP("s");
        ASSERT_TRUE(internet.WaitUntilInOpenUrl());
        report->WaitForDelivery(10);
        const auto start = Clock::now();
        report.reset();
        EXPECT_LT(Clock::now() - start, 1s);
    }
    internet.Release();
    const auto deadline = Clock::now() + 300ms;
    while (Clock::now() < deadline && internet.Calls().size() == 2) std::this_thread::yield();
    EXPECT_EQ(internet.Calls().size(), 2u);  // Open and OpenUrl only
}

}  // namespace
