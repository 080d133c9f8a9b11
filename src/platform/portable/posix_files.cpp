#include "platform/portable/posix_files.h"

#include <cstdio>
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
    explicit StreamFileWriter(std::FILE* file) : file_(file) {}
    ~StreamFileWriter() override { Close(); }
    bool Write(const char* data, std::size_t size) override {
        ok_ = ok_ && file_ && std::fwrite(data, 1, size, file_) == size;
        return ok_;
    }
    bool Close() override {
        if (file_) ok_ = std::fclose(file_) == 0 && ok_;
        file_ = nullptr;
        return ok_;
    }

private:
    std::FILE* file_;
    bool ok_ = true;
};

// As the system's delete: a folder is no file, even an empty one.
bool RemoveFile(const std::string& path, std::error_code& ec) {
    const fs::path host = HostPath(path);
    return !fs::is_directory(host, ec) && fs::remove(host, ec);
}

class StreamHeldFile : public HeldFile {
public:
    StreamHeldFile(std::string path, std::FILE* file) : path_(std::move(path)), file_(file) {}
    ~StreamHeldFile() override { Release(); }
    const std::string& Path() const override { return path_; }
    std::intptr_t NativeHandle() const override { return file_ ? fileno(file_) : -1; }
    bool Discard() override {
        Release();
        std::error_code ec;
        return RemoveFile(path_, ec);
    }

private:
    void Release() {
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }
    std::string path_;
    std::FILE* file_;
};

#ifdef _WIN32
constexpr const char* NewFileMode = "wb";  // the Windows C runtime knows no "x"
#else
constexpr const char* NewFileMode = "wbx";  // fails on a file that appeared after the delete
#endif
}  // namespace

bool HostFiles::Exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(HostPath(path), ec);
}

bool HostFiles::Delete(const std::string& path) {
    std::error_code ec;
    return RemoveFile(path, ec);
}

bool HostFiles::Copy(const std::string& from, const std::string& to, bool overwrite) {
    std::error_code ec;
    const auto options = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    return fs::copy_file(HostPath(from), HostPath(to), options, ec) && !ec;
}

// Written beside the target and renamed into its place, as the Windows
// service does: other names of the old file keep the old bytes, and a
// failed write leaves the old file whole.
bool HostFiles::WriteAll(const std::string& path, const std::string& bytes) {
    const std::string temporary = HostPath(path + ".kvtmp");
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code ec;
    const bool placed = out && (fs::rename(temporary, HostPath(path), ec), !ec);
    if (!placed) fs::remove(temporary, ec);
    return placed;
}

std::optional<std::string> HostFiles::ReadAll(const std::string& path) {
    if (!Exists(path)) return std::nullopt;  // a folder opens as a stream too
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<FileWriter> HostFiles::CreateForWriting(const std::string& path) {
    std::error_code ec;
    RemoveFile(path, ec);
    if (ec) return nullptr;
    std::FILE* file = std::fopen(HostPath(path).c_str(), NewFileMode);
    if (!file) return nullptr;
    return std::make_unique<StreamFileWriter>(file);
}

std::unique_ptr<HeldFile> HostFiles::Hold(const std::string& path) {
    if (!Exists(path)) return nullptr;
    std::FILE* file = std::fopen(HostPath(path).c_str(), "rb");
    if (!file) return nullptr;
    return std::make_unique<StreamHeldFile>(path, file);
}

}  // namespace kv::platform
