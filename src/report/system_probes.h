#pragma once
#include <string>

#include "platform/registry.h"
#include "platform/system_facts.h"

// Facts about the machine for the outcome report. None of them raises: every
// failure gives its fixed fallback.
namespace kv {

// The operating system's name, such as "Windows 7"; "Unbekannt" when it cannot be told.
std::string OsDisplayName(platform::Registry& registry, platform::SystemFacts& system);

// The path of a shell folder (at most 260 characters), or "".
std::string SpecialFolderPath(platform::SystemFacts& system, int csidl);

// The hardware address of the first network adapter that has one, as
// "XX-XX-XX-XX-XX-XX", or "".
std::string AdapterAddress(platform::SystemFacts& system);

}  // namespace kv
