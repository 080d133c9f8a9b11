#pragma once
#include <string>
#include <vector>

#include "catalogue/check_page.h"

namespace kv::maker {

// A check page that no window shows: the controls the evaluation writes, and
// the boxes and reports it would show and send, kept for the maker to read.
class PageRecord : public platform::Dialogs {
public:
    // The page as it stands when the catalogue has arrived.
    explicit PageRecord(const WizardState& state);
    PageRecord(const PageRecord&) = delete;
    PageRecord& operator=(const PageRecord&) = delete;

    CheckPage Page();
    int MessageBox(platform::BoxOwner owner, const std::string& text, const std::string& caption,
                   unsigned flags) override;

    struct Box {
        std::string caption, text;
    };
    std::vector<Box> boxes;
    std::vector<ReportReason> reports;

    ui::Control Label15{"Label15", ui::Kind::Label};
    ui::Control Label14{"Label14", ui::Kind::Label};
    ui::Control Label18{"Label18", ui::Kind::Label};
    ui::Control Label4{"Label4", ui::Kind::Label};
    ui::Control Label2{"Label2", ui::Kind::Label};
    ui::Control Label17{"Label17", ui::Kind::Label};
    ui::Control Label16{"Label16", ui::Kind::Label};
    ui::Control Label19{"Label19", ui::Kind::Label};
    ui::Control Label10{"Label10", ui::Kind::Label};
    ui::Control Label11{"Label11", ui::Kind::Label};
    ui::Control Gauge1{"Gauge1", ui::Kind::Progress};
    ui::Control DLBut{"DLBut", ui::Kind::Button};
    ui::Control PZu2{"PZu2", ui::Kind::Button};
    ui::Control Panel3{"Panel3", ui::Kind::Panel};
    ui::Control Memo1{"Memo1", ui::Kind::Memo};
    ui::Timer Timer2{"Timer2"};
};

}  // namespace kv::maker
