#pragma once
#include <memory>
#include <string>

#include "platform/registry.h"

namespace kv::test {

// The keys a registry suite writes, in both hives; the system's registry
// removes them again.
inline constexpr char kRegistryTestRoot[] = "Software\\Karvell\\Conformance";

// The registry of the executable, filled as a program writing through the
// system would: the in-memory double in unit_tests, the system's 32-bit view
// in win_tests.
class RegistryUnderTest {
public:
    virtual ~RegistryUnderTest() = default;
    virtual platform::Registry& Reader() = 0;
    // Creates the key and those above it.
    virtual void AddKey(platform::Hive hive, const std::string& key) = 0;
    // Stores the bytes as given: a string's terminating NUL only if they end in one.
    virtual void Store(platform::Hive hive, const std::string& key, const std::string& name, platform::RegType type,
                       const std::string& bytes) = 0;
};

std::unique_ptr<RegistryUnderTest> MakeRegistryUnderTest();

}  // namespace kv::test
