#pragma once
#include <memory>

#include "platform/profile.h"

namespace kv::test {

// The INI service of the executable: the portable engine in unit_tests, the
// system's profile functions in win_tests.
std::unique_ptr<platform::Profile> MakeProfileUnderTest();

}  // namespace kv::test
