#pragma once
#include <string>

namespace kv {

struct UrlParts {
    std::string host;
    std::string path;
};

// Host and path of a download address ("http://host/path" or "host/path").
// Without any "/" the host is empty and the path is the whole text.
UrlParts SplitUrl(const std::string& url);

}  // namespace kv
