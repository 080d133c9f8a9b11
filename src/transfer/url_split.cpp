#include "transfer/url_split.h"

#include <algorithm>

namespace kv {

UrlParts SplitUrl(const std::string& url) {
    std::string lower = url;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    // The scheme is recognised anywhere but always taken from the front.
    const std::string rest = lower.find("http://") != std::string::npos ? url.substr(std::min<std::size_t>(7, url.size())) : url;
    const std::size_t slash = rest.find('/');
    if (slash == std::string::npos) return {"", rest};
    return {rest.substr(0, slash), rest.substr(slash)};
}

}  // namespace kv
