#pragma once
#include "platform/registry.h"

namespace kv::platform::win32 {

// Reads the 32-bit view in both Windows builds, so the 64-bit test build sees
// what the 32-bit product sees on a 64-bit Windows.
class WinRegistry : public Registry {
public:
    bool KeyExists(Hive hive, const std::string& key) override;
    std::optional<RegValue> Read(Hive hive, const std::string& key, const std::string& name) override;
};

}  // namespace kv::platform::win32
