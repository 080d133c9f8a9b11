// Stands in for the update installer that the wizard downloads and starts:
// the benchmark pads it to the download size, and it ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
