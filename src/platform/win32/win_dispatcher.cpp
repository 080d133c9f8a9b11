#include "platform/win32/win_dispatcher.h"

#include <windows.h>

#include <deque>
#include <exception>
#include <memory>

namespace kv::platform::win32 {

namespace {

constexpr UINT kServeMessage = WM_APP + 1;
constexpr UINT kPostMessage = WM_APP + 2;
constexpr char kClassName[] = "KVDispatcher";
// A sender that woke the GUI thread by the event while it was about to leave
// its loop (for a box that a message opens) posts after this long as well.
constexpr DWORD kEventAnswerMillis = 20;

}  // namespace

// The senders of one dispatcher sleep on one condition variable; the lock
// guards the queue of their calls and the finished flags.
struct WinDispatcher::Waiting {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;
    std::deque<SendCall*> queue;
};

struct WinDispatcher::SendCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool finished = false;
};

struct DispatcherWindow {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK DispatcherWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WinDispatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == kServeMessage) {
        self->ServeSent();
        return 0;
    }
    if (message == kPostMessage) {
        self->RunPosted(reinterpret_cast<std::function<void()>*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

void RegisterDispatcherClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DispatcherWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // a second dispatcher finds the class registered
}

}  // namespace

WinDispatcher::WinDispatcher()
    : waiting_(std::make_shared<Waiting>()),
      wakeEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      guiThread_(GetCurrentThreadId()) {
    RegisterDispatcherClass();
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinDispatcher::~WinDispatcher() {
    // Work posted but never run is released with the window; a sender still
    // waiting goes on without its work run, as from a window that is gone.
    MSG msg;
    while (PeekMessageA(&msg, window_, kPostMessage, kPostMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    AcquireSRWLockExclusive(&waiting_->lock);
    for (SendCall* call : waiting_->queue) call->finished = true;
    waiting_->queue.clear();
    ReleaseSRWLockExclusive(&waiting_->lock);
    WakeAllConditionVariable(&waiting_->finished);
    CloseHandle(wakeEvent_);
}

void WinDispatcher::RunPosted(std::function<void()>* fn) {
    std::unique_ptr<std::function<void()>> owned(fn);
    --postsUnrun_;
    // Posted work has no one to report to: a failure must not unwind
    // through the system's message dispatch.
    try {
        Run(*owned);
    } catch (...) {
    }
}

// Every call queued so far, in order; each sender learns of its own end.
void WinDispatcher::ServeSent() {
    for (;;) {
        AcquireSRWLockExclusive(&waiting_->lock);
        SendCall* call = nullptr;
        if (!waiting_->queue.empty()) {
            call = waiting_->queue.front();
            waiting_->queue.pop_front();
        }
        ReleaseSRWLockExclusive(&waiting_->lock);
        if (call == nullptr) return;
        try {
            if (sendRunner_)
                sendRunner_(*call->fn);
            else
                Run(*call->fn);
        } catch (...) {
            call->error = std::current_exception();
        }
        Finish(*call);
    }
}

void WinDispatcher::Finish(SendCall& call) const {
    // The sender may return and drop the call as soon as the lock is free:
    // after the release only the dispatcher's own members are touched.
    AcquireSRWLockExclusive(&waiting_->lock);
    call.finished = true;
    ReleaseSRWLockExclusive(&waiting_->lock);
    WakeAllConditionVariable(&waiting_->finished);
}

void WinDispatcher::Wake(bool byEvent) {
    if (byEvent) {
        SetEvent(wakeEvent_);
        return;
    }
    // A full message queue refuses the post; the window serves the queue
    // through a sent message then.
    if (!PostMessageA(window_, kServeMessage, 0, 0)) SendMessageA(window_, kServeMessage, 0, 0);
}

void WinDispatcher::Send(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == guiThread_) {
        Run(fn);
        return;
    }
    const std::shared_ptr<Waiting> waiting = waiting_;
    SendCall call{&fn, nullptr};
    AcquireSRWLockExclusive(&waiting->lock);
    waiting->queue.push_back(&call);
    ReleaseSRWLockExclusive(&waiting->lock);
    bool byEvent = loopWaits_.load() && postsUnrun_.load() == 0;
    Wake(byEvent);
    AcquireSRWLockExclusive(&waiting->lock);
    while (!call.finished) {
        const DWORD patience = byEvent ? kEventAnswerMillis : INFINITE;
        if (SleepConditionVariableSRW(&waiting->finished, &waiting->lock, patience, 0) || call.finished || !byEvent)
            continue;
        // The GUI thread left its loop before it saw the event: the post
        // reaches it wherever it waits now.
        byEvent = false;
        ReleaseSRWLockExclusive(&waiting->lock);
        Wake(false);
        AcquireSRWLockExclusive(&waiting->lock);
    }
    ReleaseSRWLockExclusive(&waiting->lock);
    if (call.error) std::rethrow_exception(call.error);
}

void WinDispatcher::Post(std::function<void()> fn) {
    auto* heap = new std::function<void()>(std::move(fn));
    ++postsUnrun_;
    if (!PostMessageA(window_, kPostMessage, 0, reinterpret_cast<LPARAM>(heap))) {
        --postsUnrun_;
        delete heap;
    }
}

bool WinDispatcher::WaitForMessagesOrWork(unsigned long milliseconds) {
    loopWaits_ = true;
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &wakeEvent_, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    loopWaits_ = false;
    if (woke != WAIT_OBJECT_0) return false;
    ServeSent();
    return true;
}

}  // namespace kv::platform::win32
