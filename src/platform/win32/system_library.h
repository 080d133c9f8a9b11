#pragma once
#include <windows.h>

namespace kv::platform::win32 {

// Libraries come from the system folder only: a DLL of a system library's
// name beside the program (a folder users may write to where a product keeps
// its data there) or in the current folder must never be loaded instead.
// Called first thing at start-up; it covers the loads the system makes on the
// program's behalf as well.
void RestrictLibrarySearchToSystemFolder();

// A system library, from the system folder. Systems without the search flags
// (Windows 7 without its loader update) get the full path instead.
HMODULE LoadSystemLibrary(const char* name);

// A function of a loaded library; nullptr when it lacks the function.
template <typename Fn>
Fn FunctionOf(HMODULE module, const char* function) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, function)));
}

// A function of a system library that is loaded at the first use of the
// function rather than at the start of the program: the welcome page needs
// neither the HTTP client nor the trust functions, and every library costs
// start-up time (under Wine a lot). nullptr when the library or the function
// is missing. Keep the result in a function-local static: the library then
// stays loaded, and threads may ask at once.
template <typename Fn>
Fn LibraryFunction(const char* library, const char* function) {
    return FunctionOf<Fn>(LoadSystemLibrary(library), function);
}

}  // namespace kv::platform::win32

// A member named and typed as the system function, loaded by its name: a
// struct of them, kept in a function-local static, is the library's table.
#define KV_LIBRARY_FUNCTION(library, function) \
    decltype(&::function) function =           \
        ::kv::platform::win32::LibraryFunction<decltype(&::function)>(library, #function)
