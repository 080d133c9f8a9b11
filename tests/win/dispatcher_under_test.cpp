#include "conformance/dispatcher_under_test.h"

#include "gui_loop.h"
#include "platform/win32/win_dispatcher.h"

namespace kv::test {
namespace {

class WinDispatcherUnderTest : public DispatcherUnderTest {
public:
    platform::Dispatcher& Dispatcher() override { return dispatcher_; }
    bool RunUntil(const std::function<bool()>& done) override { return PumpUntil(done); }

private:
    platform::win32::WinDispatcher dispatcher_;
};

}  // namespace

std::unique_ptr<DispatcherUnderTest> MakeDispatcherUnderTest() { return std::make_unique<WinDispatcherUnderTest>(); }

}  // namespace kv::test
