#include "handover.h"

#include <array>
#include <stdexcept>

namespace kvbench {

namespace {

constexpr UINT kJobMessage = WM_APP + 1;
constexpr UINT kFinishMessage = WM_APP + 2;
constexpr char kWindowClass[] = "KVBenchHandover";
// A lingering GUI thread goes back to its message loop at least this often,
// so input and timers are never starved by a stream of jobs.
constexpr long long kMaxAwayFromLoopMicros = 5000;

const std::array<HandoverKind, 11> kKinds = {{
    {"send", Wake::SendMessage, Completion::Reply},
    {"events", Wake::Event, Completion::Event},
    {"signal-wait", Wake::Event, Completion::SignalAndWait},
    {"post-event", Wake::PostMessage, Completion::Event},
    {"post-cv", Wake::PostMessage, Completion::ConditionVariable},
    {"event-cv", Wake::Event, Completion::ConditionVariable},
    {"apc-event", Wake::Apc, Completion::Event},
    {"notify-spin", Wake::NotifyMessage, Completion::SpinThenEvent, 50},
    {"post-spin", Wake::PostMessage, Completion::SpinThenEvent, 50},
    {"linger-100", Wake::PostMessage, Completion::SpinThenEvent, 100, 100},
    {"linger-300", Wake::PostMessage, Completion::SpinThenEvent, 300, 300},
}};

long long NowMicros() {
    static const long long frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000000 / frequency;
}

void RegisterWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Handover::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
}

}  // namespace

const HandoverKind* FindHandoverKind(const std::string& name) {
    for (const auto& kind : kKinds)
        if (kind.name == name) return &kind;
    return nullptr;
}

std::string HandoverKindNames() {
    std::string names;
    for (const auto& kind : kKinds) names += (names.empty() ? "" : " ") + kind.name;
    return names;
}

Handover::Handover(HandoverKind kind) : kind_(std::move(kind)) {
    RegisterWindowClass();
    window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    if (window_ == nullptr) throw std::runtime_error("no message window");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &guiThread_, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    requestEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    doneEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

Handover::~Handover() {
    DestroyWindow(window_);
    CloseHandle(guiThread_);
    CloseHandle(requestEvent_);
    CloseHandle(doneEvent_);
}

void Handover::Send(const Job& job) {
    if (kind_.wake == Wake::SendMessage) {
        SendMessageA(window_, kJobMessage, 0, reinterpret_cast<LPARAM>(&job));
        return;
    }
    done_.store(false);
    pending_.store(&job);
    if (kind_.completion == Completion::SignalAndWait) {
        SignalObjectAndWait(requestEvent_, doneEvent_, INFINITE, FALSE);
        return;
    }
    // A lingering GUI thread picks the job up by itself; only a GUI thread
    // that may be asleep needs the (expensive) wake-up.
    if (!guiListening_.load()) WakeGui(job);
    WaitForCompletion();
}

void Handover::Finish() {
    finished_.store(true);
    PostMessageA(window_, kFinishMessage, 0, 0);
}

void Handover::WakeGui(const Job&) {
    switch (kind_.wake) {
        case Wake::PostMessage: PostMessageA(window_, kJobMessage, 0, 0); break;
        case Wake::NotifyMessage: SendNotifyMessageA(window_, kJobMessage, 0, 0); break;
        case Wake::Event: SetEvent(requestEvent_); break;
        case Wake::Apc: QueueUserAPC(ApcEntry, guiThread_, reinterpret_cast<ULONG_PTR>(this)); break;
        case Wake::SendMessage: break;
    }
}

void Handover::WaitForCompletion() {
    switch (kind_.completion) {
        case Completion::Event: WaitForSingleObject(doneEvent_, INFINITE); return;
        case Completion::ConditionVariable:
            AcquireSRWLockExclusive(&lock_);
            while (!done_.load()) SleepConditionVariableSRW(&doneChanged_, &lock_, INFINITE, 0);
            ReleaseSRWLockExclusive(&lock_);
            return;
        case Completion::SpinThenEvent: {
            const long long start = NowMicros();
            for (unsigned spins = 0; !done_.load(); ++spins) {
                if ((spins & 63) == 0 && NowMicros() - start > kind_.workerSpinMicros) break;
                YieldProcessor();
            }
            if (done_.load()) return;
            // The GUI thread signals only a worker that said it sleeps; a
            // signal left over from an earlier job is absorbed by the loop.
            workerSleeping_.store(true);
            while (!done_.load()) WaitForSingleObject(doneEvent_, INFINITE);
            workerSleeping_.store(false);
            return;
        }
        case Completion::Reply:
        case Completion::SignalAndWait: return;
    }
}

void Handover::Complete() {
    switch (kind_.completion) {
        case Completion::Event:
        case Completion::SignalAndWait: SetEvent(doneEvent_); return;
        case Completion::ConditionVariable:
            AcquireSRWLockExclusive(&lock_);
            done_.store(true);
            ReleaseSRWLockExclusive(&lock_);
            WakeConditionVariable(&doneChanged_);
            return;
        case Completion::SpinThenEvent:
            done_.store(true);
            if (workerSleeping_.load()) SetEvent(doneEvent_);
            return;
        case Completion::Reply: return;
    }
}

bool Handover::RunPending() {
    const Job* job = pending_.exchange(nullptr);
    if (job == nullptr) return false;
    (*job)();
    Complete();
    return true;
}

void Handover::Serve() {
    RunPending();
    if (kind_.guiLingerMicros > 0) Linger();
}

void Handover::Linger() {
    const long long start = NowMicros();
    long long lastJob = start;
    guiListening_.store(true);
    for (unsigned spins = 1;; ++spins) {
        if (RunPending()) {
            lastJob = NowMicros();
            if (lastJob - start > kMaxAwayFromLoopMicros) break;
            continue;
        }
        if ((spins & 63) == 0 && NowMicros() - lastJob > kind_.guiLingerMicros) break;
        YieldProcessor();
    }
    guiListening_.store(false);
    // A job stored while the worker still saw us listening is ours.
    RunPending();
}

void CALLBACK Handover::ApcEntry(ULONG_PTR self) { reinterpret_cast<Handover*>(self)->Serve(); }

LRESULT CALLBACK Handover::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Handover*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == kJobMessage) {
        if (self->kind_.wake == Wake::SendMessage)
            (*reinterpret_cast<const Job*>(lParam))();
        else
            self->Serve();
        return 0;
    }
    if (self != nullptr && message == kFinishMessage) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Handover::RunLoop() {
    MSG msg;
    if (!LoopWaitsOnObjects()) {
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return;
    }
    const DWORD handles = kind_.wake == Wake::Event ? 1 : 0;
    const DWORD flags = MWMO_INPUTAVAILABLE | (kind_.wake == Wake::Apc ? MWMO_ALERTABLE : 0);
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &requestEvent_, INFINITE, QS_ALLINPUT, flags);
        if (handles == 1 && woke == WAIT_OBJECT_0) {
            Serve();
            continue;
        }
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace kvbench
