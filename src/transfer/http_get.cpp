#include "transfer/http_get.h"

namespace kv {

struct THTTPGet::Shared {};

THTTPGet::THTTPGet(platform::Internet& internet, platform::Files& files, platform::Dispatcher& dispatcher)
    : internet_(internet), files_(files), dispatcher_(dispatcher), alive_(std::make_shared<std::atomic<bool>>(true)) {}
THTTPGet::~THTTPGet() { Abort(); *alive_ = false; }
void THTTPGet::GetFile() {}
void THTTPGet::Abort() {}
bool THTTPGet::Busy() const { return worker_ != nullptr; }
void THTTPGet::Completed(const std::shared_ptr<Shared>&) {}

}  // namespace kv
