#pragma once
#include <string>

#include "platform/internet.h"

namespace kv {

struct UrlParts {
    std::string host;
    std::string path;
    int port = platform::DefaultHttpPort;
    bool secure = false;  // TLS with the system's certificate checks
};

// Host and path of a download address ("http://host/path" or "host/path").
// Without any "/" the host is empty and the path is the whole text.
// An address that begins with "https://" is secure, on port 443 unless its
// host names another ("https://host:8443/path").
UrlParts SplitUrl(const std::string& url);

}  // namespace kv
