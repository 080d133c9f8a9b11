#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "conformance/dispatcher_under_test.h"

namespace {

class DispatcherConformance : public ::testing::Test {
protected:
    std::unique_ptr<kv::test::DispatcherUnderTest> under = kv::test::MakeDispatcherUnderTest();
    kv::platform::Dispatcher& dispatcher = under->Dispatcher();
    const std::thread::id gui = std::this_thread::get_id();
    std::vector<std::string> seen;
    std::vector<std::thread::id> seenOn;

    // Work that notes its name and the thread it ran on.
    std::function<void()> Note(const std::string& name) {
        return [this, name] {
            seen.push_back(name);
            seenOn.push_back(std::this_thread::get_id());
        };
    }
    // Runs `work` on a worker while the GUI thread serves its loop until the
    // worker has ended and `alsoDone` holds.
    void OnWorker(const std::function<void()>& work, const std::function<bool()>& alsoDone = [] { return true; }) {
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            work();
            finished = true;
        });
        const bool served = under->RunUntil([&] { return finished.load() && alsoDone(); });
        worker.join();
        EXPECT_TRUE(served);
    }
    std::string FailingSend() {
        try {
            dispatcher.Send([] { throw std::runtime_error("disk full"); });
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "nothing caught";
    }
};

TEST_F(DispatcherConformance, SendFromTheGuiThreadRunsAtOnce) {
    dispatcher.Send(Note("sent"));
    EXPECT_EQ(seen, std::vector<std::string>{"sent"});
    EXPECT_EQ(seenOn.at(0), gui);
}

TEST_F(DispatcherConformance, SendFromAWorkerReturnsAfterItsWorkRanOnTheGuiThread) {
    int seenAfterSend = 0;
    OnWorker([&] {
        int value = 0;
        dispatcher.Send([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the worker must still be waiting
            Note("sent")();
            value = 42;
        });
        seenAfterSend = value;
    });
    EXPECT_EQ(seenAfterSend, 42);
    EXPECT_EQ(seenOn, std::vector<std::thread::id>{gui});
}

TEST_F(DispatcherConformance, AFailureOfSentWorkReachesTheSenderAndTheLoopGoesOn) {
    EXPECT_EQ(FailingSend(), "disk full");
    std::string caught;
    OnWorker([&] {
        caught = FailingSend();
        dispatcher.Send(Note("after the failure"));
    });
    EXPECT_EQ(caught, "disk full");
    EXPECT_EQ(seen, std::vector<std::string>{"after the failure"});
}

TEST_F(DispatcherConformance, PostsWaitForTheLoopAndRunInOrderWithTheSends) {
    dispatcher.Post(Note("posted by the GUI thread"));
    std::thread([&] { dispatcher.Post(Note("started")); }).join();
    EXPECT_TRUE(seen.empty());  // the GUI thread has not served its loop yet
    OnWorker(
        [&] {
            dispatcher.Send(Note("progress 1"));
            dispatcher.Send(Note("progress 2"));
            dispatcher.Post(Note("done"));
        },
        [&] { return seen.size() == 5; });
    EXPECT_EQ(seen, (std::vector<std::string>{"posted by the GUI thread", "started", "progress 1", "progress 2", "done"}));
    EXPECT_EQ(seenOn, std::vector<std::thread::id>(5, gui));
}

}  // namespace
