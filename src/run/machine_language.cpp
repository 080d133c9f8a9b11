#include "run/machine_language.h"

#include <charconv>

namespace kv {

namespace {
constexpr int DefaultCountryCode = 49;
constexpr std::size_t SystemLanguageNameCapacity = 50;
}  // namespace

int CountryCode(platform::SystemFacts& system) {
    const auto text = system.UserCountryCode();
    if (!text) return DefaultCountryCode;
    int code = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), code);
    return error == std::errc() && end == text->data() + text->size() ? code : DefaultCountryCode;
}

std::string LanguageName(platform::SystemFacts& system) {
    switch (CountryCode(system)) {
    case 41:
    case 43:
    case 49:
    case 352:
        return "Deutsch";
    default:
        return "English";
    }
}

std::string SystemLanguageName(platform::SystemFacts& system) {
    return system.SystemLanguageName().substr(0, SystemLanguageNameCapacity);
}

}  // namespace kv
