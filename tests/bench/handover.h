#pragma once
// Ways for a worker thread to run a function on the GUI thread and wait until
// it has returned. The benchmark runs the same download loop over each of
// them to find the cheapest one that keeps the worker waiting for the handler.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace kvbench {

using Job = std::function<void()>;

// How the worker wakes the GUI thread.
enum class Wake { SendMessage, PostMessage, NotifyMessage, Event, Apc };
// How the worker waits for the handler's return.
enum class Completion { Reply, Event, SpinThenEvent, ConditionVariable, SignalAndWait };

struct HandoverKind {
    std::string name;
    Wake wake;
    Completion completion;
    int workerSpinMicros = 0;  // SpinThenEvent: how long the worker spins first
    int guiLingerMicros = 0;   // GUI thread: how long it waits for the next job after one
};

// The table of kinds the benchmark knows; nullptr for an unknown name.
const HandoverKind* FindHandoverKind(const std::string& name);
std::string HandoverKindNames();

class Handover {
public:
    // Created on the GUI thread, which later runs RunLoop.
    explicit Handover(HandoverKind kind);
    ~Handover();
    Handover(const Handover&) = delete;
    Handover& operator=(const Handover&) = delete;

    // Worker side: runs job on the GUI thread, returns after it returned.
    void Send(const Job& job);
    // Worker side: ends RunLoop once every job sent so far has run.
    void Finish();
    // GUI side: the message loop, until Finish.
    void RunLoop();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void CALLBACK ApcEntry(ULONG_PTR self);
    void WakeGui(const Job& job);
    void WaitForCompletion();
    void Serve();
    bool RunPending();
    void Complete();
    void Linger();
    bool LoopWaitsOnObjects() const { return kind_.wake == Wake::Event || kind_.wake == Wake::Apc; }

    HandoverKind kind_;
    HWND window_ = nullptr;
    HANDLE guiThread_ = nullptr;
    HANDLE requestEvent_ = nullptr;
    HANDLE doneEvent_ = nullptr;
    std::atomic<const Job*> pending_{nullptr};
    std::atomic<bool> done_{false};
    std::atomic<bool> guiListening_{false};
    std::atomic<bool> workerSleeping_{false};
    std::atomic<bool> finished_{false};
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE doneChanged_ = CONDITION_VARIABLE_INIT;
};

}  // namespace kvbench
