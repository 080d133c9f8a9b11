// Times the program's own signature check of one file, as the wizard runs it
// on a downloaded installer, inside the process so Wine's start-up is not
// counted.
//
//   signature_check.exe FILE SIGNER_CN   prints: verdict=ok|<reason> seconds=<s>
#include <chrono>
#include <cstdio>

#include "platform/win32/win_files.h"
#include "platform/win32/win_signatures.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: signature_check FILE SIGNER_CN\n");
        return 2;
    }
    kv::platform::win32::WinSignatures signatures;
    const auto began = std::chrono::steady_clock::now();
    const auto held = kv::platform::win32::WinFiles().Hold(argv[1]);
    const kv::platform::SignatureVerdict verdict =
        held ? signatures.Verify(*held, {argv[2], {}}) : kv::platform::SignatureVerdict{false, "file not readable"};
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::printf("verdict=%s seconds=%.3f\n", verdict.ok ? "ok" : verdict.reason.c_str(), took.count());
    return verdict.ok ? 0 : 1;
}
