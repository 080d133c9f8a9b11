#include "run/parameters.h"
#include "fuzz/fuzz_target.h"

KV_FUZZ_TARGET(parameters) {
    const std::string text = kv::fuzz::Text(data, size);
    const std::string light = kv::TrimParameter(text);
    const std::string strict = kv::CleanParameter(text);
    kv::fuzz::Check(light.size() <= text.size(), "the light rule grew the text");
    kv::fuzz::Check(strict.size() <= light.size(), "the strict rule kept more than the light one");
    for (char c : strict) kv::fuzz::Check(static_cast<unsigned char>(c) > 32, "a control character survived");
    kv::fuzz::Check(kv::CleanParameter(strict).size() <= strict.size(), "cleaning twice grew the text");
}
