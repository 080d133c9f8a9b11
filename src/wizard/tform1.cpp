#include "wizard/tform1.h"

#include "wizard/privacy_document.h"

namespace kv {

TForm1::TForm1(platform::Files& files, const std::string& commonAppDataFolder)
    : ui::Form("Form1"), files_(files), documentPath_(PrivacyDocumentPath(commonAppDataFolder)) {
    CreateControls();
    FormCreate();
}

void TForm1::CreateControls() {
    caption = "Karvell Datenschutzinformationen";
    clientWidth = 598;
    clientHeight = 432;
    position = ui::Position::OwnerCenter;

    Add(RD);
    RD.left = 12;
    RD.top = 11;
    RD.width = 571;
    RD.height = 371;
    RD.readOnly = true;
    RD.tabOrder = 0;

    // The close link sits under the view's right edge.
    Add(Label1);
    Label1.caption = "Schließen";
    Label1.font.height = 15;
    Label1.font.color = ui::ColorBlue;
    Label1.font.underline = true;
    Label1.handCursor = true;
    Label1.width = 64;
    Label1.height = 18;
    Label1.left = RD.left + RD.width - Label1.width;
    Label1.top = 398;
    Label1.onClick = [this] { Label1Click(); };
}

// A document that cannot be written (no "\Karvell" folder) is not an error:
// the view then finds no file and stays empty.
void TForm1::FormCreate() {
    files_.WriteAll(documentPath_, PrivacyDocumentRtf());
    RD.caption = documentPath_;
}

void TForm1::Label1Click() {
    files_.Delete(documentPath_);
    Close();
}

}  // namespace kv
