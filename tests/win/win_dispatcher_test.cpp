#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui_loop.h"
#include "platform/win32/win_dispatcher.h"
#include "ui/win32/message_loop.h"

using kv::platform::win32::WinDispatcher;

namespace {

// Serves the GUI thread in the program's own way, waiting for messages or
// handed-over work, until the condition holds or 10 s pass.
bool ServeUntil(WinDispatcher& dispatcher, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG msg;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (dispatcher.WaitForMessagesOrWork(10)) continue;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

// While the GUI thread waits in the program's own loop, a send wakes it by the
// event, past the posts in its queue; the order holds all the same.
TEST(WinDispatcher, SendsAndPostsKeepTheirOrderInTheOwnLoop) {
    WinDispatcher dispatcher;
    std::vector<std::string> seen;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        dispatcher.Post([&] { seen.push_back("started"); });
        dispatcher.Send([&] { seen.push_back("progress 1"); });
        dispatcher.Send([&] { seen.push_back("progress 2"); });
        dispatcher.Post([&] { seen.push_back("done"); });
        finished = true;
    });
    ASSERT_TRUE(ServeUntil(dispatcher, [&] { return finished.load() && seen.size() == 4; }));
    worker.join();
    EXPECT_EQ(seen, (std::vector<std::string>{"started", "progress 1", "progress 2", "done"}));
}

TEST(WinDispatcher, WorkNeverRunIsReleasedWithTheDispatcher) {
    auto token = std::make_shared<int>(0);
    {
        WinDispatcher dispatcher;
        std::thread([&] { dispatcher.Post([token] {}); }).join();
        EXPECT_EQ(token.use_count(), 2);
    }
    EXPECT_EQ(token.use_count(), 1);
}

TEST(WinDispatcher, TheRunnerWrapsEveryPieceOfWork) {
    WinDispatcher dispatcher;
    int wrapped = 0;
    dispatcher.SetRunner([&](const std::function<void()>& work) {
        ++wrapped;
        work();
    });
    std::atomic<int> ran{0};
    std::thread worker([&] {
        dispatcher.Send([&] { ++ran; });
        dispatcher.Post([&] { ++ran; });
    });
    ASSERT_TRUE(PumpUntil([&] { return ran.load() == 2; }));
    worker.join();
    EXPECT_EQ(wrapped, 2);
}

// The download hands over one progress step per 1025-byte chunk. A send
// costs about 0.1 ms under Wine on an idle machine (a post and a condition
// variable; a cross-thread SendMessage costs twice that, and more while the
// thread shows windows); the bound only catches a hand-over that waits for a timer
// tick or a polling interval, and stays clear of a busy machine's noise.
TEST(WinDispatcher, SendIsCheapEnoughForEveryChunk) {
    for (const bool ownLoop : {false, true}) {
        WinDispatcher dispatcher;
        constexpr int kSends = 5000;
        int counted = 0;
        std::atomic<bool> finished{false};
        std::chrono::steady_clock::duration took{};
        std::thread worker([&] {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kSends; ++i) dispatcher.Send([&] { ++counted; });
            took = std::chrono::steady_clock::now() - start;
            finished = true;
        });
        // The GUI thread waits as a message box's loop does, or in the
        // program's own loop; the sends are served inside either.
        const auto done = [&] { return finished.load(); };
        ASSERT_TRUE(ownLoop ? ServeUntil(dispatcher, done) : PumpUntil(done));
        worker.join();
        EXPECT_EQ(counted, kSends);
        const double microseconds = std::chrono::duration<double, std::micro>(took).count() / kSends;
        std::printf("[ measure  ] one Send round trip, %s: %.1f us\n", ownLoop ? "own loop" : "any loop",
                    microseconds);
        EXPECT_LT(microseconds, 5000.0);
    }
}

// The worker waits for its work; if the dispatcher goes away first, the work
// never runs and the worker goes on, as it would from a window that is gone.
TEST(WinDispatcher, ASenderWhoseWorkNeverRunsIsReleasedWithTheDispatcher) {
    auto dispatcher = std::make_unique<WinDispatcher>();
    std::atomic<bool> ran{false}, returned{false};
    std::thread worker([&] {
        dispatcher->Send([&] { ran = true; });
        returned = true;
    });
    // The dispatcher's own messages lie in the application range.
    const DWORD until = GetTickCount() + 10000;
    MSG msg;
    while (!PeekMessageA(&msg, nullptr, WM_APP, WM_APP + 0xFF, PM_NOREMOVE) && GetTickCount() < until) Sleep(1);
    dispatcher.reset();
    worker.join();
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(ran.load());
}

// A progress step can arrive while the wizard shows a message box: the box's
// own loop serves it, so the download goes on behind the box.
TEST(WinDispatcher, SendIsServedInsideAMessageBox) {
    WinDispatcher dispatcher;
    constexpr char kCaption[] = "kv dispatcher box";
    std::atomic<bool> ranInsideBox{false}, boxOpen{false}, finished{false};
    std::thread worker([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && box == nullptr; ++i, Sleep(10)) box = FindWindowA("#32770", kCaption);
        if (box == nullptr) return;
        dispatcher.Send([&] {
            ranInsideBox = boxOpen.load();
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        finished = true;
    });
    // Should the box not serve the send, the worker stays blocked: close the box after a while.
    std::thread watchdog([&] {
        for (int i = 0; i < 1000 && !finished; ++i) Sleep(10);
        if (!finished)
            if (HWND box = FindWindowA("#32770", kCaption)) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    boxOpen = true;
    MessageBoxA(nullptr, "waiting", kCaption, MB_OK);
    boxOpen = false;
    ASSERT_TRUE(PumpUntil([&] { return finished.load(); }));
    worker.join();
    watchdog.join();
    EXPECT_TRUE(ranInsideBox.load());
}

// The view mirrors progress steps at its own pace: sent work may take a
// runner of its own, posted work keeps the ordinary one.
TEST(WinDispatcher, SentWorkTakesTheSendRunnerWhenOneIsSet) {
    WinDispatcher dispatcher;
    std::vector<std::string> runners;
    dispatcher.SetRunner([&](const std::function<void()>& work) {
        runners.push_back("posted");
        work();
    });
    dispatcher.SetSendRunner([&](const std::function<void()>& work) {
        runners.push_back("sent");
        work();
    });
    std::atomic<int> ran{0};
    std::thread worker([&] {
        dispatcher.Send([&] { ++ran; });
        dispatcher.Post([&] { ++ran; });
    });
    ASSERT_TRUE(PumpUntil([&] { return ran.load() == 2; }));
    worker.join();
    EXPECT_EQ(runners, (std::vector<std::string>{"sent", "posted"}));
}

// The waiting mode of the download component pumps this way while its
// worker hands over progress and completion.
TEST(WinDispatcher, PumpingPendingMessagesServesSendsAndPosts) {
    WinDispatcher dispatcher;
    std::atomic<int> served{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        dispatcher.Send([&] { ++served; });
        dispatcher.Post([&] { ++served; });
        finished = true;
    });
    const DWORD until = GetTickCount() + 10000;
    while ((served < 2 || !finished) && GetTickCount() < until) kv::ui::win32::PumpPendingMessages();
    worker.join();
    EXPECT_EQ(served.load(), 2);
}
