#pragma once
#include <stdexcept>
#include <string>

namespace kv::platform {

// Raised when the system refuses to write an INI value.
class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// INI ("profile") files by full path: case-insensitive sections and keys,
// defaults for a missing file, section or key, single-line values.
class Profile {
public:
    virtual ~Profile() = default;
    virtual std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    // Throws IniWriteError when the write is refused.
    virtual void WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Puts every pending write of the file on disk.
    virtual void Flush(const std::string& file) = 0;
};

}  // namespace kv::platform
