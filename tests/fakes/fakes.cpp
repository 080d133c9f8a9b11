#include "fakes/fakes.h"

#include <algorithm>
#include <chrono>
#include <exception>

namespace kv::test {

int ScriptedDialogs::MessageBox(platform::BoxOwner owner, const std::string& text, const std::string& caption,
                                unsigned flags) {
    shown.push_back({owner, text, caption, flags});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return (flags & 0xF) == platform::MbYesNo ? platform::IdNo : platform::IdOk;
}

void FakeUiHost::ShowModal(ui::Form& dialog) {
    modalShown.push_back(dialog.name);
    if (onModal) onModal(dialog);
}

void FakeUiHost::ShowPopup(ui::PopupMenu& menu, const ui::Form&, int offsetX, int offsetY) {
    popupX = offsetX;
    popupY = offsetY;
    if (onPopup) onPopup(menu, offsetX, offsetY);
}

int FakeUiHost::TextWidth(const ui::Font&, const std::string& text) { return static_cast<int>(text.size()) * 8; }

struct QueueDispatcher::Item {
    std::function<void()> fn;
    bool sent = false;
    bool done = false;
    std::exception_ptr error;
};

QueueDispatcher::QueueDispatcher() : guiThread_(std::this_thread::get_id()) {}

void QueueDispatcher::Send(const std::function<void()>& fn) {
    // The GUI thread would wait for itself.
    if (std::this_thread::get_id() == guiThread_) {
        fn();
        return;
    }
    auto item = std::make_shared<Item>();
    item->fn = fn;
    item->sent = true;
    std::unique_lock lock(mutex_);
    queue_.push_back(item);
    cv_.notify_all();
    cv_.wait(lock, [&] { return item->done; });
    if (item->error) std::rethrow_exception(item->error);
}

void QueueDispatcher::Post(std::function<void()> fn) {
    auto item = std::make_shared<Item>();
    item->fn = std::move(fn);
    std::lock_guard lock(mutex_);
    queue_.push_back(item);
    cv_.notify_all();
}

std::size_t QueueDispatcher::Pending() {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

// A failure of sent work goes back to its sender; one of posted work ends
// the test's loop, where the system's would drop it unseen.
void QueueDispatcher::Run(Item& item) {
    try {
        item.fn();
    } catch (...) {
        if (!item.sent) throw;
        item.error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    item.done = true;
    cv_.notify_all();
}

bool QueueDispatcher::RunUntil(const std::function<bool()>& done, int deadlineMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
    for (;;) {
        std::shared_ptr<Item> item;
        {
            std::unique_lock lock(mutex_);
            if (queue_.empty() && done()) return true;
            // `done` may come true on a worker without any work queued: look
            // again soon, as a message loop does.
            const auto look = std::min(deadline, Clock::now() + std::chrono::milliseconds(10));
            if (!cv_.wait_until(lock, look, [&] { return !queue_.empty(); })) {
                if (Clock::now() >= deadline) return done();
                continue;
            }
            item = queue_.front();
            queue_.pop_front();
        }
        Run(*item);
    }
}

platform::ProcessOutcome FakeProcesses::Next(const platform::ProcessRequest& request, bool elevated) {
    calls.push_back({request, elevated});
    platform::ProcessOutcome outcome;
    if (!outcomes.empty()) {
        outcome = outcomes.front();
        outcomes.pop_front();
    }
    if (outcome.Started()) started.push_back(request);
    return outcome;
}

std::optional<platform::OsVersionRecord> FakeSystemFacts::VersionRecord() {
    if (versionFailures > 0) {
        --versionFailures;
        return std::nullopt;
    }
    return version;
}

std::string FakeSystemFacts::SpecialFolder(int csidl) {
    const auto f = folders.find(csidl);
    return f == folders.end() ? std::string() : f->second;
}

platform::AdapterStatus FakeSystemFacts::NetbiosAdapterStatus(std::uint8_t adapter) {
    statusAsked.push_back(adapter);
    const auto s = adapterStatus.find(adapter);
    return s == adapterStatus.end() ? platform::AdapterStatus{1, {}} : s->second;
}

}  // namespace kv::test
