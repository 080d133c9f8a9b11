#include "windows_query.h"

#include <algorithm>

namespace {

constexpr UINT kSendTimeoutMs = 2000;

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string ProgramOf(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    std::string exe;
    if (QueryFullProcessImageNameA(process, 0, path, &size)) {
        exe.assign(path, size);
        const size_t slash = exe.find_last_of("\\/");
        if (slash != std::string::npos) exe.erase(0, slash + 1);
    }
    CloseHandle(process);
    return exe;
}

bool SameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && _stricmp(a.c_str(), b.c_str()) == 0;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

bool WindowFilter::Matches(const WindowInfo& window) const {
    if (!className.empty() && window.className != className) return false;
    if (!title.empty() && window.text != title) return false;
    if (!titlePart.empty() && window.text.find(titlePart) == std::string::npos) return false;
    if (!exe.empty() && !SameNoCase(window.exe, exe)) return false;
    return !visibleOnly || window.visible;
}

std::string TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &got))
        return {};
    text.resize(std::min<size_t>(got, length));
    return text;
}

std::string WithoutAccessKey(const std::string& caption) {
    std::string plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        plain.push_back(caption[i]);
    }
    return plain;
}

WindowInfo Describe(HWND hwnd) {
    WindowInfo info;
    info.hwnd = hwnd;
    info.parent = GetParent(hwnd);
    info.className = ClassOf(hwnd);
    info.text = TextOf(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    GetWindowThreadProcessId(hwnd, &info.pid);
    info.exe = ProgramOf(info.pid);
    info.visible = IsWindowVisible(hwnd) != 0;
    info.enabled = IsWindowEnabled(hwnd) != 0;
    info.minimized = IsIconic(hwnd) != 0;
    return info;
}

std::vector<WindowInfo> TopLevelWindows(const WindowFilter& filter) {
    std::vector<HWND> handles;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> found;
    for (HWND hwnd : handles) {
        WindowInfo info = Describe(hwnd);
        if (filter.Matches(info)) found.push_back(std::move(info));
    }
    return found;
}

std::vector<WindowInfo> Descendants(HWND parent) {
    std::vector<HWND> handles;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> found;
    for (HWND hwnd : handles) found.push_back(Describe(hwnd));
    return found;
}
