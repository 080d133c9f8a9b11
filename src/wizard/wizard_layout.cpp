#include "wizard/tupinew.h"

// The form description of the wizard window: every control with its place,
// its design-time text and its initial state.
namespace kv {

namespace {
void Place(ui::Control& c, int left, int top, int width, int height) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}
}  // namespace

void TUpInew::CreateControls() {
    caption = "Netrefresh";
    clientWidth = 598;
    clientHeight = 432;
    position = ui::Position::ScreenCenter;
    font = ui::Font{};

    // Welcome page.
    Add(Panel4);
    Place(Panel4, 0, 0, 598, 432);
    Add(Image1, &Panel4);
    Place(Image1, 0, 0, 189, 381);
    Image1.imageId = 101;
    Image1.stretch = true;
    Add(Panel6, &Panel4);
    Place(Panel6, 189, 0, 409, 381);
    Add(Label1, &Panel6);
    Place(Label1, 16, 16, 377, 60);
    Label1.font.bold = true;
    Label1.font.height = 20;
    Label1.wordWrap = true;
    Add(Label3, &Panel6);
    Place(Label3, 16, 110, 150, 20);
    Add(Label5, &Panel6);
    Place(Label5, 170, 110, 220, 20);
    Add(Label6, &Panel6);
    Place(Label6, 16, 134, 150, 20);
    Add(Label7, &Panel6);
    Place(Label7, 170, 134, 220, 20);
    Add(Label8, &Panel6);
    Place(Label8, 16, 180, 377, 40);
    Label8.wordWrap = true;
    Add(Label9, &Panel6);
    Place(Label9, 16, 230, 377, 40);
    Label9.wordWrap = true;
    Add(Label20, &Panel6);
    Place(Label20, 16, 300, 377, 40);
    Label20.wordWrap = true;
    Label20.caption = "Wählen Sie \"Menü\" für Informationen und Einstellungen.";
    Add(Panel5, &Panel4);
    Place(Panel5, 0, 381, 598, 51);
    Add(ColorBevel2, &Panel5);
    Place(ColorBevel2, 0, 0, 598, 2);
    Add(menue, &Panel5);
    Place(menue, 10, 12, 90, 28);
    menue.caption = "- Menü -";
    menue.hint = "- Informationen\r- Datenschutz Informationen\r- Proxy Einstellungen";
    Add(Label22, &Panel5);
    Place(Label22, 108, 18, 250, 18);
    Label22.handCursor = true;
    Label22.font.height = 13;
    Add(DownLoadNewVersion1, &Panel5);
    Place(DownLoadNewVersion1, 370, 12, 105, 28);
    DownLoadNewVersion1.tabOrder = 0;
    Add(Pzu, &Panel5);
    Place(Pzu, 483, 12, 105, 28);
    Pzu.tabOrder = 1;

    // Check page.
    Add(Panel1);
    Place(Panel1, 0, 0, 598, 432);
    Panel1.visible = false;
    Add(Panel2, &Panel1);
    Place(Panel2, 0, 0, 598, 64);
    Panel2.background = 0xFFFFFF;
    Add(Label12, &Panel2);
    Place(Label12, 16, 8, 300, 20);
    Label12.caption = "Online Update ";
    Label12.font.bold = true;
    Add(Label13, &Panel2);
    Place(Label13, 16, 28, 500, 32);
    Label13.wordWrap = true;
    Add(Label24, &Panel2);
    Place(Label24, 16, 28, 500, 32);
    Label24.visible = false;
    Add(Image2, &Panel2);
    Place(Image2, 540, 8, 48, 48);
    Image2.imageId = 102;
    Add(Label15, &Panel1);
    Place(Label15, 16, 80, 566, 22);
    Label15.font.bold = true;
    Add(Label14, &Panel1);
    Place(Label14, 16, 110, 566, 20);
    Label14.font.bold = true;
    Add(Label10, &Panel1);
    Place(Label10, 16, 140, 120, 20);
    Label10.caption = "Download Status:";
    Add(Label11, &Panel1);
    Place(Label11, 140, 140, 440, 20);
    Label11.doubleBuffered = true;
    Add(Gauge1, &Panel1);
    Place(Gauge1, 16, 166, 566, 20);
    Gauge1.doubleBuffered = true;
    Add(Label18, &Panel1);
    Place(Label18, 16, 206, 190, 20);
    Add(Label4, &Panel1);
    Place(Label4, 210, 206, 370, 20);
    Add(Label2, &Panel1);
    Place(Label2, 16, 230, 190, 20);
    Add(Label17, &Panel1);
    Place(Label17, 210, 230, 370, 20);
    Add(Label16, &Panel1);
    Place(Label16, 16, 254, 190, 20);
    Add(Label19, &Panel1);
    Place(Label19, 210, 254, 370, 20);
    for (ui::Control* row : {&Label18, &Label4, &Label2, &Label17, &Label16, &Label19}) row->visible = false;
    Add(Panel3, &Panel1);
    Place(Panel3, 0, 64, 0, 112);
    Panel3.visible = false;
    Panel3.enabled = false;
    Add(Memo1, &Panel3);
    Place(Memo1, 16, 4, 558, 104);
    Memo1.background = ui::ColorButtonFace;
    Memo1.readOnly = true;
    Memo1.lines = {"New's:", "?", "?", "?", "?", "?"};
    Add(Panel7, &Panel1);
    Place(Panel7, 0, 381, 598, 51);
    Add(ColorBevel1, &Panel7);
    Place(ColorBevel1, 0, 0, 598, 2);
    Add(TryAgainBut, &Panel7);
    Place(TryAgainBut, 16, 12, 180, 28);
    TryAgainBut.visible = false;
    Add(DLBut, &Panel7);
    Place(DLBut, 370, 12, 105, 28);
    DLBut.enabled = false;
    Add(PZu2, &Panel7);
    Place(PZu2, 483, 12, 105, 28);

    Add(Timer2);
    Add(Timer3);

    Pzu.onClick = [this] { PzuClick(); };
    PZu2.onClick = [this] { PzuClick(); };
    DownLoadNewVersion1.onClick = [this] { DownLoadNewVersion1Click(); };
    TryAgainBut.onClick = [this] { TryAgainButClick(); };
    DLBut.onClick = [this] { DLButClick(); };
    menue.onClick = [this] { menueClick(); };
    Label22.onClick = [this] { Label22Click(); };
    Timer2.onTimer = [this] { Timer2Timer(); };
    Timer3.onTimer = [this] { Timer3Timer(); };
    BIPop.items = {
        {"Informationen", [this] { Informationen1Click(); }},
        {"Datenschutzinformationen", [this] { Datenschutzinformationen1Click(); }},
        {"Proxy Einstellungen", [this] { ProxyEinstellungen1Click(); }},
    };

    INGetFile.AcceptTypes = "*/*";
    INGetFile.Agent = "HTTP";
    INGetFile.BinaryData = true;
    INGetFile.UseCache = false;
    INGetFile.WaitThread = false;
    INGetFile.ConectLan = ctNone;
    INGetFile.OnProgress = [this](void* s, std::int32_t t, std::int32_t r) { INGetFileProgress(s, t, r); };
    INGetFile.OnDoneFile = [this](void* s, const std::string& f, std::int32_t n) { INGetFileDoneFile(s, f, n); };
    INGetFile.OnError = [this](void* s) { INGetFileError(s); };
}

}  // namespace kv
