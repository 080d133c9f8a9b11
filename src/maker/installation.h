#pragma once
#include <stdexcept>
#include <string>

#include "platform/portable/ini_engine.h"
#include "run/wizard_state.h"

namespace kv::maker {

// What the maker asked for cannot be answered: a missing catalogue, a bad
// option, a version that is none. The message says which.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An installed product as the maker describes it to the tool.
struct Installation {
    std::string product;        // product key, as the product passes it to the wizard
    std::string edition;        // edition letters
    std::string version;        // installed version; the recorded one when a list file holds none
    int language = 1;           // 1 German, 2 English
    std::string listFile;       // a version list file as it lies on a machine
    std::string qoId;           // the court-register installation's id (special updates)
    std::string productFolder;  // the folder the restart rule keeps to; empty: a placeholder
};

// The folder that the restart rule is given, and whether it is a placeholder.
std::string ProductFolder(const Installation& installation);
bool ProductFolderIsPlaceholder(const Installation& installation);

// True when the wizard reads `text` as a version: it holds a digit, and its
// digits fit into the wizard's version number.
bool IsVersionText(const std::string& text);

// The wizard's state when the catalogue has arrived for that installation.
// Without a list file the installed title is the catalogue's prog for the
// section, the name of the product the title.
WizardState InstalledState(const Installation& installation, const platform::IniText& catalogue);

}  // namespace kv::maker
