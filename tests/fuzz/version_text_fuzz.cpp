#include <string>

#include "inventory/version_text.h"
#include "fuzz/fuzz_target.h"

KV_FUZZ_TARGET(version_text) {
    const std::string text = kv::fuzz::Text(data, size);
    const auto n = kv::VersionNumber(text);
    kv::fuzz::Check(n >= -1, "a version number below -1");
    kv::fuzz::Check((n == -1) == text.empty(), "-1 only for the empty text");
    const std::string shown = kv::FormatDisplayDate(text);
    kv::fuzz::Check(shown.size() <= 12, "a display date longer than DD.MM.YYYY");
    kv::fuzz::Check(shown.size() >= 2, "a display date without its points");
}
