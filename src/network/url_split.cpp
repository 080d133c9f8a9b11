#include "network/url_split.h"
#include "platform/portable/text.h"

#include <algorithm>

namespace kv {

namespace {

constexpr std::size_t MaxPortDigits = 5;
constexpr int HighestPort = 65535;

// A port that is no number of 1 to 65535 stays part of the host, which then
// cannot be reached, like any unknown host.
void TakePort(UrlParts& parts) {
    const std::size_t colon = parts.host.rfind(':');
    if (colon == std::string::npos) return;
    const std::string digits = parts.host.substr(colon + 1);
    if (digits.empty() || digits.size() > MaxPortDigits ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    const int port = std::stoi(digits);
    if (port < 1 || port > HighestPort) return;
    parts.port = port;
    parts.host.erase(colon);
}

}  // namespace

UrlParts SplitUrl(const std::string& url) {
    const std::string lower = text::LowerAscii(url);
    const bool secure = lower.rfind("https://", 0) == 0;
    // The plain scheme is recognised anywhere but always taken from the front.
    const std::size_t scheme = secure ? 8 : lower.find("http://") != std::string::npos ? 7 : 0;
    const std::string rest = url.substr(std::min(scheme, url.size()));
    const std::size_t slash = rest.find('/');
    UrlParts parts;
    if (slash == std::string::npos) parts.path = rest;
    else parts = {rest.substr(0, slash), rest.substr(slash)};
    if (secure) {
        parts.secure = true;
        parts.port = platform::DefaultHttpsPort;
        TakePort(parts);
    }
    return parts;
}

}  // namespace kv
