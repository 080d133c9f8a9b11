// Measures a Win32 program from outside, in the same Wine: how long it takes
// to show its window, how often it updates its controls, how quickly it
// answers while it works. Prints key=value lines for scripts/bench.sh.
//
//   bench_probe startup RUNS EXE [ARGS...]   start to visible window, RUNS times
//   bench_probe wizard MARKDIR [--repaints] EXE [ARGS...]
//                                            the wizard: welcome, next, offer, install
//   bench_probe window MARKDIR EXE [ARGS...]  a window once shown (mark "window")
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double NowMillis() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

std::string CommandLine(int argc, char** argv, int first) {
    std::string line;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!line.empty()) line += ' ';
        line += arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
    }
    return line;
}

// Waits up to millis while serving this thread's messages.
void Pump(DWORD millis) {
    const double until = NowMillis() + millis;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        const double left = until - NowMillis();
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

class Child {
public:
    explicit Child(const std::string& commandLine) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string line = commandLine;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~Child() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 10000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return pi_.dwProcessId; }
    bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    // Exit code, or -1 when it did not end in time.
    long WaitExit(DWORD millis) {
        if (WaitForSingleObject(pi_.hProcess, millis) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

struct WindowSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK MatchVisibleTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND VisibleWindowOf(DWORD process) {
    WindowSearch search{process};
    EnumWindows(MatchVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls every millisecond; nullptr when the deadline passes or the child ends.
HWND WaitVisible(const Child& child, double deadlineMillis) {
    const double until = NowMillis() + deadlineMillis;
    while (NowMillis() < until && child.Running()) {
        if (HWND window = VisibleWindowOf(child.Id())) return window;
        Sleep(1);
    }
    return nullptr;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a window of another process, read through its own thread; the
// round trip is what the caller times.
bool TextOf(HWND window, std::string& text, DWORD timeoutMillis = 1000) {
    char buffer[512] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                             timeoutMillis, &length))
        return false;
    text.assign(buffer, std::min<std::size_t>(length, sizeof buffer));
    return true;
}

struct ChildSearch {
    std::vector<std::string> captions;
    std::string containing;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    const std::string caption = text;
    const bool exact = std::find(search->captions.begin(), search->captions.end(), caption) != search->captions.end();
    const bool contains = !search->containing.empty() && caption.find(search->containing) != std::string::npos;
    if (!exact && !contains) return TRUE;
    search->found = window;
    return FALSE;
}

HWND ChildWithCaption(HWND parent, std::vector<std::string> captions) {
    ChildSearch search{std::move(captions), {}};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildContaining(HWND parent, const std::string& part) {
    ChildSearch search{{}, part};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

int Startup(int argc, char** argv) {
    const int runs = std::max(1, std::atoi(argv[2]));
    const std::string command = CommandLine(argc, argv, 3);
    std::vector<double> times;
    // The first start also warms the file cache: not counted.
    for (int run = 0; run <= runs; ++run) {
        const double start = NowMillis();
        Child child(command);
        if (!child.Started()) return std::printf("error=cannot start\n"), 1;
        if (WaitVisible(child, 30000) == nullptr) return std::printf("error=no visible window\n"), 1;
        if (run > 0) times.push_back(NowMillis() - start);
    }
    std::printf("startup_median_ms=%.1f\nstartup_min_ms=%.1f\nstartup_runs=", Median(times),
                *std::min_element(times.begin(), times.end()));
    for (double t : times) std::printf("%.1f ", t);
    std::printf("\n");
    return 0;
}

void Mark(const std::string& folder, const std::string& name) {
    const std::string path = folder + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
    // The script answers once it has read what it measures at this point.
    const std::string ack = path + ".ack";
    for (int i = 0; i < 1500 && GetFileAttributesA(ack.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Pump(10);
}

// The wizard makes a control's window only when the control is first shown,
// so the button is looked for until it is there and enabled.
HWND WaitEnabled(HWND parent, const std::vector<std::string>& captions, const Child& child, double deadlineMillis) {
    const double until = NowMillis() + deadlineMillis;
    while (NowMillis() < until && child.Running()) {
        // The view gives a control its window, caption and state one after the
        // other: only a visible button is one the user could press.
        HWND button = ChildWithCaption(parent, captions);
        if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) return button;
        Sleep(1);
    }
    return nullptr;
}

// "N Bytes von M Bytes geladen" (or the English form): the progress text.
bool ProgressText(const std::string& text, long& readed, long& total) {
    char word[8] = {};
    return std::sscanf(text.c_str(), "%ld Bytes %7s %ld Bytes", &readed, word, &total) == 3;
}

// How often a value that a control shows changed, and over how long.
struct ChangeCount {
    long changes = 0;
    double first = 0, last = 0;
    void Saw(double at) {
        if (changes++ == 0) first = at;
        last = at;
    }
    double PerSecond() const { return last > first ? (changes - 1) * 1000.0 / (last - first) : 0.0; }
};

// Reads the progress label (and with repaints the bar) while the body
// arrives, until the label shows the whole size or something else. Each read
// is a message round trip through the wizard's GUI thread: the slowest one
// says how long a click would wait. Polling every 4 ms sees every repaint of
// a view that shows at most 60 a second.
void WatchDownload(HWND wizard, const Child& child, bool repaints, const std::string& before) {
    HWND bar = FindWindowExA(wizard, nullptr, "msctls_progress32", nullptr);
    HWND label = nullptr;
    bool started = false;
    double worst = 0, sum = 0;
    long samples = 0;
    ChangeCount labelChanges, barChanges;
    std::string shown;
    LRESULT shownPosition = -1;
    const double until = NowMillis() + 600000;
    while (NowMillis() < until && child.Running()) {
        if (label == nullptr) label = ChildContaining(wizard, " Bytes ");
        std::string text;
        const double start = NowMillis();
        if (label == nullptr || !TextOf(label, text, 5000)) {
            if (label != nullptr) break;
            Sleep(2);
            continue;
        }
        const double took = NowMillis() - start;
        long readed = 0, total = 0;
        const bool progress = ProgressText(text, readed, total);
        // The label still shows the catalogue's transfer, or the wait text.
        if (!started && (!progress || text == before)) {
            Sleep(2);
            continue;
        }
        started = true;
        // A read answered after the download ended may have waited for the
        // fixed pause that follows it: not counted.
        if (!progress) {
            std::printf("label_after=%s\n", text.c_str());
            break;
        }
        worst = std::max(worst, took);
        sum += took;
        ++samples;
        if (text != shown) labelChanges.Saw(start);
        shown = text;
        DWORD_PTR position = 0;
        if (repaints && SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &position)) {
            if (static_cast<LRESULT>(position) != shownPosition) barChanges.Saw(start);
            shownPosition = static_cast<LRESULT>(position);
        }
        if (readed == total) break;
        Sleep(repaints ? 4 : 50);
    }
    std::printf("answer_max_ms=%.1f\nanswer_mean_ms=%.2f\nanswer_samples=%ld\n", worst,
                samples ? sum / samples : 0.0, samples);
    if (repaints)
        std::printf("label_changes=%ld\nlabel_rate=%.1f\nbar_changes=%ld\nbar_rate=%.1f\n", labelChanges.changes,
                    labelChanges.PerSecond(), barChanges.changes, barChanges.PerSecond());
}

BOOL CALLBACK DescribeChild(HWND window, LPARAM) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    std::printf("child=%s \"%s\"%s\n", ClassOf(window).c_str(), text, IsWindowVisible(window) ? " visible" : "");
    return TRUE;
}

// What the probe found instead of what it looked for.
void DescribeWindow(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    std::printf("window=%s \"%s\"\n", ClassOf(window).c_str(), title);
    EnumChildWindows(window, DescribeChild, 0);
}

int Wizard(int argc, char** argv) {
    const std::string marks = argv[2];
    const bool repaints = std::string(argv[3]) == "--repaints";
    const double start = NowMillis();
    Child child(CommandLine(argc, argv, repaints ? 4 : 3));
    if (!child.Started()) return std::printf("error=cannot start\n"), 1;
    HWND wizard = WaitVisible(child, 60000);
    if (wizard == nullptr) return std::printf("error=no visible window\n"), 1;
    std::printf("visible_ms=%.1f\n", NowMillis() - start);
    std::fflush(stdout);

    HWND next = nullptr;
    for (int i = 0; i < 500 && next == nullptr; ++i, Pump(10)) next = ChildWithCaption(wizard, {"&Weiter", "&Next"});
    if (next == nullptr) {
        DescribeWindow(wizard);
        return std::printf("error=no next button\n"), 1;
    }
    Pump(300);  // let the first paint settle before the working set is read
    Mark(marks, "welcome");

    const double clicked = NowMillis();
    PostMessageA(next, BM_CLICK, 0, 0);
    HWND install = WaitEnabled(wizard, {"&Update laden", "&Install"}, child, 60000);
    if (install == nullptr) {
        DescribeWindow(wizard);
        return std::printf("error=no offer\n"), 1;
    }
    std::printf("offer_ms=%.1f\n", NowMillis() - clicked);
    std::fflush(stdout);
    Mark(marks, "offer");

    std::string before;
    if (HWND label = ChildContaining(wizard, " Bytes ")) TextOf(label, before);
    PostMessageA(install, BM_CLICK, 0, 0);
    WatchDownload(wizard, child, repaints, before);
    Mark(marks, "downloaded");
    std::printf("exit_code=%ld\n", child.WaitExit(60000));
    return 0;
}

// A program's window as it stands once shown: the script reads its working
// set at the mark "window".
int Window(int argc, char** argv) {
    Child child(CommandLine(argc, argv, 3));
    if (!child.Started()) return std::printf("error=cannot start\n"), 1;
    if (WaitVisible(child, 60000) == nullptr) return std::printf("error=no visible window\n"), 1;
    Pump(300);  // as at the wizard's welcome mark: the first paint settles
    Mark(argv[2], "window");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "startup" && argc > 3) return Startup(argc, argv);
    if (command == "wizard" && argc > 4) return Wizard(argc, argv);
    if (command == "window" && argc > 3) return Window(argc, argv);
    std::fprintf(stderr, "usage: bench_probe startup RUNS EXE [ARGS...] | "
                         "wizard MARKDIR [--repaints] EXE [ARGS...] | window MARKDIR EXE [ARGS...]\n");
    return 2;
}
