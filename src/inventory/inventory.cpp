#include "inventory/inventory.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

#include "inventory/ini_access.h"
#include "inventory/product_keys.h"
#include "inventory/registry_text.h"
#include "platform/portable/text.h"

namespace kv {

namespace {

using platform::Hive;

constexpr const char* KarvellKey = "Software\\Karvell\\";
constexpr const char* ValuationKey = "Software\\Karvell\\HU2013MAK";
constexpr const char* UniversalCaller = "universal";

// The list file lies in the data folder. A name that holds a path ("\\",
// "/", "..", a drive's ":") would reach beyond it; it names no file there, as
// an empty name does, so nothing outside is read or written.
bool IsPlainFileName(const std::string& name) {
    return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

enum class Folder { Own, Common };

struct ProductRow {
    const char* listFile;
    const char* productKey;
    Folder folder;
    const char* commonPath;  // below the common data folder
    bool qoFamily;
    bool valuation;
};

// Every row is tested; the names are distinct, so at most one applies.
constexpr std::array<ProductRow, 14> ProductTable{{
    {"qeonline.lst", "QERIS", Folder::Own, "", false, false},
    {"voonline.lst", "VOL", Folder::Own, "", false, false},
    {"reonline.lst", "REM", Folder::Own, "", false, false},
    {"saonline.lst", "SAB", Folder::Own, "", false, false},
    {"zeltonline.lst", "Zelt", Folder::Own, "", false, false},
    {"hugonline.lst", "HUX", Folder::Own, "", false, false},
    {"postonl.lst", "Postilla", Folder::Own, "", false, false},
    {"postonlks.lst", "Postilla", Folder::Own, "", false, false},
    {"huonline.lst", "HUX2000", Folder::Common, "\\Karvell\\HU", false, false},
    {"hu2online.lst", "HU2013MAK", Folder::Common, "\\Karvell\\HUG", false, true},
    {"qoonline.lst", "QORIND", Folder::Common, "\\Karvell\\QOFolio", true, false},
    {"qobasic.lst", "QORIND", Folder::Common, "\\Karvell\\QOFolio", true, false},
    {"qovor.lst", "QORIND", Folder::Common, "\\Karvell\\QOPrime", false, false},
    {"qoprime.lst", "QOPrime", Folder::Common, "\\Karvell\\QOPrime", false, false},
}};

// The inventory's work on the wizard state; registry type errors escape it.
class InventoryPass {
public:
    InventoryPass(WizardState& state, const platform::Services& s, InventoryPassCode pass) : w_(state), pass_(pass) {
        registry_ = s.registry;
        profile_ = s.profile;
        files_ = s.files;
        clock_ = s.clock;
    }

    void Run() {
        ApplyProductTable();
        ReadProductKey();
        if (pass_ == InventoryPassCode::First) w_.SerialNumberText.clear();
        Process().VersionListPath = w_.ProductDataFolder + "\\" + (IsPlainFileName(w_.ParaINI) ? w_.ParaINI : "");
        ReadVersionList();
        if (w_.IsQOProgram) SetReminderNote(Process().CommonAppDataFolder + "\\Karvell\\HUG\\hgut.ini");
        if (w_.IsHU2Program) RunValuationSteps();
    }

private:
    void ApplyProductTable() {
        productKey_.clear();
        const std::string listFile = text::LowerAscii(w_.ParaINI);
        for (const ProductRow& row : ProductTable) {
            if (listFile != row.listFile) continue;
            productKey_ = row.productKey;
            const bool ownFolder = row.folder == Folder::Own || (row.valuation && w_.IsPortable);
            w_.ProductDataFolder = ownFolder ? w_.ExeFolder : Process().CommonAppDataFolder + row.commonPath;
            w_.ProductReference = ownFolder ? ProductReferenceKind::OwnFolder : ProductReferenceKind::CommonDataFolder;
            if (row.qoFamily) w_.IsQOProgram = true;
            if (row.valuation) w_.IsHU2Program = true;
            if (listFile == "voonline.lst" && text::LowerAscii(w_.ParaName) == UniversalCaller) productKey_ = "VOLU";
        }
        if (productKey_.empty()) productKey_ = w_.ParaFile;
    }

    template <typename Field>
    void ReadText(const std::string& key, const char* valueName, Field& field) {
        if (auto text = ReadRegistryText(*registry_, Hive::LocalMachine, key, valueName)) field = *text;
    }

    void ReadProductKey() {
        const std::string key = KarvellKey + productKey_;
        if (!registry_->KeyExists(Hive::LocalMachine, key)) return;
        ReadText(key, "Path", w_.InstallPath);
        ReadText(key, "AppNamen", w_.AppName);
        ReadText(key, "AppPC", w_.AppPC);
        ReadText(key, "Comp", w_.Company);
        ReadText(key, "InstUser", w_.InstallUser);
        ReadText(key, "SYSV", w_.NetStandVersion);
        ReadText(key, "User", w_.CurrentUser);
        ReadText(key, "VER", w_.RecordedVersion);
        ReadText(key, "IDate", w_.LastInstallDate);
        ReadText(key, "Inster", w_.QOId);
        ReadText(key, "VFID", w_.FirstInstallDate);
    }

    std::string Ini(const std::string& file, const std::string& section, const std::string& key) {
        return ReadIniString(*profile_, file, section, key);
    }

    void ReadVersionList() {
        const std::string& list = Process().VersionListPath;
        if (!files_->Exists(list)) return;
        w_.ProgramName = Ini(list, "PName", "name");
        if (w_.RecordedVersion.empty()) {
            w_.RecordedVersion = Ini(list, w_.ProgramName, "verinfo");
            if (w_.RecordedVersion.empty()) w_.RecordedVersion = "0";
        }
        if (w_.FirstInstallDate.empty()) {
            w_.FirstInstallDate = Ini(list, w_.ProgramName, "FII");
            if (w_.FirstInstallDate.empty()) w_.FirstInstallDate = "in lst nix";
        }
    }

    void SetReminderNote(const std::string& file) {
        const std::int64_t day = ReadIniInteger(*profile_, file, "POS", "UFlags");
        const platform::LocalDateTime now = clock_->Now();
        const std::int64_t today = platform::DayNumber(now.year, now.month, now.day);
        w_.UpdateInitText = day > today - 30 ? "Update außerhalb der 30 Tage Erinnerung"
                                             : "Update wahrscheinlich von 30 Tage Erinnerung";
    }

    // A serial source is asked only while no earlier one gave a number.
    void TakeSerial(const std::string& value) {
        if (w_.SerialNumberText.empty()) w_.SerialNumberText = value;
    }

    void RunValuationSteps() {
        const std::string common = Process().CommonAppDataFolder + "\\Karvell\\HUG\\h2gut.ini";
        const std::string portable = w_.ExeFolder + "\\HUG\\h2gut.ini";
        if (w_.SerialNumberText.empty() && registry_->KeyExists(Hive::LocalMachine, ValuationKey))
            ReadText(ValuationKey, "SIIN", w_.SerialNumberText);
        if (w_.SerialNumberText.empty() && files_->Exists(Process().VersionListPath))
            TakeSerial(Ini(Process().VersionListPath, "Bemessa", "SIIN"));
        if (w_.ProductReference == ProductReferenceKind::CommonDataFolder && files_->Exists(common)) {
            TakeSerial(Ini(common, "Setup", "SIIN"));
            TakeSerial(Ini(common, "Setup", "SN"));
            if (w_.RecordedVersion.empty()) w_.RecordedVersion = Ini(common, "Setup", "VER");
        }
        if (w_.ProductReference == ProductReferenceKind::OwnFolder) {
            w_.AppName = "Bemessa Portable";
            w_.InstallPath = w_.ExeFolder;
        } else if (w_.ProductReference == ProductReferenceKind::CommonDataFolder) {
            w_.AppName = "Bemessa";
        }
        if (w_.ProductReference == ProductReferenceKind::OwnFolder && files_->Exists(portable)) {
            TakeSerial(Ini(portable, "Setup", "SN"));
            TakeSerial(Ini(portable, "Setup", "SIIN"));
        }
        if (w_.ProductReference == ProductReferenceKind::OwnFolder && w_.RecordedVersion.empty())
            w_.RecordedVersion = Ini(portable, "Setup", "VER");
        DeriveIdFromSerial();
        if (w_.SerialNumberText.empty()) w_.SerialNumberText = "Keine Seriennummer";
        SetReminderNote(common);
    }

    void DeriveIdFromSerial() {
        if (w_.SerialNumberText.size() == 13) {
            w_.SerialCode = w_.SerialNumberText.substr(11, 2);
            w_.QOId = w_.SerialNumberText.substr(11, 2);
        } else {
            w_.QOId = "????";
        }
    }

    WizardState& w_;
    InventoryPassCode pass_;
    platform::Registry* registry_;
    platform::Profile* profile_;
    platform::Files* files_;
    platform::Clock* clock_;
    std::string productKey_;
};

}  // namespace

std::vector<std::string> CallingProductKeys() {
    std::vector<std::string> keys{UniversalCaller};
    for (const ProductRow& row : ProductTable) {
        const std::string key = text::LowerAscii(row.productKey);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    }
    return keys;
}

// A registry value of the wrong type ends the pass where it stands; what was
// read before stays, and start-up goes on with it rather than ending the program.
void TakeInventory(WizardState& state, const platform::Services& services, InventoryPassCode pass) {
    try {
        InventoryPass(state, services, pass).Run();
    } catch (const ERegistryDataType& error) {
        services.dialogs->MessageBox(platform::BoxOwner::Wizard, error.what(), " Fehler", platform::MbIconError);
    }
}

}  // namespace kv
