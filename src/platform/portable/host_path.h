#pragma once
#include <string>

namespace kv::platform {

// The behaviour builds Windows paths ("folder\file"); on a POSIX host the
// same path names the file with "/" in place of every "\".
std::string HostPath(const std::string& windowsPath);

}  // namespace kv::platform
