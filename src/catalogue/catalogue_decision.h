#pragma once
#include <functional>
#include <string>

#include "run/wizard_state.h"

namespace kv {

enum class CatalogueOutcome { EndOfUpdates, Outdated, SpecialUpdate, Offer, NoUpdate };

// One value of the product's catalogue section: the key and the value to
// give when the key is missing.
using CatalogueKeyReader = std::function<std::string(const std::string& key, const std::string& defaultValue)>;

// Everything the catalogue decides, without touching a window: reads the
// product's section through `read` into the catalogue results of `state`,
// chooses the outcome from them and the installed state, and applies the
// outcome's effect on the state (close reason, special-update edition and
// news lines, SINU switched off at the end of updates).
CatalogueOutcome DecideCatalogue(const CatalogueKeyReader& read, WizardState& state);

// The installer the wizard asks the update server for: product key, edition
// letters and ".exe".
std::string InstallerFileName(const WizardState& state);

// The download starts only when the catalogue's ufn names that installer,
// letter case aside; otherwise the user sees the version-mismatch box.
bool UpdateFileMatchesInstaller(const WizardState& state);

}  // namespace kv
