#pragma once
#include <cstddef>
#include <cstdint>
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

// A file kept open for reading while nobody else may write, delete or rename
// it, so what is checked and started is what arrived. Readers (the system's
// program loader among them) may still open it.
class HeldFile {
public:
    virtual ~HeldFile() = default;
    virtual const std::string& Path() const = 0;
    // The system's handle of the open file (a Windows HANDLE, a POSIX descriptor).
    virtual std::intptr_t NativeHandle() const = 0;
    // Lets go of the file and deletes it; false when it could not be deleted.
    virtual bool Discard() = 0;
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
    // A new file that only this writer has made: a file of that name is
    // deleted first, never written into, so nothing planted there beforehand
    // keeps its owner or rights. Null when the old file cannot be deleted or
    // the new one cannot be created.
    virtual std::unique_ptr<FileWriter> CreateForWriting(const std::string& path) = 0;
    // Null when the file cannot be opened so: missing, or open for writing or
    // deleting elsewhere.
    virtual std::unique_ptr<HeldFile> Hold(const std::string& path) = 0;
};

}  // namespace kv::platform
