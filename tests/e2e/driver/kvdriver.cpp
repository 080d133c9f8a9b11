// The end-to-end tests' hands and eyes: finds windows of the program under
// test, reads their controls and clicks them. One command per call; answers
// are JSON lines on stdout in the windows' own code page; exit code 0 when
// the command did what it was asked, 1 when not, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "windows_query.h"

namespace {

constexpr UINT kSendTimeoutMs = 2000;

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--name value" and flags ("--gone" → "")
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Texts may come as "hex:" + their code-page bytes, so no command line
// conversion can change them on the way.
std::string Decoded(const std::string& argument) {
    if (argument.rfind("hex:", 0) != 0) return argument;
    std::string bytes;
    for (size_t i = 4; i + 1 < argument.size(); i += 2)
        bytes.push_back(static_cast<char>(HexDigit(argument[i]) * 16 + HexDigit(argument[i + 1])));
    return bytes;
}

Arguments Parse(int argc, char** argv) {
    static const char* const kFlags[] = {"--gone", "--visible"};
    Arguments parsed;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        bool isFlag = false;
        for (const char* flag : kFlags) isFlag = isFlag || word == flag;
        if (isFlag) parsed.options[word] = "";
        else if (word.rfind("--", 0) == 0 && i + 1 < argc) parsed.options[word] = Decoded(argv[++i]);
        else parsed.positional.push_back(Decoded(word));
    }
    return parsed;
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void Print(const WindowInfo& w) {
    std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<uintptr_t>(w.hwnd)) +
                       ",\"parent\":" + std::to_string(reinterpret_cast<uintptr_t>(w.parent)) +
                       ",\"class\":" + Json(w.className) + ",\"text\":" + Json(w.text) +
                       ",\"id\":" + std::to_string(w.id) + ",\"pid\":" + std::to_string(w.pid) +
                       ",\"exe\":" + Json(w.exe) + ",\"visible\":" + (w.visible ? "true" : "false") +
                       ",\"enabled\":" + (w.enabled ? "true" : "false") +
                       ",\"minimized\":" + (w.minimized ? "true" : "false") + "}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

std::string Option(const Arguments& a, const std::string& name) {
    auto found = a.options.find(name);
    return found == a.options.end() ? std::string() : found->second;
}

WindowFilter FilterOf(const Arguments& a) {
    WindowFilter filter;
    filter.className = Option(a, "--class");
    filter.title = Option(a, "--title");
    filter.titlePart = Option(a, "--title-has");
    filter.exe = Option(a, "--exe");
    filter.visibleOnly = a.options.count("--visible") > 0;
    return filter;
}

HWND HandleOf(const Arguments& a, size_t index) {
    if (index >= a.positional.size()) return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(a.positional[index].c_str(), nullptr, 10)));
}

int ListWindows(const Arguments& a) {
    for (const WindowInfo& w : TopLevelWindows(FilterOf(a))) Print(w);
    return 0;
}

// Polls until a matching window is there (or, with --gone, until none is).
int WaitWindow(const Arguments& a) {
    const WindowFilter filter = FilterOf(a);
    const bool gone = a.options.count("--gone") > 0;
    const std::string timeout = Option(a, "--timeout");
    const ULONGLONG deadline = GetTickCount64() + (timeout.empty() ? 10000 : std::strtoull(timeout.c_str(), nullptr, 10));
    for (;;) {
        auto found = TopLevelWindows(filter);
        if (!gone && !found.empty()) {
            Print(found.front());
            return 0;
        }
        if (gone && found.empty()) return 0;
        if (GetTickCount64() >= deadline) return 1;
        Sleep(100);
    }
}

int ListControls(const Arguments& a) {
    HWND parent = HandleOf(a, 0);
    if (!IsWindow(parent)) return 1;
    for (const WindowInfo& w : Descendants(parent)) Print(w);
    return 0;
}

// The control below the window whose caption reads as given; the window itself when no caption is given.
HWND ControlByCaption(const Arguments& a) {
    HWND window = HandleOf(a, 0);
    if (!IsWindow(window)) return nullptr;
    if (a.positional.size() < 2) return window;
    const std::string wanted = WithoutAccessKey(a.positional[1]);
    for (const WindowInfo& w : Descendants(window))
        if (WithoutAccessKey(w.text) == wanted) return w.hwnd;
    return nullptr;
}

