#pragma once
#include <optional>
#include <cstdint>
#include <string>

#include "platform/services.h"
#include "platform/signatures.h"
#include "catalogue/check_flow.h"
#include "catalogue/check_page.h"
#include "installer/installer_flow.h"
#include "network/http_get.h"
#include "report/report_reason.h"
#include "ui/form.h"
#include "run/wizard_state.h"

namespace kv {

class TPHPunit;
struct WelcomePage;

// The call parameters as the process received them (program name excluded).
using CallParameters = std::vector<std::string>;

// The wizard window: the run's state record, its two pages and the handlers.
// A handler that starts a subsystem's work forwards to that subsystem's flow,
// which sees only the state, the services and the page it writes.
class TUpInew : public ui::Form, public WizardState, public CheckPageControls {
public:
    TUpInew(const platform::Services& services, TPHPunit* reportWindow);
    ~TUpInew() override;

    // Start-up.
    // Returns false when the program must end at once (fewer than three call
    // parameters; the error box was shown).
    bool FormCreate(const CallParameters& parameters);
    void FormShow();
    void FormResize();

    // The run's texts in its language.
    std::string GL(int number) const;

    // Wizard window handlers.
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

    // Inventory and local state.
    void TakeInventory(InventoryPassCode pass);
    void ReadLocalState();
    void SetupHTTPGet();
    // The connection class; nullopt while the dial-up library is broken,
    // which the user is told once a run.
    std::optional<int> ConnectionKind();

    // The check and the installer's download, each with the completion of
    // its own transfer.
    CheckFlow CatalogueCheck();
    InstallerFlow InstallerDownload();

    // The check.
    void DownLoadNewVersion1Click();
    void EvaluateCatalogue();
    CheckPage CheckPageView();  // what the evaluation and the news timer write

    // The installer.
    void DLButClick();
    void INGetFileProgress(void* sender, std::int32_t totalSize, std::int32_t readed);
    void WriteInstallerHandover();
    // False when nothing started: the path named no program inside the
    // product's folder, or the system did not start it.
    bool RunProgram(const std::string& path, const std::string& parameters, bool wait,
                    const std::string& workingFolder);

    // The run's one report.
    void ComposeReport(ReportReason reason);

    const platform::Services& services() const { return services_; }

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

    // Check page (the rows, status, progress, buttons and news panel are
    // CheckPageControls).
    ui::Control Panel1{"Panel1", ui::Kind::Panel};
    ui::Control Panel2{"Panel2", ui::Kind::Panel};
    ui::Control Label13{"Label13", ui::Kind::Label};
    ui::Control Label24{"Label24", ui::Kind::Label};
    ui::Control Image2{"Image2", ui::Kind::Image};
    ui::Control Label12{"Label12", ui::Kind::Label};
    ui::Control Panel7{"Panel7", ui::Kind::Panel};
    ui::Control ColorBevel1{"ColorBevel1", ui::Kind::Bevel};
    ui::Control TryAgainBut{"TryAgainBut", ui::Kind::Button};

    // Non-visual members.
    ui::Timer Timer3{"Timer3"};
    ui::PopupMenu BIPop{"BIPop", {}};
    THTTPGet INGetFile;

    // Whose signature an arrived installer needs before it is started; from
    // the configuration, inactive when no signer is configured.
    platform::SignerRule installerSigner;

private:
    void CreateControls();  // the form description (wizard/wizard_layout.cpp)
    WelcomePage Welcome();

    platform::Services services_;
    TPHPunit* reportWindow_;
    bool dialUpFailureShown_ = false;
};

}  // namespace kv
