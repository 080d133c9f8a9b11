#pragma once
#include "platform/files.h"

namespace kv::platform::win32 {

class WinFiles : public Files {
public:
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    std::unique_ptr<FileWriter> CreateForWriting(const std::string& path) override;
    std::unique_ptr<HeldFile> Hold(const std::string& path) override;
};

}  // namespace kv::platform::win32
