#pragma once
#include <functional>

#include "platform/dispatcher.h"

struct HWND__;

namespace kv::platform::win32 {

// Hands work from worker threads to the thread that created it (the GUI
// thread) through a hidden message-only window. Send is a SendMessage with a
// pointer to the caller's function, so it costs one thread switch and no
// allocation; it is served inside every message loop of the GUI thread,
// modal loops and message boxes included.
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

private:
    friend struct DispatcherWindow;
    void Run(const std::function<void()>& fn) const { runner_ ? runner_(fn) : fn(); }

    Runner runner_;
    HWND__* window_ = nullptr;
    unsigned long guiThread_ = 0;
};

}  // namespace kv::platform::win32
