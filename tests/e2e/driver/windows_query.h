#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the end-to-end driver knows of a window, and how it picks windows.
struct WindowInfo {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::string className;
    std::string text;
    int id = 0;
    DWORD pid = 0;
    std::string exe;  // file name of the owning process's program
    bool visible = false;
    bool enabled = false;
    bool minimized = false;
};

struct WindowFilter {
    std::string className;   // exact, empty: any
    std::string title;       // exact, empty: any
    std::string titlePart;   // contained, empty: any
    std::string exe;         // program file name without regard to case, empty: any
    bool visibleOnly = false;
    bool Matches(const WindowInfo& window) const;
};

WindowInfo Describe(HWND hwnd);
std::vector<WindowInfo> TopLevelWindows(const WindowFilter& filter);
std::vector<WindowInfo> Descendants(HWND parent);
// WM_GETTEXT across processes, with a time-out so a hung target cannot hang the driver.
std::string TextOf(HWND hwnd);
// A caption as the user reads it: "&" marks the access key and is not shown ("&&" shows one "&").
std::string WithoutAccessKey(const std::string& caption);
