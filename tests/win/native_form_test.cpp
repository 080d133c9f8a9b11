#include <gtest/gtest.h>

#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <string>

#include "fakes/test_world.h"
#include "report/tphpunit.h"
#include "wizard/tupinew.h"
#include "ui/app_identity.h"
#include "ui/win32/application_window.h"
#include "ui/win32/message_loop.h"
#include "ui/win32/win_ui_host.h"
#include "platform/win32/win_dialogs.h"

using namespace kv::ui;
using kv::ui::win32::NativeForm;

namespace {

// Windows need a display (Xvfb under Wine); without one these cases skip.
bool HaveDisplay() {
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

#define REQUIRE_DISPLAY() \
    if (!HaveDisplay()) GTEST_SKIP() << "no display"

// A small form with a control of each kind that the cases look at.
struct SampleForm : Form {
    SampleForm() : Form("KvSample") {
        caption = "Sample";
        clientWidth = 400;
        clientHeight = 300;
        Add(page);
        page.width = 400;
        page.height = 300;
        Add(title, &page);
        title.left = 10;
        title.top = 10;
        title.width = 200;
        title.height = 20;
        Add(go, &page);
        go.left = 10;
        go.top = 250;
        go.width = 100;
        go.height = 28;
        go.caption = "&Weiter";
        go.tabOrder = 0;
        Add(address, &page);
        address.left = 10;
        address.top = 40;
        address.width = 150;
        address.height = 22;
        address.maxLength = 15;
        address.tabOrder = 1;
        Add(gauge, &page);
        gauge.left = 10;
        gauge.top = 70;
        gauge.width = 300;
        gauge.height = 20;
        Add(news, &page);
        news.left = 0;
        news.top = 100;
        news.width = 400;
        news.height = 100;
        Add(memo, &news);
        memo.left = 10;
        memo.top = 4;
        memo.width = 380;
        memo.height = 90;
        memo.readOnly = true;
        Add(use, &page);
        use.left = 200;
        use.top = 40;
        use.width = 150;
        use.height = 22;
        use.caption = "Proxy verwenden";
        Add(tick);
    }
    void OnClose() override { ++closes; }

    Control page{"page", Kind::Panel};
    Control title{"title", Kind::Label};
    Control go{"go", Kind::Button};
    Control address{"address", Kind::Edit};
    Control gauge{"gauge", Kind::Progress};
    Control news{"news", Kind::Panel};
    Control memo{"memo", Kind::Memo};
    Control use{"use", Kind::CheckBox};
    Timer tick{"tick"};
    int closes = 0;
};

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND ChildAt(HWND top, int index) { return GetDlgItem(top, 1000 + index); }

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

TEST(NativeForm, MakesTheWindowAndOneChildPerControl) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    HWND top = view.Handle();
    char className[64] = {};
    GetClassNameA(top, className, sizeof className);
    EXPECT_STREQ(className, "TKvSample");
    EXPECT_EQ(TextOf(top), "Sample");
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 400 * view.Dpi() / 96);
    EXPECT_EQ(client.bottom, 300 * view.Dpi() / 96);
    const LONG style = GetWindowLongA(top, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    for (std::size_t i = 0; i < form.Controls().size(); ++i) EXPECT_NE(ChildAt(top, static_cast<int>(i)), nullptr);
    EXPECT_EQ(TextOf(ChildAt(top, 2)), "&Weiter");
    // Later controls lie above earlier ones: the memo above its panel.
    HWND memo = ChildAt(top, 6), news = ChildAt(top, 5);
    bool memoFirst = false;
    for (HWND w = GetWindow(top, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == memo) memoFirst = true;
        if (w == news) break;
    }
    EXPECT_TRUE(memoFirst);
}

TEST(NativeForm, CentresOnTheScreen) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    RECT r;
    GetWindowRect(view.Handle(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(form.left, r.left);
    EXPECT_EQ(form.top, r.top);
}

TEST(NativeForm, MirrorsTextsStateAndVisibilityOfParents) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    view.Show();
    HWND top = view.Handle();
    form.title.caption = "Prüfung läuft";
    form.gauge.maximum = 5000;
    form.gauge.position = 1025;
    form.memo.lines = {"New's:", "Zeile 2"};
    form.use.checked = true;
    form.go.enabled = false;
    form.news.visible = false;
    form.caption = "Neu";
    view.Mirror();
    EXPECT_EQ(TextOf(ChildAt(top, 1)), "Prüfung läuft");
    EXPECT_EQ(SendMessageA(ChildAt(top, 4), PBM_GETRANGE, FALSE, 0), 5000);
    EXPECT_EQ(SendMessageA(ChildAt(top, 4), PBM_GETPOS, 0, 0), 1025);
    EXPECT_EQ(TextOf(ChildAt(top, 6)), "New's:\r\nZeile 2");
    EXPECT_EQ(SendMessageA(ChildAt(top, 7), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(ChildAt(top, 2)));
    // The memo is visible itself but its panel is not.
    EXPECT_FALSE(IsWindowVisible(ChildAt(top, 5)));
    EXPECT_FALSE(IsWindowVisible(ChildAt(top, 6)));
    EXPECT_TRUE(IsWindowVisible(ChildAt(top, 1)));
    EXPECT_EQ(TextOf(top), "Neu");
}

TEST(NativeForm, MemoKeepsItsLeftTextMarginAfterResizing) {
    REQUIRE_DISPLAY();
    const auto leftEdge = [](const NativeForm& view) {
        RECT r;
        SendMessageA(ChildAt(view.Handle(), 6), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r.left;
    };
    SampleForm plain;
    const LONG systemLeft = leftEdge(NativeForm(plain, nullptr, false));
    SampleForm form;
    form.memo.textMarginLeft = 5;
    NativeForm view(form, nullptr, false);
    const LONG left = leftEdge(view);
    EXPECT_GT(left, systemLeft);
    form.memo.width = 340;  // resizing an edit resets its rectangle
    view.Mirror();
    EXPECT_EQ(leftEdge(view), left);
}

TEST(NativeForm, ADensityChangeRescalesTheLayoutAndTheFonts) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    HWND title = ChildAt(view.Handle(), 1);
    const auto fontBefore = SendMessageA(title, WM_GETFONT, 0, 0);
    RECT suggested;
    GetWindowRect(view.Handle(), &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
    SendMessageA(view.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(view.Dpi(), 144);
    RECT r;
    GetWindowRect(view.Handle(), &r);
    EXPECT_EQ(r.right - r.left, suggested.right - suggested.left);
    GetWindowRect(title, &r);
    EXPECT_EQ(r.right - r.left, 300);  // 200 at 96 dpi
    EXPECT_EQ(r.bottom - r.top, 30);
    POINT at{r.left, r.top};
    ScreenToClient(view.Handle(), &at);
    EXPECT_EQ(at.x, 15);
    EXPECT_NE(SendMessageA(title, WM_GETFONT, 0, 0), fontBefore);
    // A menu opened at an offset of the form's units lands where the scaled button is.
    GetWindowRect(view.Handle(), &r);
    const POINT menu = view.ScreenPoint(10, 20);
    EXPECT_EQ(menu.x, r.left + 15);
    EXPECT_EQ(menu.y, r.top + 30);
}

TEST(NativeForm, ClickRunsTheHandlerAndMirrorsWhatItChanged) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    view.Show();
    int clicks = 0;
    form.go.onClick = [&] {
        ++clicks;
        form.title.caption = "geklickt";
    };
    SendMessageA(ChildAt(view.Handle(), 2), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(TextOf(ChildAt(view.Handle(), 1)), "geklickt");
}

TEST(NativeForm, ControlsTheModelDisablesOrHidesIgnoreClicks) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    int clicks = 0;
    form.go.onClick = [&] { ++clicks; };
    form.go.visible = false;
    view.Mirror();
    // A click message sent from outside, as a driver would.
    SendMessageA(view.Handle(), WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    form.go.visible = true;
    form.page.enabled = false;
    view.Mirror();
    SendMessageA(view.Handle(), WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    EXPECT_EQ(clicks, 0);
    // A memo in a panel disabled for input lets the mouse through: no focus, no selection.
    HWND memo = ChildAt(view.Handle(), 6);
    form.page.enabled = true;
    EXPECT_NE(SendMessageA(memo, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    form.news.enabled = false;
    EXPECT_EQ(SendMessageA(memo, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST(NativeForm, TabFollowsTheTabOrderAndEnterClicksTheFocusedButton) {
    REQUIRE_DISPLAY();
    SampleForm form;
    form.address.tabOrder = 0;  // before the button, though created after it
    form.go.tabOrder = 1;
    int clicks = 0;
    form.go.onClick = [&] { ++clicks; };
    NativeForm view(form, nullptr, false);
    view.Show();
    HWND go = ChildAt(view.Handle(), 2), address = ChildAt(view.Handle(), 3);
    EXPECT_EQ(GetFocus(), address);
    const auto press = [](HWND target, WPARAM key) {
        MSG msg{target, WM_KEYDOWN, key, 0, 0, {0, 0}};
        return NativeForm::PreTranslate(msg);
    };
    EXPECT_TRUE(press(address, VK_TAB));
    EXPECT_EQ(GetFocus(), go);
    EXPECT_TRUE(press(go, VK_TAB));
    EXPECT_EQ(GetFocus(), address);  // round again
    SetFocus(go);
    press(go, VK_RETURN);
    EXPECT_EQ(clicks, 1);
}

TEST(NativeForm, CheckBoxClickUpdatesTheModelBeforeTheHandler) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    view.Show();
    bool seen = false;
    form.use.onClick = [&] { seen = form.use.checked; };
    SendMessageA(ChildAt(view.Handle(), 7), BM_CLICK, 0, 0);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(form.use.checked);
}

TEST(NativeForm, EditFiltersKeysLimitsLengthAndReportsItsText) {
    REQUIRE_DISPLAY();
    SampleForm form;
    form.address.onKeyPress = [](char c) { return c == 8 || c == '.' || (c >= '0' && c <= '9'); };
    NativeForm view(form, nullptr, false);
    HWND edit = ChildAt(view.Handle(), 3);
    for (char c : std::string("1a9.x2")) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(TextOf(edit), "19.2");
    EXPECT_EQ(form.address.caption, "19.2");
    for (char c : std::string("0123456789012345")) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(form.address.caption.size(), 15u);
    form.address.caption = "10.0.0.1";
    view.Mirror();
    EXPECT_EQ(TextOf(edit), "10.0.0.1");
}

TEST(NativeForm, TimerTicksUntilItsHandlerSwitchesItOff) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    int ticks = 0;
    form.tick.interval = 20;
    form.tick.onTimer = [&] {
        if (++ticks == 2) form.tick.enabled = false;
    };
    form.tick.enabled = true;
    view.Mirror();
    const DWORD until = GetTickCount() + 1000;
    while (GetTickCount() < until) {
        Pump();
        Sleep(5);
    }
    EXPECT_EQ(ticks, 2);
}

TEST(NativeForm, CloseFromAHandlerRunsOnCloseOnceAndEndsTheLoop) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    view.Show();
    form.go.onClick = [&] {
        form.Close();
        form.Close();
    };
    SendMessageA(ChildAt(view.Handle(), 2), BM_CLICK, 0, 0);
    EXPECT_TRUE(view.IsOpen());  // the close follows the handler, as the close box would
    kv::ui::win32::RunMessageLoop(view);
    EXPECT_FALSE(view.IsOpen());
    EXPECT_EQ(form.closes, 1);
    EXPECT_FALSE(form.closeHook);
}

// A failing handler unwinds no further: its error is a box of the
// application, so the rules of every box hold (WinDialogs below).
TEST(NativeForm, AHandlerErrorIsABoxOfTheApplicationAndDoesNotEndTheProgram) {
    REQUIRE_DISPLAY();
    static kv::test::ScriptedDialogs dialogs;  // the guard keeps it for the rest of the run
    NativeForm::ShowFailuresIn(dialogs);
    SampleForm form;
    NativeForm view(form, nullptr, false);
    form.go.onClick = [] { throw std::runtime_error("Schreibfehler"); };
    SendMessageA(view.Handle(), WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    EXPECT_TRUE(view.IsOpen());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].owner, kv::platform::BoxOwner::Application);
    EXPECT_EQ(dialogs.shown[0].text, "Schreibfehler");
    EXPECT_EQ(dialogs.shown[0].caption, kApplicationTitle);
    EXPECT_EQ(dialogs.shown[0].flags, kv::platform::MbOk | kv::platform::MbIconError);
}

TEST(NativeForm, RichTextLoadsItsFileAndShowsNothingWhenItIsMissing) {
    REQUIRE_DISPLAY();
    struct RtfForm : Form {
        RtfForm() : Form("KvRtf") {
            clientWidth = 300;
            clientHeight = 200;
            Add(rd);
            rd.width = 280;
            rd.height = 180;
            rd.readOnly = true;
        }
        Control rd{"RD", Kind::RichText};
    } form;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "kv_view_test.rtf";
    std::ofstream(path, std::ios::binary) << "{\\rtf1\\ansi {\\b fett} und normal\\par}";
    form.rd.caption = path;
    NativeForm view(form, nullptr, false);
    HWND rd = ChildAt(view.Handle(), 0);
    EXPECT_EQ(TextOf(rd).substr(0, 14), "fett und norma");
    form.rd.caption = path + ".missing";
    view.Mirror();
    EXPECT_EQ(TextOf(rd), "");
    std::remove(path.c_str());
}

TEST(WinUiHost, ModalDialogDisablesItsOwnerUntilItCloses) {
    REQUIRE_DISPLAY();
    SampleForm owner;
    NativeForm ownerView(owner, nullptr, false);
    ownerView.Show();
    SampleForm dialog;
    dialog.name = "KvDialog";
    dialog.position = Position::OwnerCenter;
    dialog.clientWidth = 200;
    dialog.clientHeight = 100;
    bool ownerWasDisabled = false;
    RECT shown{};
    dialog.tick.interval = 30;
    dialog.tick.enabled = true;
    dialog.tick.onTimer = [&] {
        ownerWasDisabled = !IsWindowEnabled(ownerView.Handle());
        GetWindowRect(GetForegroundWindow(), &shown);
        dialog.tick.enabled = false;
        dialog.Close();
    };
    kv::ui::win32::WinUiHost host;
    host.ShowModal(dialog);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(ownerView.Handle()));
    EXPECT_EQ(dialog.closes, 1);
    // Centred on the owner.
    RECT o;
    GetWindowRect(ownerView.Handle(), &o);
    EXPECT_NEAR((shown.left + shown.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (o.top + o.bottom) / 2, 1);
    EXPECT_LT(shown.right - shown.left, o.right - o.left);
}

TEST(WinUiHost, TextWidthMeasuresWithTheGivenFont) {
    kv::ui::win32::WinUiHost host;
    Font regular;
    Font bold;
    bold.bold = true;
    const int plain = host.TextWidth(regular, "Proxy Einstellungen");
    EXPECT_GT(plain, 0);
    EXPECT_GT(host.TextWidth(bold, "Proxy Einstellungen"), plain);
    EXPECT_GT(host.TextWidth(regular, "WWWW"), host.TextWidth(regular, "iiii"));
    EXPECT_EQ(host.TextWidth(regular, ""), 0);
    // The layouts are drawn for Arial's metrics (18101 font units for this
    // text at 16 px per em); a substituted font of other widths breaks them.
    EXPECT_NEAR(plain, 141, 4);
}

// The progress handler measures Label10's caption once per 1025-byte chunk:
// the host remembers widths, and a remembered one must still belong to its
// own font and text, also after the memory was cleared for a stream of
// counter texts.
TEST(WinUiHost, RememberedWidthsBelongToTheirFontAndText) {
    kv::ui::win32::WinUiHost host;
    Font label;
    Font large;
    large.height = 24;
    const int first = host.TextWidth(label, "Download Status:");
    EXPECT_GT(host.TextWidth(large, "Download Status:"), first);
    EXPECT_GT(host.TextWidth(label, "Download Status: x"), first);
    for (int i = 0; i < 300; ++i) host.TextWidth(label, std::to_string(i) + " Bytes von 67108864 Bytes geladen");
    EXPECT_EQ(host.TextWidth(label, "Download Status:"), first);
    constexpr int kSteps = 5000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i) host.TextWidth(label, "Download Status:");
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ measure  ] width of a remembered text: %.2f us\n", us / kSteps);
}

TEST(ApplicationWindow, ASecondInstanceFindsItWhateverTheCaseOfTheTitle) {
    REQUIRE_DISPLAY();
    EXPECT_FALSE(kv::ui::win32::RaiseRunningInstance());
    {
        kv::ui::win32::ApplicationWindow application;
        EXPECT_FALSE(IsWindowVisible(application.Handle()));
        EXPECT_EQ(FindWindowA("TApplication", "KvUpdate"), application.Handle());
        EXPECT_TRUE(kv::ui::win32::RaiseRunningInstance());
    }
    EXPECT_FALSE(kv::ui::win32::RaiseRunningInstance());
}

TEST(ApplicationWindow, RestoringItShowsTheMainWindowInstead) {
    REQUIRE_DISPLAY();
    kv::ui::win32::ApplicationWindow application;
    SampleForm form;
    NativeForm view(form, nullptr, false);
    view.Show();
    application.SetMainWindow(view.Handle());
    ShowWindow(application.Handle(), SW_RESTORE);  // what a second instance may do
    Pump();
    EXPECT_FALSE(IsWindowVisible(application.Handle()));
    EXPECT_EQ(GetForegroundWindow(), view.Handle());
}

// The download raises one progress event per 1025-byte chunk, and every
// event mirrors all of the wizard window: that must cost next to nothing
// when only the gauge moved.
TEST(NativeForm, MirroringTheWizardAfterAProgressStepIsCheap) {
    REQUIRE_DISPLAY();
    kv::test::TestWorld world;
    kv::TPHPunit report(world.Services());
    kv::TUpInew wizard(world.Services(), &report);
    wizard.Panel4.visible = false;
    wizard.Panel1.visible = true;
    const auto created = std::chrono::steady_clock::now();
    NativeForm view(wizard, nullptr, false);
    std::printf("[ measure  ] the wizard's window made: %.1f ms\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - created).count());
    constexpr int kSteps = 2000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i) {
        wizard.Gauge1.position = i % 100;
        NativeForm::MirrorAll();
    }
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ measure  ] mirror after a progress step: %.1f us\n", us / kSteps);
    const auto& controls = wizard.Controls();
    const int gauge = static_cast<int>(std::find(controls.begin(), controls.end(), &wizard.Gauge1) - controls.begin());
    EXPECT_EQ(SendMessageA(ChildAt(view.Handle(), gauge), PBM_GETPOS, 0, 0), (kSteps - 1) % 100);
    EXPECT_LT(us / kSteps, 1000.0);
}

// Progress steps arrive once per 1025-byte chunk: the model takes every one,
// the window is mirrored at most once per interval, and a timer shows the
// last step soon after the stream has paused.
TEST(NativeForm, FrequentHandlersAreMirroredAtAReadableRateAndCaughtUp) {
    REQUIRE_DISPLAY();
    SampleForm form;
    form.gauge.maximum = 1000;
    NativeForm view(form, nullptr, false);
    HWND gauge = ChildAt(view.Handle(), 4);
    const DWORD start = GetTickCount();
    NativeForm::RunHandler([] {});
    int handled = 0;
    for (int step = 1; step <= 200; ++step)
        NativeForm::RunFrequentHandler([&, step] {
            form.gauge.position = step;
            ++handled;
        });
    const LRESULT shownAfterBurst = SendMessageA(gauge, PBM_GETPOS, 0, 0);
    const DWORD burst = GetTickCount() - start;
    EXPECT_EQ(handled, 200);
    EXPECT_EQ(form.gauge.position, 200);
    if (burst + 5 < NativeForm::kFrequentMirrorMillis) {
        EXPECT_EQ(shownAfterBurst, 0) << "mirrored within the interval";
    }
    const DWORD until = GetTickCount() + 2000;
    while (SendMessageA(gauge, PBM_GETPOS, 0, 0) != 200 && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    EXPECT_EQ(SendMessageA(gauge, PBM_GETPOS, 0, 0), 200);
}

// A click or a completion after a burst of progress shows everything at once.
TEST(NativeForm, AnOrdinaryHandlerMirrorsWhatFrequentOnesLeftPending) {
    REQUIRE_DISPLAY();
    SampleForm form;
    NativeForm view(form, nullptr, false);
    NativeForm::RunHandler([] {});
    NativeForm::RunFrequentHandler([&] { form.title.caption = "12 Bytes von 99 Bytes geladen"; });
    NativeForm::RunHandler([&] { form.gauge.position = 7; });
    EXPECT_EQ(TextOf(ChildAt(view.Handle(), 1)), "12 Bytes von 99 Bytes geladen");
    EXPECT_EQ(SendMessageA(ChildAt(view.Handle(), 4), PBM_GETPOS, 0, 0), 7);
}

namespace {

// What a box's own message loop sees while the box is up.
struct WhileBoxIsUp {
    HWND wizard = nullptr, dialog = nullptr;
    bool wizardEnabled = true, dialogEnabled = true;
    std::string title;
};
WhileBoxIsUp seen;

void CALLBACK LookAndAnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "KvBox");
    if (box == nullptr) return;  // not up yet
    KillTimer(nullptr, id);
    seen.wizardEnabled = IsWindowEnabled(seen.wizard) != FALSE;
    if (seen.dialog != nullptr) seen.dialogEnabled = IsWindowEnabled(seen.dialog) != FALSE;
    seen.title = TextOf(ChildAt(seen.wizard, 1));
    // A click and a close request sent from outside while the box holds the wizard.
    SendMessageA(seen.wizard, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    SendMessageA(seen.wizard, WM_CLOSE, 0, 0);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(WinDialogs, BoxesHoldTheirWindowsAndStandOverWhatTheHandlerSet) {
    REQUIRE_DISPLAY();
    using kv::platform::BoxOwner;
    struct Case {
        BoxOwner owner;
        bool dialogOpen;
        bool dialogHeld;
    };
    const Case cases[] = {{BoxOwner::Application, false, false},
                          {BoxOwner::Application, true, true},
                          {BoxOwner::Wizard, false, false},
                          {BoxOwner::OpenDialog, true, true}};
    kv::ui::win32::ApplicationWindow application;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.owner) * 10 + c.dialogOpen);
        SampleForm wizard;
        NativeForm wizardView(wizard, nullptr, false);
        wizardView.Show();
        SampleForm dialog;
        dialog.name = "KvDialog";
        std::optional<NativeForm> dialogView;
        if (c.dialogOpen) {
            dialogView.emplace(dialog, wizardView.Handle(), true);
            dialogView->Show();
        }
        int clicks = 0;
        wizard.go.onClick = [&] { ++clicks; };
        kv::platform::win32::WinDialogs dialogs;
        dialogs.SetOwnerWindow(BoxOwner::Application, application.Handle());
        dialogs.SetOwnerWindow(BoxOwner::Wizard, wizardView.Handle());
        dialogs.SetView([] { return NativeForm::Topmost()->Handle(); }, [] { NativeForm::MirrorAll(); });
        seen = WhileBoxIsUp{};
        seen.wizard = wizardView.Handle();
        seen.dialog = c.dialogOpen ? dialogView->Handle() : nullptr;
        wizard.title.caption = "set before the box";
        SetTimer(nullptr, 0, 50, LookAndAnswerBox);
        dialogs.MessageBox(c.owner, "Text", "KvBox", kv::platform::MbOk);
        EXPECT_FALSE(seen.wizardEnabled);
        EXPECT_EQ(seen.dialogEnabled, !c.dialogHeld);
        EXPECT_EQ(seen.title, "set before the box");
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(wizard.closes, 0);
        EXPECT_EQ(IsWindowEnabled(wizardView.Handle()) != FALSE, !c.dialogOpen);
        if (c.dialogOpen) {
            EXPECT_TRUE(IsWindowEnabled(dialogView->Handle()));
        }
    }
}
