#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One fuzz target per parser. The same bodies run under libFuzzer (`make fuzz`)
// and, replaying the kept corpora and crashers, inside the unit tests.
namespace kv::fuzz {

using TargetFn = void (*)(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;
    TargetFn fn;
};

std::vector<Target>& Targets();

struct Registrar {
    Registrar(const char* name, TargetFn fn) { Targets().push_back({name, fn}); }
};

// Aborts with a message: a broken invariant is a finding like a crash.
[[noreturn]] void Fail(const char* what);
inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

inline std::string Text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace kv::fuzz

#define KV_FUZZ_TARGET(name)                                                   \
    static void name##_fuzz(const std::uint8_t* data, std::size_t size);       \
    static const ::kv::fuzz::Registrar name##_registrar{#name, name##_fuzz};   \
    static void name##_fuzz(const std::uint8_t* data, std::size_t size)
