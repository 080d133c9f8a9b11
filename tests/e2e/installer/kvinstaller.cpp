// Stand-in for the update installer in the end-to-end tests: records how it
// was started and the hand-over file it found beside itself, then exits.
//
// The record "kvinstaller-run.txt" lies next to the program file:
//   command-line=<the command line as the process received it>
//   working-folder=<its current folder>
//   program=<the full path of this program file>
//   handover=present|missing
//   followed by the bytes of "KVInn000.lst" when present.
// It is written to a temporary name and renamed, so a test that polls for it
// never reads half a record.
#include <windows.h>

#include <string>

namespace {

std::string ProgramPath() {
    char buffer[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length);
}

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string CurrentFolder() {
    char buffer[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string program = ProgramPath();
    const std::string folder = FolderOf(program);

    std::string record = "command-line=" + std::string(GetCommandLineA()) + "\r\n";
    record += "working-folder=" + CurrentFolder() + "\r\n";
    record += "program=" + program + "\r\n";
    std::string handover;
    const bool present = ReadFileBytes(folder + "\\KVInn000.lst", handover);
    record += present ? "handover=present\r\n" + handover : "handover=missing\r\n";

    const std::string target = folder + "\\kvinstaller-run.txt";
    const std::string temporary = target + ".tmp";
    if (!WriteFileBytes(temporary, record)) return 2;
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
