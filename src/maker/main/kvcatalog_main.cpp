#include <iostream>

#include "maker/kvcatalog.h"
#ifdef _WIN32
#include "platform/win32/win_files.h"
#include "platform/win32/win_signatures.h"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef _WIN32
    kv::platform::win32::WinFiles files;
    kv::platform::win32::WinSignatures signatures;
    return kv::maker::RunKvcatalog(arguments, std::cout, std::cerr, {&files, &signatures});
#else
    return kv::maker::RunKvcatalog(arguments, std::cout, std::cerr, {});
#endif
}
