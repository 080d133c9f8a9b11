#include "conformance/dispatcher_under_test.h"

#include "fakes/fakes.h"

namespace kv::test {
namespace {

class QueueUnderTest : public DispatcherUnderTest {
public:
    platform::Dispatcher& Dispatcher() override { return queue_; }
    bool RunUntil(const std::function<bool()>& done) override { return queue_.RunUntil(done); }

private:
    QueueDispatcher queue_;
};

}  // namespace

std::unique_ptr<DispatcherUnderTest> MakeDispatcherUnderTest() { return std::make_unique<QueueUnderTest>(); }

}  // namespace kv::test
