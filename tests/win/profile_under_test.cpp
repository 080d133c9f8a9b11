#include "conformance/profile_under_test.h"

#include "platform/win32/win_profile.h"

namespace kv::test {

std::unique_ptr<platform::Profile> MakeProfileUnderTest() { return std::make_unique<platform::win32::WinProfile>(); }

}  // namespace kv::test
