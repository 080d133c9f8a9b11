#include <fstream>

#include "platform/files.h"
#include "platform/portable/host_path.h"

namespace kv::platform {

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

std::unique_ptr<FileWriter> Files::CreateForWriting(const std::string& path) {
    auto writer = std::make_unique<StreamFileWriter>(HostPath(path));
    if (!writer->IsOpen()) return nullptr;
    return writer;
}

}  // namespace kv::platform
