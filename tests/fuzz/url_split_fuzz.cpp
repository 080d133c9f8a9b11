#include "fuzz/fuzz_target.h"
#include "network/url_split.h"

// Input: a download address as the component gets it.
KV_FUZZ_TARGET(url_split) {
    const std::string url = kv::fuzz::Text(data, size);
    const kv::UrlParts parts = kv::SplitUrl(url);

    std::string lower = url;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    const bool secure = lower.rfind("https://", 0) == 0;
    const std::string rest = secure ? url.substr(8) : lower.find("http://") != std::string::npos ? url.substr(7) : url;
    kv::fuzz::Check(parts.secure == secure, "secure without https:// or https:// without secure");
    kv::fuzz::Check(parts.host.find('/') == std::string::npos, "a slash inside the host");
    kv::fuzz::Check(parts.host.size() + parts.path.size() <= rest.size() && rest.rfind(parts.host, 0) == 0 &&
                        rest.compare(rest.size() - parts.path.size(), parts.path.size(), parts.path) == 0,
                    "host and path do not make up the address");
    // Between host and path only the port that a secure address names.
    const std::string between = rest.substr(parts.host.size(), rest.size() - parts.host.size() - parts.path.size());
    if (between.empty()) {
        kv::fuzz::Check(parts.port == (secure ? 443 : 80), "another port than the scheme's");
    } else {
        const std::string digits = between.substr(1);
        kv::fuzz::Check(secure && between[0] == ':' && !digits.empty() && digits.size() <= 5 &&
                            digits.find_first_not_of("0123456789") == std::string::npos &&
                            std::stoi(digits) == parts.port && parts.port >= 1 && parts.port <= 65535,
                        "host, port and path do not make up the address");
    }
    if (rest.find('/') == std::string::npos)
        kv::fuzz::Check(parts.host.empty(), "a host from an address without a slash");
    else
        kv::fuzz::Check(parts.path.front() == '/', "a path that does not begin with the slash");
}
