#pragma once
#include <string>

#include "platform/system_facts.h"

namespace kv {

// The user's country code as the system gives it; 49 when it gives none or
// no number.
int CountryCode(platform::SystemFacts& system);

// "Deutsch" in the German-speaking countries, "English" everywhere else: the
// wizard's language follows it.
std::string LanguageName(platform::SystemFacts& system);

// The system's language name, cut to the room the report gives it.
std::string SystemLanguageName(platform::SystemFacts& system);

}  // namespace kv
