#pragma once
#include <atomic>
#include <functional>
#include <memory>

#include "platform/dispatcher.h"

struct HWND__;

namespace kv::platform::win32 {

// Hands work from worker threads to the thread that created it (the GUI
// thread). A sender sleeps on a condition variable until the GUI thread has
// run its work; the condition variable sleeps and wakes without the
// wineserver. How the GUI thread learns of the work depends on where it
// waits: while it waits in one of the program's own message loops
// (WaitForMessagesOrWork) a worker wakes it by an event, the cheapest wake
// under Wine; anywhere else (a message box, a menu, a pause) the work is
// posted to a hidden window, which every message loop serves. The download
// sends one progress step per 1025-byte chunk, so this path is hot.
class WinDispatcher : public Dispatcher {
public:
    WinDispatcher();
    ~WinDispatcher() override;
    WinDispatcher(const WinDispatcher&) = delete;
    WinDispatcher& operator=(const WinDispatcher&) = delete;

    // An exception thrown by fn on the GUI thread is raised again in the sender.
    void Send(const std::function<void()>& fn) override;
    void Post(std::function<void()> fn) override;

    // GUI thread: waits at most `milliseconds` until messages are there or a
    // worker has sent work, and runs that work. True when work was run.
    bool WaitForMessagesOrWork(unsigned long milliseconds);

    // Runs every piece of handed-over work on the GUI thread (the view uses
    // it to treat the work as an event); without one the work runs plainly.
    using Runner = std::function<void(const std::function<void()>&)>;
    void SetRunner(Runner runner) { runner_ = std::move(runner); }
    // Runs the work of Send instead of the runner: progress steps arrive far
    // more often than a view needs to show them.
    void SetSendRunner(Runner runner) { sendRunner_ = std::move(runner); }

private:
    friend struct DispatcherWindow;
    struct Waiting;
    struct SendCall;
    void Run(const std::function<void()>& fn) const { runner_ ? runner_(fn) : fn(); }
    void RunPosted(std::function<void()>* fn);
    void ServeSent();
    void Finish(SendCall& call) const;
    void Wake(bool byEvent);

    Runner runner_;
    Runner sendRunner_;
    // Shared with the senders: one still waking up after the dispatcher has
    // gone must find its lock.
    std::shared_ptr<Waiting> waiting_;
    HWND__* window_ = nullptr;
    void* wakeEvent_ = nullptr;
    unsigned long guiThread_ = 0;
    // The GUI thread sits in WaitForMessagesOrWork.
    std::atomic<bool> loopWaits_{false};
    // Posted work not yet run: a send after a post goes the same way, so
    // that the GUI thread runs them in the order they were handed over.
    std::atomic<int> postsUnrun_{0};
};

}  // namespace kv::platform::win32
