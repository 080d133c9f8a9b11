#include "run/parameters.h"
#include "run/config.h"
#include "network/connection.h"
#include "report/system_probes.h"
#include "run/machine_language.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {
constexpr int CommonAppDataCsidl = 35;
constexpr std::size_t MinimumParameters = 3;

std::string WithoutTrailingDelimiter(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

void ClearProxyState(ProcessState& process) {
    process.UseProxy = false;
    process.ProxyName.clear();
    process.ProxyPortText.clear();
    process.ProxyUser.clear();
    process.ProxyPassword.clear();
    process.ProxyComplete.clear();
}

// A system proxy while the wizard's own is off: Timer3 later asks whether to
// set one up. A broken dial-up library must not end the start: it goes on as
// without a dial-up connection.
void OfferProxySetupOnSystemProxy(TUpInew& wizard) {
    if (wizard.ConnectionKind() == ConnectionSystemProxy && !Process().UseProxy) wizard.Timer3.enabled = true;
}
}  // namespace

std::optional<int> TUpInew::ConnectionKind() {
    try {
        return DetectConnection(*services_.registry, *services_.remoteAccess);
    } catch (const ERasError& error) {
        if (!dialUpFailureShown_)
            services_.dialogs->MessageBox(platform::BoxOwner::Application, error.what(), " Fehler",
                                          platform::MbIconError);
        dialUpFailureShown_ = true;
        return std::nullopt;
    }
}

bool TUpInew::FormCreate(const CallParameters& parameters) {
    static_cast<WizardState&>(*this) = WizardState{};
    Label22.caption = config::NoticeLine;
    // The German date and number formats are those of run/german_format.h:
    // nothing here depends on the C or C++ locale.
    ScreenDpi = services_.system->ScreenDpi();
    ClearProxyState(Process());
    CloseReason = CloseReasonKind::NothingEvaluated;
    ReportSent = false;
    ExeFolder = WithoutTrailingDelimiter(services_.system->ProgramFolder());
    ProductDataFolder = ExeFolder;
    OsVersionText = OsDisplayName(*services_.registry, *services_.system);
    Panel3.width = 0;
    Language = LanguageName(*services_.system) == "Deutsch" ? 1 : 2;
    Process().CommonAppDataFolder =
        WithoutTrailingDelimiter(SpecialFolderPath(*services_.system, CommonAppDataCsidl));

    if (parameters.size() < MinimumParameters) {
        services_.dialogs->MessageBox(platform::BoxOwner::Application, GL(65), GL(64), platform::MbIconError);
        return false;
    }
    TakeCallParameters(*this, parameters);

    TakeInventory(InventoryPassCode::First);
    ReadLocalState();
    if (ProductReference != ProductReferenceKind::NoReference) TakeInventory(InventoryPassCode::Second);

    Memo1.textMarginLeft = 5;
    OfferProxySetupOnSystemProxy(*this);
    Gauge1.doubleBuffered = true;
    Label11.doubleBuffered = true;
    AdapterAddressText = AdapterAddress(*services_.system);
    return true;
}

void TUpInew::FormShow() { caption = "Karvell " + caption + " " + "Tool V " + config::ToolVersion; }

void TUpInew::FormResize() {
    ColorBevel1.height = 2;
    ColorBevel2.height = 2;
}

}  // namespace kv
