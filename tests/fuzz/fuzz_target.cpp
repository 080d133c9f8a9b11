#include "fuzz/fuzz_target.h"

#include <cstdio>
#include <cstdlib>

namespace kv::fuzz {

std::vector<Target>& Targets() {
    static std::vector<Target> targets;
    return targets;
}

void Fail(const char* what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

}  // namespace kv::fuzz
