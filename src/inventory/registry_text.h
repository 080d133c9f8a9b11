#pragma once
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/registry.h"

namespace kv {

// A value that should hold text exists with another registry type.
class ERegistryDataType : public std::runtime_error {
public:
    ERegistryDataType(const std::string& key, const std::string& valueName);
    const std::string& key() const { return key_; }
    const std::string& valueName() const { return valueName_; }

private:
    std::string key_;
    std::string valueName_;
};

// The text of a REG_SZ or REG_EXPAND_SZ value (a value of length 0 is empty
// text whatever its type); nullopt when the value does not exist. Throws
// ERegistryDataType for any other type.
std::optional<std::string> ReadRegistryText(platform::Registry& registry, platform::Hive hive,
                                            const std::string& key, const std::string& valueName);

}  // namespace kv
