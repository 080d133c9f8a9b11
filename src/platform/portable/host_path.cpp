#include "platform/portable/host_path.h"

namespace kv::platform {

std::string HostPath(const std::string& windowsPath) {
#ifdef _WIN32
    return windowsPath;
#else
    std::string p = windowsPath;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
#endif
}

}  // namespace kv::platform
