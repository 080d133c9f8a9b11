#include "fuzz/fuzz_target.h"
#include "transfer/url_split.h"

// Input: a download address as the component gets it.
KV_FUZZ_TARGET(url_split) {
    const std::string url = kv::fuzz::Text(data, size);
    const kv::UrlParts parts = kv::SplitUrl(url);

    std::string lower = url;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    const std::string rest = lower.find("http://") != std::string::npos ? url.substr(7) : url;
    kv::fuzz::Check(parts.host.find('/') == std::string::npos, "a slash inside the host");
    kv::fuzz::Check(parts.host + parts.path == rest, "host and path do not make up the address");
    if (rest.find('/') == std::string::npos)
        kv::fuzz::Check(parts.host.empty(), "a host from an address without a slash");
    else
        kv::fuzz::Check(parts.path.front() == '/', "a path that does not begin with the slash");
}
