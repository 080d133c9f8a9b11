#pragma once
#include <optional>
#include <string>
#include <utility>

namespace kv::platform {

enum class Hive { LocalMachine, CurrentUser };

// Registry types as the system reports them (the numeric values are the
// Win32 REG_* codes, so a fake and the real reader agree).
enum class RegType : unsigned { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4, MultiString = 7, Qword = 11 };

struct RegValue {
    RegType type = RegType::None;
    std::string data;  // raw bytes; for string types without the terminating NUL
};

// The value read from the bytes stored: a string value ends in one NUL unless
// whoever wrote it left that out; a multi-string keeps its inner separators.
inline RegValue ValueFromStored(RegType type, std::string stored) {
    const bool text = type == RegType::String || type == RegType::ExpandString || type == RegType::MultiString;
    if (text && !stored.empty() && stored.back() == '\0') stored.pop_back();
    return {type, std::move(stored)};
}

// The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, as the
// system's string reads give it; nullopt for a value of another type. What a
// caller makes of another type differs (an error, or no text), so it decides.
inline std::optional<std::string> TextOf(const RegValue& value) {
    if (value.type != RegType::String && value.type != RegType::ExpandString) return std::nullopt;
    return value.data.substr(0, value.data.find('\0'));
}

// Read-only access to the 32-bit registry view, shaped after what the callers need.
class Registry {
public:
    virtual ~Registry() = default;
    virtual bool KeyExists(Hive hive, const std::string& key) = 0;
    // nullopt when the key or the value does not exist.
    virtual std::optional<RegValue> Read(Hive hive, const std::string& key, const std::string& name) = 0;
};

}  // namespace kv::platform
