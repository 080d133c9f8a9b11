#include "conformance/profile_under_test.h"

#include "platform/portable/ini_engine.h"

namespace kv::test {

std::unique_ptr<platform::Profile> MakeProfileUnderTest() { return std::make_unique<platform::IniFileProfile>(); }

}  // namespace kv::test
