#pragma once
#include <string>

#include "platform/files.h"
#include "ui/form.h"

namespace kv {

// The privacy information dialog: writes its document below the common data
// folder and shows it in a read-only rich-text view.
class TForm1 : public ui::Form {
public:
    TForm1(platform::Files& files, const std::string& commonAppDataFolder);

    ui::Control RD{"RD", ui::Kind::RichText};
    ui::Control Label1{"Label1", ui::Kind::Label};

    void FormCreate();
    void Label1Click();

    const std::string& documentPath() const { return documentPath_; }

private:
    void CreateControls();

    platform::Files& files_;
    std::string documentPath_;
};

}  // namespace kv
