#pragma once
#include "platform/files.h"

namespace kv::platform {

// Files through the C++ library; Windows paths are mapped to host paths.
class HostFiles : public Files {
public:
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    std::unique_ptr<FileWriter> CreateForWriting(const std::string& path) override;
    // A POSIX host knows no share modes: the file is held open, but others
    // are not kept out. Only the Windows service shows that part.
    std::unique_ptr<HeldFile> Hold(const std::string& path) override;
};

}  // namespace kv::platform
