#include <stdexcept>

#include "fakes/fake_registry.h"
#include "fuzz/fuzz_target.h"

// The .reg reader of the tests: bad text is rejected by an exception, never
// by a crash.
KV_FUZZ_TARGET(reg_reader) {
    kv::test::FakeRegistry registry;
    try {
        registry.Import(kv::fuzz::Text(data, size));
    } catch (const std::invalid_argument&) {
    } catch (const std::out_of_range&) {
    }
}
