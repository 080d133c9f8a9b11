#pragma once
#include <functional>
#include <memory>

#include "platform/dispatcher.h"

struct HWND__;

namespace kv::platform::win32 {

// Hands work from worker threads to the thread that created it (the GUI
// thread) through a hidden message-only window. Send posts a pointer to the
// caller's function and sleeps on a condition variable until the GUI thread
// has run it: the post is served inside every message loop of the GUI
// thread, modal loops and message boxes included, and it costs far less
// than a cross-thread SendMessage, which under Wine takes several round
// trips through the wineserver per call (the download sends one progress
// step per 1025-byte chunk). The condition variable sleeps and wakes without
// the wineserver.
class WinDispatcher : public Dispatcher {
public:
    WinDispatcher();
    ~WinDispatcher() override;
    WinDispatcher(const WinDispatcher&) = delete;
    WinDispatcher& operator=(const WinDispatcher&) = delete;

    // An exception thrown by fn on the GUI thread is raised again in the sender.
    void Send(const std::function<void()>& fn) override;
    void Post(std::function<void()> fn) override;

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
    void RunSent(SendCall& call) const;
    void Finish(SendCall& call) const;

    Runner runner_;
    Runner sendRunner_;
    std::unique_ptr<Waiting> waiting_;
    HWND__* window_ = nullptr;
    unsigned long guiThread_ = 0;
};

}  // namespace kv::platform::win32
