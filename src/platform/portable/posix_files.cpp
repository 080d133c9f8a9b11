#include "platform/portable/posix_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/portable/host_path.h"

namespace kv::platform {

namespace fs = std::filesystem;

namespace {
class StreamFileWriter : public FileWriter {
public:
    explicit StreamFileWriter(const std::string& hostPath) : out_(hostPath, std::ios::binary | std::ios::trunc) {}
    bool IsOpen() const { return out_.is_open(); }
    bool Write(const char* data, std::size_t size) override {
        out_.write(data, static_cast<std::streamsize>(size));
        return static_cast<bool>(out_);
    }
    bool Close() override {
        if (!out_.is_open()) return static_cast<bool>(out_);
        out_.close();
        return static_cast<bool>(out_);
    }

private:
    std::ofstream out_;
};
}  // namespace

bool HostFiles::Exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(HostPath(path), ec);
}

bool HostFiles::Delete(const std::string& path) {
    std::error_code ec;
    return fs::remove(HostPath(path), ec);
}

bool HostFiles::Copy(const std::string& from, const std::string& to, bool overwrite) {
    std::error_code ec;
    const auto options = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    return fs::copy_file(HostPath(from), HostPath(to), options, ec) && !ec;
}

bool HostFiles::WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::optional<std::string> HostFiles::ReadAll(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<FileWriter> HostFiles::CreateForWriting(const std::string& path) {
    auto writer = std::make_unique<StreamFileWriter>(HostPath(path));
    if (!writer->IsOpen()) return nullptr;
    return writer;
}

}  // namespace kv::platform
