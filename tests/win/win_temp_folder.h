#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// A fresh folder below the Windows temp folder, removed with its files and
// empty folders.
class WinTempFolder {
public:
    WinTempFolder() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        path_ = std::string(base) + "kvwin" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~WinTempFolder() {
        for (const std::string& name : Names())
            if (!DeleteFileA(File(name).c_str())) RemoveDirectoryA(File(name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    WinTempFolder(const WinTempFolder&) = delete;
    WinTempFolder& operator=(const WinTempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // What the folder holds, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA(File("*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};
