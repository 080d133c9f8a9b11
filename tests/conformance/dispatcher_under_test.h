#pragma once
#include <functional>
#include <memory>

#include "platform/dispatcher.h"

namespace kv::test {

// The dispatcher of the executable, made on the calling thread, which becomes
// its GUI thread: the queue double in unit_tests, the system's message loop in
// win_tests.
class DispatcherUnderTest {
public:
    virtual ~DispatcherUnderTest() = default;
    virtual platform::Dispatcher& Dispatcher() = 0;
    // Serves the GUI thread's loop until `done` holds; false when 10 s pass first.
    virtual bool RunUntil(const std::function<bool()>& done) = 0;
};

std::unique_ptr<DispatcherUnderTest> MakeDispatcherUnderTest();

}  // namespace kv::test
