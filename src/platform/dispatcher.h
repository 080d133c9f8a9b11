#pragma once
#include <functional>

namespace kv::platform {

// Runs work on the GUI thread on behalf of a worker thread.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Runs fn on the GUI thread and returns after it has returned.
    virtual void Send(const std::function<void()>& fn) = 0;
    // Queues fn for the GUI thread and returns at once.
    virtual void Post(std::function<void()> fn) = 0;
};

}  // namespace kv::platform
