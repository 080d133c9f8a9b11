#include <charconv>

#include "run/parameters.h"
#include "run/config.h"
#include "network/connection.h"
#include "report/system_probes.h"
#include "wizard/tupinew.h"

namespace kv {

namespace {
constexpr int CommonAppDataCsidl = 35;
constexpr int DefaultCountryCode = 49;
constexpr std::size_t SystemLanguageNameCapacity = 50;
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

bool TUpInew::FormCreate(const CallParameters& parameters) {
    static_cast<WizardState&>(*this) = WizardState{};
    Label22.caption = config::NoticeLine;
    // The German date and number formats are those of run/german_format.h:
    // nothing here depends on the C or C++ locale.
    ScreenDpi = GetScreenDpi();
    ClearProxyState(Process());
    CloseReason = CloseReasonKind::NothingEvaluated;
    ReportSent = 0;
    ExeFolder = WithoutTrailingDelimiter(services_.system->ProgramFolder());
    ProductDataFolder = ExeFolder;
    OsVersionText = OsDisplayName(*services_.registry, *services_.system);
    Panel3.width = 0;
    Language = GetLanguageName() == "Deutsch" ? 1 : 2;
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

int TUpInew::GetCountryCode() const {
    const auto text = services_.system->UserCountryCode();
    if (!text) return DefaultCountryCode;
    int code = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), code);
    return error == std::errc() && end == text->data() + text->size() ? code : DefaultCountryCode;
}

std::string TUpInew::GetLanguageName() const {
    switch (GetCountryCode()) {
    case 41:
    case 43:
    case 49:
    case 352:
        return "Deutsch";
    default:
        return "English";
    }
}

std::string TUpInew::GetSystemLanguageName() const {
    return services_.system->SystemLanguageName().substr(0, SystemLanguageNameCapacity);
}

int TUpInew::GetScreenDpi() const { return services_.system->ScreenDpi(); }

}  // namespace kv
