// The yardstick of the start-up figure: the least a Win32 program does to show
// one empty top-level window. Its arguments name system libraries to load
// first, for the yardstick of a window that carries the wizard's libraries.
#include <windows.h>

#include <sstream>
#include <string>

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
    std::istringstream libraries(arguments);
    for (std::string name; libraries >> name;) LoadLibraryA(name.c_str());
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "KVBenchMinimal";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "KVBench Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 598, 432, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
