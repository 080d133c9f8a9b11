#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "run/short_text.h"

namespace kv {

// Values one process shares between the wizard window, the proxy dialog and
// the connection probe.
struct ProcessState {
    std::string CommonAppDataFolder;
    std::string VersionListPath;
    bool UseProxy = false;
    std::string ProxyName;
    std::string ProxyPortText;
    std::string ProxyUser;
    std::string ProxyPassword;
    std::string ProxyComplete;
};

ProcessState& Process();

// Where the fetched catalogue lies while a run needs it: in the product's
// data folder, deleted at start, after a failed fetch and on close.
std::string LocalCataloguePath(const std::string& productDataFolder);

// Where the product keeps its data, as the inventory and the local state
// found it.
enum class ProductReferenceKind {
    NotIdentified = 0,
    OwnFolder = 10,
    NoReference = 50,  // no version list file: the wizard cannot check
    CommonDataFolder = 100,
};

// What closing by a button still has to report.
enum class CloseReasonKind {
    NothingEvaluated = 0,
    Reported = 1,  // the evaluation reported, or the installer started
    Outdated = 100,
    EndOfUpdates = 110,
};

// The inventory runs once before the local state is read and, with a product
// reference, once after.
enum class InventoryPassCode : std::uint8_t {
    First = 0,
    Second = 100,
};

// Every fact a run gathers, from the call parameters to the outcome. The
// wizard window is this record; only the GUI thread touches it.
struct WizardState {
    // Call and environment.
    std::string ParaName;
    std::string ParaFile;
    ShortText<10> ParaChar;
    std::string ParaINI;
    bool ParaCharValid = false;
    std::string CatalogueSection;
    bool IsQOProgram = false;
    bool IsHU2Program = false;
    bool IsPortable = false;
    int Language = 0;  // 1 German, 2 English
    int ScreenDpi = 0;
    std::string OsVersionText;
    std::string AdapterAddressText;
    std::string ExeFolder;

    // Inventory.
    std::string ProductDataFolder;
    ProductReferenceKind ProductReference = ProductReferenceKind::NotIdentified;
    ShortText<100> InstallPath;
    ShortText<100> AppName;
    ShortText<100> AppPC;
    ShortText<100> Company;
    ShortText<100> InstallUser;
    ShortText<100> NetStandVersion;
    ShortText<100> CurrentUser;
    ShortText<100> RecordedVersion;
    ShortText<100> LastInstallDate;
    std::string QOId;
    std::string FirstInstallDate;
    std::string ProgramName;
    std::string SerialNumberText = "keine";
    ShortText<50> SerialCode;
    std::string UpdateInitText;

    // Local state.
    std::string InstalledVersion;
    int InstalledVersionNumber = 0;
    std::string ProgramTitle;
    std::string LastUpdateDate;
    int LocalSpecAction = 0;
    std::string RestartProgram;
    std::string QOAgent = "nicht belegt";
    std::string QOEMail = "keine";
    std::string QOPhone = "keine";

    // Catalogue results.
    std::string NewVersion;
    int NewVersionNumber = 0;
    int NoMoreUpLimit = 0;
    std::string OutdatedLimitText;
    int OutdatedLimit = 0;
    std::string UpdateFileName;
    std::string UpdateDate;
    std::string UpdateSizeText;
    int CatalogueSpecAction = 0;
    bool SpecialUpdate = false;
    bool SpecialUpdateProcess = false;
    std::string SpecialVersionInfo;
    std::string SpecialSizeText;
    std::string SpecialDate;
    ShortText<2> CatalogueSU;
    bool SinuFlag = false;
    bool NoNewUpdate = false;
    std::array<ShortText<100>, 24> CatalogueLines{};  // 0-5 CD, 6-11 CE, 12-17 UPD, 18-23 UPE
    std::array<std::string, 4> NewsAfterDe{};           // messages 29-32, German
    std::array<std::string, 4> NewsAfterEn{};           // messages 29-32, English
    std::vector<std::string> SpecialTargets;

    // Run control.
    bool DownloadRunning = false;
    bool DownloadFailed = false;
    CloseReasonKind CloseReason = CloseReasonKind::NothingEvaluated;
    bool ReportSent = false;  // a run composes one report, the first it is asked for
    std::string InstallerRefusal;  // the report's line on why the arrived installer was not started; may be empty
};

}  // namespace kv
