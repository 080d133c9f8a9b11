// The download loop of the wizard's transfer component without the program
// around it: the same WinINet calls and 1025-byte reads, optionally with every
// chunk handed synchronously to a GUI thread and shown in a label and a bar.
//
//   wininet_loop.exe HOST PATH OUTFILE [--handover=KIND] [--view=none|window|every|throttled]
//
// Prints one line: seconds, bytes, chunks, control updates.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "handover.h"

namespace {

constexpr DWORD kChunk = 1025;
constexpr ULONGLONG kThrottleMillis = 20;

using Progress = std::function<void(long total, long readed)>;

struct Outcome {
    long total = 0;
    long readed = 0;
    long chunks = 0;
};

Outcome Download(const std::string& host, const std::string& path, const std::string& outFile,
                 const Progress& progress) {
    Outcome out;
    HINTERNET root = InternetOpenA("HTTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(root, host.c_str(), INTERNET_DEFAULT_HTTP_PORT, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    const char* accept[] = {"*/*", nullptr};
    HINTERNET request = HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.0", nullptr, accept,
                                         INTERNET_FLAG_RELOAD, 0);
    HttpSendRequestA(request, nullptr, 0, nullptr, 0);
    char lengthText[1024] = {};
    DWORD lengthSize = sizeof lengthText;
    DWORD index = 0;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, &index))
        out.total = std::strtol(lengthText, nullptr, 10);
    HANDLE file = CreateFileA(outFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[kChunk];
    DWORD got = 0;
    while (InternetReadFile(request, buffer, kChunk, &got) && got > 0) {
        DWORD written = 0;
        WriteFile(file, buffer, got, &written, nullptr);
        out.readed += static_cast<long>(got);
        ++out.chunks;
        if (progress) progress(out.total, out.readed);
    }
    CloseHandle(file);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(root);
    return out;
}

enum class ViewMode { None, Window, Every, Throttled };

// A window with the wizard's two progress controls: the status label and the
// bar. "window" shows it and leaves it alone: what a visible window costs.
class ProgressView {
public:
    explicit ProgressView(ViewMode mode) : mode_(mode) {
        if (mode_ == ViewMode::None) return;
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "KVBenchProgress";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "KVBench Progress", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600,
                                  160, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        label_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 16, 16, 440, 20, window_,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 46, 566, 20, window_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~ProgressView() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    ProgressView(const ProgressView&) = delete;
    ProgressView& operator=(const ProgressView&) = delete;

    // What the wizard's progress handler does to its controls, then the view.
    void Progress(long total, long readed, bool last) {
        total_ = total;
        readed_ = readed;
        if (mode_ == ViewMode::None || mode_ == ViewMode::Window) return;
        const ULONGLONG now = GetTickCount64();
        if (mode_ == ViewMode::Throttled && !last && now - shownAt_ < kThrottleMillis) return;
        shownAt_ = now;
        Show();
    }
    long Updates() const { return updates_; }

private:
    void Show() {
        char text[96];
        std::snprintf(text, sizeof text, "%ld Bytes von %ld Bytes geladen", readed_, total_);
        SetWindowTextA(label_, text);
        if (total_ != shownMaximum_) {
            SendMessageA(bar_, PBM_SETRANGE32, 0, total_);
            shownMaximum_ = total_;
        }
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(readed_), 0);
        ++updates_;
    }

    ViewMode mode_;
    HWND window_ = nullptr, label_ = nullptr, bar_ = nullptr;
    long total_ = 0, readed_ = 0, shownMaximum_ = -1, updates_ = 0;
    ULONGLONG shownAt_ = 0;
};

bool ParseView(const std::string& text, ViewMode& mode) {
    if (text == "none") mode = ViewMode::None;
    else if (text == "window") mode = ViewMode::Window;
    else if (text == "every") mode = ViewMode::Every;
    else if (text == "throttled") mode = ViewMode::Throttled;
    else return false;
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: wininet_loop HOST PATH OUTFILE [--handover=KIND] [--view=none|window|every|throttled]\n"
                         "kinds: %s\n", kvbench::HandoverKindNames().c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    const kvbench::HandoverKind* kind = nullptr;
    ViewMode viewMode = ViewMode::None;
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--handover=", 0) == 0) {
            kind = kvbench::FindHandoverKind(arg.substr(11));
            if (kind == nullptr) return Usage();
        } else if (arg.rfind("--view=", 0) != 0 || !ParseView(arg.substr(7), viewMode)) {
            return Usage();
        }
    }
    if (kind == nullptr && viewMode != ViewMode::None) return Usage();

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Outcome outcome;
    long updates = 0;
    if (kind == nullptr) {
        outcome = Download(argv[1], argv[2], argv[3], nullptr);
    } else {
        ProgressView view(viewMode);
        kvbench::Handover handover(*kind);
        std::thread worker([&] {
            outcome = Download(argv[1], argv[2], argv[3], [&](long total, long readed) {
                handover.Send([&view, total, readed] { view.Progress(total, readed, false); });
            });
            handover.Send([&view, &outcome] { view.Progress(outcome.total, outcome.readed, true); });
            handover.Finish();
        });
        handover.RunLoop();
        worker.join();
        updates = view.Updates();
    }
    QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("seconds=%.3f bytes=%ld chunks=%ld updates=%ld\n", seconds, outcome.readed, outcome.chunks, updates);
    return outcome.readed == outcome.total && outcome.total > 0 ? 0 : 1;
}