// A click may open a modal dialog in the target: the send returns after the
// time-out while the click goes on being handled there.
void Send(HWND hwnd, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(hwnd, message, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

int Click(const Arguments& a) {
    HWND control = ControlByCaption(a);
    if (!control) return 1;
    Send(control, BM_CLICK);
    return 0;
}

int SetChecked(const Arguments& a) {
    HWND box = ControlByCaption(a);
    if (!box) return 1;
    const bool wanted = Option(a, "--state") != "0";
    DWORD_PTR state = 0;
    SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    if ((state == BST_CHECKED) != wanted) Send(box, BM_CLICK);
    return 0;
}

int ReadText(const Arguments& a) {
    HWND window = HandleOf(a, 0);
    if (!IsWindow(window)) return 1;
    const std::string line = "{\"text\":" + Json(TextOf(window)) + "}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return 0;
}

int SetText(const Arguments& a) {
    HWND window = HandleOf(a, 0);
    if (!IsWindow(window) || a.positional.size() < 2) return 1;
    const std::string& text = a.positional[1];
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &ignored);
    return 0;
}

int Close(const Arguments& a) {
    HWND window = HandleOf(a, 0);
    if (!IsWindow(window)) return 1;
    return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

// As the user's click on the minimise button: the program decides what it minimises.
int Minimize(const Arguments& a) {
    HWND window = HandleOf(a, 0);
    if (!IsWindow(window)) return 1;
    return PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
}

// What another program of the user could do to a file: open it for writing,
// delete it, rename it. Exit code 0 when all three are refused.
int Tamper(const Arguments& a) {
    if (a.positional.empty()) return 2;
    const std::string& path = a.positional[0];
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    const bool write = file != INVALID_HANDLE_VALUE;
    if (write) CloseHandle(file);
    const bool erase = DeleteFileA(path.c_str()) != 0;
    const bool rename = MoveFileA(path.c_str(), (path + ".moved").c_str()) != 0;
    const std::string line = std::string("{\"write\":") + (write ? "true" : "false") +
                             ",\"delete\":" + (erase ? "true" : "false") + ",\"rename\":" + (rename ? "true" : "false") +
                             "}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return write || erase || rename ? 1 : 0;
}

// Keeps the file open as another program would (reading and writing shared,
// deleting not) for the time-out, then ends.
int Hold(const Arguments& a) {
    if (a.positional.empty()) return 2;
    HANDLE file = CreateFileA(a.positional[0].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::fputs("{\"held\":true}\n", stdout);
    std::fflush(stdout);
    const std::string timeout = Option(a, "--timeout");
    Sleep(timeout.empty() ? 10000 : std::strtoul(timeout.c_str(), nullptr, 10));
    CloseHandle(file);
    return 0;
}

int Usage() {
    std::fputs(
        "kvdriver windows|wait [--class C] [--title T] [--title-has T] [--exe NAME] [--visible] [--gone] "
        "[--timeout MS]\n"
        "kvdriver controls HWND | text HWND | settext HWND TEXT | click HWND [CAPTION] | "
        "check HWND [CAPTION] [--state 0|1] | close HWND | minimize HWND\n"
        "kvdriver tamper PATH | hold PATH [--timeout MS]\n"
        "Texts may be given as hex:<code-page bytes>.\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    using Command = int (*)(const Arguments&);
    static const std::map<std::string, Command> commands = {
        {"windows", ListWindows}, {"wait", WaitWindow}, {"controls", ListControls}, {"click", Click},
        {"check", SetChecked},    {"text", ReadText},   {"settext", SetText},       {"close", Close},
        {"minimize", Minimize},   {"tamper", Tamper},   {"hold", Hold},
    };
    auto command = commands.find(argv[1]);
    if (command == commands.end()) return Usage();
    const int result = command->second(Parse(argc, argv));
    std::fflush(stdout);
    return result;
}
