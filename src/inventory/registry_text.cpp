#include "inventory/registry_text.h"

namespace kv {

ERegistryDataType::ERegistryDataType(const std::string& key, const std::string& valueName)
    : std::runtime_error("Ungültiger Datentyp für '" + valueName + "' im Schlüssel HKEY_LOCAL_MACHINE\\" +
                         key),
      key_(key),
      valueName_(valueName) {}

std::optional<std::string> ReadRegistryText(platform::Registry& registry, platform::Hive hive,
                                            const std::string& key, const std::string& valueName) {
    const auto value = registry.Read(hive, key, valueName);
    if (!value) return std::nullopt;
    if (value->data.empty()) return std::string();
    std::optional<std::string> text = platform::TextOf(*value);
    if (!text) throw ERegistryDataType(key, valueName);
    return text;
}

}  // namespace kv
