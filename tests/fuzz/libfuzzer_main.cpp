// The libFuzzer entry of one target binary: the build names the target.
#include <cstring>

#include "fuzz/fuzz_target.h"

#ifndef KV_FUZZ_TARGET_NAME
#error "KV_FUZZ_TARGET_NAME names the target this binary fuzzes"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kv::fuzz::TargetFn fn = [] {
        for (const auto& t : kv::fuzz::Targets())
            if (std::strcmp(t.name, KV_FUZZ_TARGET_NAME) == 0) return t.fn;
        kv::fuzz::Fail("unknown target");
    }();
    fn(data, size);
    return 0;
}
