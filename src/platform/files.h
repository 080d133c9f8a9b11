#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace kv::platform {

// A file written piece by piece, so a large download never sits in memory.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Flushes and closes; false when anything could not be written.
    virtual bool Close() = 0;
};

// Paths are Windows paths ("C:\x\y"); other implementations map them.
class Files {
public:
    virtual ~Files() = default;
    // True for a file; a folder is no file.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Delete(const std::string& path) = 0;
    virtual bool Copy(const std::string& from, const std::string& to, bool overwrite) = 0;
    // Creates or replaces the file; false when it cannot be written.
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // Creates or replaces the file for writing; null when it cannot be created.
    virtual std::unique_ptr<FileWriter> CreateForWriting(const std::string& path) = 0;
};

}  // namespace kv::platform
