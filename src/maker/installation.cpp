#include "maker/installation.h"

#include <algorithm>

#include "run/parameters.h"
#include "inventory/version_text.h"
#include "inventory/kept_state.h"

namespace kv::maker {

namespace {

constexpr const char* PlaceholderFolderBase = "C:\\Program Files (x86)\\Karvell\\";
// With only an id given, the installation is one of the court-register family.
constexpr const char* CourtRegisterList = "qoonline.lst";

std::string FileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ListFileName(const Installation& installation) {
    if (!installation.listFile.empty()) return FileNameOf(installation.listFile);
    return installation.qoId.empty() ? "" : CourtRegisterList;
}

void ReadList(const Installation& installation, WizardState& state) {
    platform::IniFileProfile profile;
    if (!ReadKeptState(profile, installation.listFile, state))
        throw UsageError("the list file " + installation.listFile +
                         " names no program section (key name of section PName), or cannot be read");
}

}  // namespace

std::string ProductFolder(const Installation& installation) {
    return ProductFolderIsPlaceholder(installation) ? PlaceholderFolderBase + installation.product
                                                    : installation.productFolder;
}

bool ProductFolderIsPlaceholder(const Installation& installation) { return installation.productFolder.empty(); }

bool IsVersionText(const std::string& text) {
    const bool anyDigit = std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool onlyZeros = std::all_of(text.begin(), text.end(), [](char c) { return c < '1' || c > '9'; });
    return anyDigit && (VersionNumber(text) != 0 || onlyZeros);
}

WizardState InstalledState(const Installation& installation, const platform::IniText& catalogue) {
    if (installation.product.empty()) throw UsageError("--product names no product key");
    const bool versionGiven = installation.listFile.empty() || !installation.version.empty();
    if (versionGiven && !IsVersionText(installation.version))
        throw UsageError("--version \"" + installation.version + "\" is no version the wizard can read");
    WizardState state;
    TakeCallParameters(state, {installation.product, installation.product, installation.edition,
                               ListFileName(installation)});
    state.Language = installation.language;
    state.ProductDataFolder = ProductFolder(installation);
    state.QOId = installation.qoId;
    state.RecordedVersion = installation.version;
    state.InstalledVersion = installation.version;
    state.InstalledVersionNumber = VersionNumber(installation.version);
    state.ProgramTitle = catalogue.Read(state.CatalogueSection, "prog", "");
    if (!installation.listFile.empty()) ReadList(installation, state);
    state.AppName = state.ProgramTitle;
    return state;
}

}  // namespace kv::maker
