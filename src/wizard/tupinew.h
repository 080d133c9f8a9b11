#pragma once
#include <optional>
#include <cstdint>
#include <string>

#include "platform/services.h"
#include "platform/signatures.h"
#include "report/report_reason.h"
#include "network/http_get.h"
#include "ui/form.h"
#include "run/wizard_state.h"

namespace kv {

class TPHPunit;
struct CheckPage;

// The call parameters as the process received them (program name excluded).
using CallParameters = std::vector<std::string>;

// The wizard window: the run's state record, its two pages and the handlers.
// Handlers of each subsystem live in that subsystem's folder.
class TUpInew : public ui::Form, public WizardState {
public:
    TUpInew(const platform::Services& services, TPHPunit* reportWindow);
    ~TUpInew() override;

    // Start-up (app/). Returns false when the program must end at once
    // (fewer than three call parameters; the error box was shown).
    bool FormCreate(const CallParameters& parameters);
    void FormShow();
    void FormResize();

    // Text catalogue (wizard/).
    std::string GL(int number) const;
    int GetCountryCode() const;
    std::string GetLanguageName() const;
    std::string GetSystemLanguageName() const;
    int GetScreenDpi() const;

    // Wizard window handlers (wizard/).
    void PzuClick();
    void TryAgainButClick();
    void Timer2Timer();
    void Timer3Timer();
    void menueClick();
    void Informationen1Click();
    void Label22Click();
    void Datenschutzinformationen1Click();
    void ProxyEinstellungen1Click();
    void OnClose() override;  // FormClose

    // Inventory and local state (inventory/).
    void TakeInventory(InventoryPassCode pass);
    void ReadLocalState();
    void SetupHTTPGet();
    // The connection class (network/); nullopt while the dial-up library is
    // broken, which the user is told once a run.
    std::optional<int> ConnectionKind();

    // Check start (catalogue/).
    void DownLoadNewVersion1Click();
    bool IsInternetConnected();
    void StartCatalogueFetch();

    // Evaluation and hand-over (catalogue/).
    void EvaluateCatalogue();
    CheckPage CheckPageView();  // what the evaluation and the news timer write
    void WriteInstallerHandover();

    // Installer download and launch (installer/).
    void DLButClick();
    void INGetFileProgress(void* sender, std::int32_t totalSize, std::int32_t readed);
    void INGetFileDoneFile(void* sender, const std::string& fileName, std::int32_t fileSize);
    void INGetFileError(void* sender);
    platform::ProcessOutcome StartProcess(const std::string& programPath, bool wait);
    // False when nothing started: the path named no program inside the
    // product's folder, or the system did not start it.
    bool RunProgram(const std::string& path, const std::string& parameters, bool wait,
                    const std::string& workingFolder);
    std::string ProductFolder() const;

    // Outcome report (report/).
    void ComposeReport(ReportReason reason);

    const platform::Services& services() const { return services_; }
    TPHPunit* reportWindow() const { return reportWindow_; }

    // Welcome page.
    ui::Control Panel4{"Panel4", ui::Kind::Panel};
    ui::Control Panel6{"Panel6", ui::Kind::Panel};
    ui::Control Image1{"Image1", ui::Kind::Image};
    ui::Control Label1{"Label1", ui::Kind::Label};
    ui::Control Label3{"Label3", ui::Kind::Label};
    ui::Control Label5{"Label5", ui::Kind::Label};
    ui::Control Label6{"Label6", ui::Kind::Label};
    ui::Control Label7{"Label7", ui::Kind::Label};
    ui::Control Label8{"Label8", ui::Kind::Label};
    ui::Control Label9{"Label9", ui::Kind::Label};
    ui::Control Label20{"Label20", ui::Kind::Label};
    ui::Control Label22{"Label22", ui::Kind::Label};
    ui::Control Panel5{"Panel5", ui::Kind::Panel};
    ui::Control ColorBevel2{"ColorBevel2", ui::Kind::Bevel};
    ui::Control Pzu{"Pzu", ui::Kind::Button};
    ui::Control DownLoadNewVersion1{"DownLoadNewVersion1", ui::Kind::Button};
    ui::Control menue{"menue", ui::Kind::FlatButton};

    // Check page.
    ui::Control Panel1{"Panel1", ui::Kind::Panel};
    ui::Control Panel2{"Panel2", ui::Kind::Panel};
    ui::Control Label13{"Label13", ui::Kind::Label};
    ui::Control Label24{"Label24", ui::Kind::Label};
    ui::Control Image2{"Image2", ui::Kind::Image};
    ui::Control Label12{"Label12", ui::Kind::Label};
    ui::Control Label15{"Label15", ui::Kind::Label};
    ui::Control Label14{"Label14", ui::Kind::Label};
    ui::Control Label10{"Label10", ui::Kind::Label};
    ui::Control Label11{"Label11", ui::Kind::Label};
    ui::Control Gauge1{"Gauge1", ui::Kind::Progress};
    ui::Control Label18{"Label18", ui::Kind::Label};
    ui::Control Label4{"Label4", ui::Kind::Label};
    ui::Control Label2{"Label2", ui::Kind::Label};
    ui::Control Label17{"Label17", ui::Kind::Label};
    ui::Control Label16{"Label16", ui::Kind::Label};
    ui::Control Label19{"Label19", ui::Kind::Label};
    ui::Control Panel3{"Panel3", ui::Kind::Panel};
    ui::Control Memo1{"Memo1", ui::Kind::Memo};
    ui::Control Panel7{"Panel7", ui::Kind::Panel};
    ui::Control ColorBevel1{"ColorBevel1", ui::Kind::Bevel};
    ui::Control DLBut{"DLBut", ui::Kind::Button};
    ui::Control PZu2{"PZu2", ui::Kind::Button};
    ui::Control TryAgainBut{"TryAgainBut", ui::Kind::Button};

    // Non-visual members.
    ui::Timer Timer2{"Timer2"};
    ui::Timer Timer3{"Timer3"};
    ui::PopupMenu BIPop{"BIPop", {}};
    THTTPGet INGetFile;

    // Whose signature an arrived installer needs before it is started; from
    // the configuration, inactive when no signer is configured.
    platform::SignerRule installerSigner;

private:
    void CreateControls();  // the form description (wizard/wizard_layout.cpp)

    platform::Services services_;
    TPHPunit* reportWindow_;
    bool dialUpFailureShown_ = false;
};

}  // namespace kv
