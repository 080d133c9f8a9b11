#include "wizard/tupinew.h"

// The form description of the wizard window: every control with its place,
// its design-time text and its initial state. Captions that come from the
// text catalogue are set at start-up, in the run's language.
namespace kv {

namespace {

constexpr int ClientWidth = 598;
constexpr int ClientHeight = 432;
constexpr int BarHeight = 51;
constexpr int BarTop = ClientHeight - BarHeight;
constexpr int PictureWidth = 189;
constexpr int Margin = 16;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Grey = 0x606060;

// Buttons of both bottom bars share one row: next/install, then close.
constexpr int ButtonTop = 13;
constexpr int ButtonWidth = 104;
constexpr int ButtonHeight = 28;
constexpr int CloseButtonLeft = ClientWidth - 10 - ButtonWidth;
constexpr int ActionButtonLeft = CloseButtonLeft - 8 - ButtonWidth;

// Keyboard order: the welcome page's buttons first, then the check page's;
// the view skips the hidden page's.
enum TabStop { NextStop, CloseStop, MenuStop, InstallStop, RetryStop, CancelStop };

void Bar(ui::Control& bar, ui::Control& separator) {
    Place(bar, 0, BarTop, ClientWidth, BarHeight);
    Place(separator, 0, 0, ClientWidth, 2);
}

void Button(ui::Control& button, int left, int width, TabStop stop) {
    Place(button, left, ButtonTop, width, ButtonHeight);
    button.tabOrder = stop;
}

}  // namespace

void TUpInew::CreateControls() {
    caption = "Netrefresh";
    clientWidth = ClientWidth;
    clientHeight = ClientHeight;
    position = ui::Position::ScreenCenter;
    font = ui::Font{};

    // Welcome page: the picture on the left, the texts on white beside it.
    Add(Panel4);
    Place(Panel4, 0, 0, ClientWidth, ClientHeight);
    Add(Image1, &Panel4);
    Place(Image1, 0, 0, PictureWidth, BarTop);
    Image1.imageId = 101;
    Image1.stretch = true;
    Add(Panel6, &Panel4);
    Place(Panel6, PictureWidth, 0, ClientWidth - PictureWidth, BarTop);
    Panel6.background = White;
    const int textWidth = Panel6.width - 2 * Margin - 4;
    const int valueLeft = Margin + 170;
    Add(Label1, &Panel6);
    Place(Label1, Margin + 4, 20, textWidth, 64);
    Label1.font.bold = true;
    Label1.font.height = 20;
    Label1.wordWrap = true;
    Add(Label3, &Panel6);
    Place(Label3, Margin + 4, 100, 166, 20);
    Add(Label5, &Panel6);
    Place(Label5, valueLeft, 100, textWidth - 166, 20);
    Label5.font.bold = true;
    Add(Label6, &Panel6);
    Place(Label6, Margin + 4, 124, 166, 20);
    Add(Label7, &Panel6);
    Place(Label7, valueLeft, 124, textWidth - 166, 20);
    Label7.font.bold = true;
    Add(Label8, &Panel6);
    Place(Label8, Margin + 4, 168, textWidth, 40);
    Label8.wordWrap = true;
    Add(Label9, &Panel6);
    Place(Label9, Margin + 4, 216, textWidth, 40);
    Label9.wordWrap = true;
    Add(Label20, &Panel6);
    Place(Label20, Margin + 4, 282, textWidth, 40);
    Label20.wordWrap = true;
    Label20.caption = "Wählen Sie \"Menü\" für Informationen und Einstellungen.";
    Add(Label22, &Panel6);
    Place(Label22, Margin + 4, BarTop - 28, textWidth, 18);
    Label22.handCursor = true;
    Label22.font.height = 13;
    Label22.font.color = Grey;

    Add(Panel5, &Panel4);
    Add(ColorBevel2, &Panel5);
    Bar(Panel5, ColorBevel2);
    Add(menue, &Panel5);
    Button(menue, 10, 96, MenuStop);
    menue.caption = "- Menü -";
    menue.hint = "- Informationen\r- Datenschutz Informationen\r- Proxy Einstellungen";
    Add(DownLoadNewVersion1, &Panel5);
    Button(DownLoadNewVersion1, ActionButtonLeft, ButtonWidth, NextStop);
    Add(Pzu, &Panel5);
    Button(Pzu, CloseButtonLeft, ButtonWidth, CloseStop);

    // Check page: header band, status lines and progress, the result rows,
    // the news panel over the idle progress area, and the button bar.
    Add(Panel1);
    Place(Panel1, 0, 0, ClientWidth, ClientHeight);
    Panel1.visible = false;
    Add(Panel2, &Panel1);
    Place(Panel2, 0, 0, ClientWidth, 64);
    Panel2.background = White;
    // The picture leads the band, so the heading, which the check widens to
    // the band's width less twice its left edge, never runs under it.
    Add(Image2, &Panel2);
    Place(Image2, Margin, 8, 48, 48);
    Image2.imageId = 102;
    const int headingLeft = Margin + 48 + 12;
    const int headingWidth = ClientWidth - 2 * headingLeft;
    Add(Label12, &Panel2);
    Place(Label12, headingLeft, 8, headingWidth, 20);
    Label12.caption = "Online Update ";
    Label12.font.bold = true;
    Add(Label13, &Panel2);
    Place(Label13, headingLeft, 28, headingWidth, 32);
    Label13.wordWrap = true;
    Add(Label24, &Panel2);
    Place(Label24, headingLeft, 28, headingWidth, 32);
    Label24.wordWrap = true;
    Label24.visible = false;

    const int lineWidth = ClientWidth - 2 * Margin;
    Add(Label15, &Panel1);
    Place(Label15, Margin, 74, lineWidth, 22);
    Label15.font.bold = true;
    Add(Label14, &Panel1);
    Place(Label14, Margin, 100, lineWidth, 20);
    Add(Label10, &Panel1);
    Place(Label10, Margin, 132, 124, 20);
    Label10.caption = "Download Status:";
    Add(Label11, &Panel1);
    Place(Label11, Margin + 129, 132, lineWidth - 129, 20);
    Label11.doubleBuffered = true;
    Add(Gauge1, &Panel1);
    Place(Gauge1, Margin, 156, lineWidth, 20);
    Gauge1.doubleBuffered = true;
    Gauge1.maximum = 100;

    const int captionWidth = 190;
    const int rowValueLeft = Margin + captionWidth + 4;
    int rowTop = 262;
    for (auto [rowCaption, rowValue] : {std::pair{&Label18, &Label4}, {&Label2, &Label17}, {&Label16, &Label19}}) {
        Add(*rowCaption, &Panel1);
        Place(*rowCaption, Margin, rowTop, captionWidth, 20);
        Add(*rowValue, &Panel1);
        Place(*rowValue, rowValueLeft, rowTop, ClientWidth - Margin - rowValueLeft, 20);
        rowValue->font.bold = true;
        rowCaption->visible = rowValue->visible = false;
        rowTop += 24;
    }

    // Six memo lines of the form's font; the width is given when news arrive.
    Add(Panel3, &Panel1);
    Place(Panel3, 0, 126, 0, 128);
    Panel3.visible = false;
    Panel3.enabled = false;
    Add(Memo1, &Panel3);
    Place(Memo1, 20, 4, ClientWidth - 40, 120);
    Memo1.background = ui::ColorButtonFace;
    Memo1.readOnly = true;
    Memo1.wordWrap = false;
    Memo1.lines = {"New's:", "?", "?", "?", "?", "?"};

    Add(Panel7, &Panel1);
    Add(ColorBevel1, &Panel7);
    Bar(Panel7, ColorBevel1);
    Add(TryAgainBut, &Panel7);
    Button(TryAgainBut, 10, 208, RetryStop);
    TryAgainBut.visible = false;
    Add(DLBut, &Panel7);
    Button(DLBut, ActionButtonLeft, ButtonWidth, InstallStop);
    DLBut.enabled = false;
    Add(PZu2, &Panel7);
    Button(PZu2, CloseButtonLeft, ButtonWidth, CancelStop);

    Add(Timer2);
    Add(Timer3);
    for (ui::Timer* timer : {&Timer2, &Timer3}) {
        timer->enabled = false;
        timer->interval = 1000;
    }

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
}

}  // namespace kv
