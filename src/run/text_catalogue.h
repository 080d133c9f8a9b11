#pragma once
#include <array>
#include <string>
#include <string_view>

#include "run/wizard_state.h"

namespace kv {

// The run-time values that the composed catalogue entries insert.
struct CatalogueFields {
    std::array<std::string_view, 4> newsAfterDe{};  // messages 29-32, German
    std::array<std::string_view, 4> newsAfterEn{};  // messages 29-32, English
    std::string_view installedVersion;             // message 85
    std::string_view appName;                      // message 90
};

// Message `number` in `language` (1 German, 2 English). Any other language and
// any number the catalogue does not define give the empty text.
std::string CatalogueText(int language, int number, const CatalogueFields& fields);

// Message `number` in the run's language, with the run's values inserted.
std::string CatalogueText(const WizardState& state, int number);

}  // namespace kv
