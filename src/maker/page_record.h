#pragma once
#include <string>
#include <vector>

#include "catalogue/check_page.h"

namespace kv::maker {

// A check page that no window shows: the controls the evaluation writes, and
// the boxes and reports it would show and send, kept for the maker to read.
class PageRecord : public platform::Dialogs, public CheckPageControls {
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
};

}  // namespace kv::maker
