#include "platform/win32/win_files.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace kv::platform::win32 {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : handle_(h) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool WriteWhole(HANDLE file, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

class HandleFileWriter : public FileWriter {
public:
    explicit HandleFileWriter(HANDLE h) : file_(h) {}
    bool Write(const char* data, std::size_t size) override {
        ok_ = ok_ && file_.valid() && WriteWhole(file_.get(), data, size);
        return ok_;
    }
    bool Close() override { return file_.Close() && ok_; }

private:
    FileHandle file_;
    bool ok_ = true;
};

class WinHeldFile : public HeldFile {
public:
    WinHeldFile(std::string path, HANDLE h) : path_(std::move(path)), file_(h) {}
    const std::string& Path() const override { return path_; }
    std::intptr_t NativeHandle() const override { return reinterpret_cast<std::intptr_t>(file_.get()); }
    bool Discard() override {
        file_.Close();
        return DeleteFileA(path_.c_str()) != 0;
    }

private:
    std::string path_;
    FileHandle file_;
};

}  // namespace

bool WinFiles::Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFiles::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool WinFiles::Copy(const std::string& from, const std::string& to, bool overwrite) {
    return CopyFileA(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE) != 0;
}

// Written beside the target and then put in its place: a full disk or a
// crash leaves the old file whole instead of a cut one.
bool WinFiles::WriteAll(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".kvtmp";
    bool ok;
    {
        FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        ok = WriteWhole(file.get(), bytes.data(), bytes.size()) && FlushFileBuffers(file.get());
    }
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}

std::optional<std::string> WinFiles::ReadAll(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(chunk, got);
    }
}

// CREATE_NEW after the delete: should another process put a file there in
// between, the create fails rather than writing into that file.
std::unique_ptr<FileWriter> WinFiles::CreateForWriting(const std::string& path) {
    if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleFileWriter>(file);
}

// Read access with read sharing only: the program loader can still open the
// file to start it, but no one can write, delete or rename it; and a file
// open elsewhere for any of that cannot be held at all.
std::unique_ptr<HeldFile> WinFiles::Hold(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinHeldFile>(path, file);
}

}  // namespace kv::platform::win32
