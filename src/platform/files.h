#pragma once
#include <optional>
#include <string>

namespace kv::platform {

// Paths are Windows paths ("C:\x\y"); other implementations map them.
class Files {
public:
    virtual ~Files() = default;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Delete(const std::string& path) = 0;
    virtual bool Copy(const std::string& from, const std::string& to, bool overwrite) = 0;
    // Creates or replaces the file; false when it cannot be written.
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
};

}  // namespace kv::platform
