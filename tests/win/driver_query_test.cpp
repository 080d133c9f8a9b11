#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "windows_query.h"

namespace {

// A frame of this process with the kind of controls the wizard has.
class TestFrame {
public:
    TestFrame() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KvDriverTestFrame";
        RegisterClassA(&windowClass);
        frame_ = CreateWindowExA(0, "KvDriverTestFrame", "Karvell Netrefresh Tool V 8.1.10", WS_OVERLAPPEDWINDOW, 0, 0,
                                 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
        CreateWindowExA(0, "Button", "&Weiter >", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, frame_,
                        reinterpret_cast<HMENU>(101), nullptr, nullptr);
        CreateWindowExA(0, "Static", "Version 8.1.10 vom 01.02.2024", WS_CHILD, 10, 40, 200, 24, frame_,
                        reinterpret_cast<HMENU>(102), nullptr, nullptr);
        ShowWindow(frame_, SW_SHOW);
    }
    ~TestFrame() { DestroyWindow(frame_); }
    TestFrame(const TestFrame&) = delete;
    TestFrame& operator=(const TestFrame&) = delete;
    HWND get() const { return frame_; }

private:
    HWND frame_;
};

}  // namespace

TEST(DriverQuery, FindsTopLevelWindowsByClassTitleAndProgram) {
    TestFrame frame;
    WindowFilter filter;
    filter.className = "KvDriverTestFrame";
    filter.exe = "WIN_TESTS.EXE";  // program names match without regard to case
    auto found = TopLevelWindows(filter);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].hwnd, frame.get());
    EXPECT_EQ(found[0].text, "Karvell Netrefresh Tool V 8.1.10");
    EXPECT_TRUE(found[0].visible);
    filter.titlePart = "Netrefresh";
    EXPECT_EQ(TopLevelWindows(filter).size(), 1u);
    filter.title = "Karvell Netrefresh";  // exact titles only
    EXPECT_TRUE(TopLevelWindows(filter).empty());
    filter = WindowFilter{};
    filter.className = "KvDriverTestFrame";
    filter.exe = "KVUpdate.exe";
    EXPECT_TRUE(TopLevelWindows(filter).empty());
}

TEST(DriverQuery, ListsControlsWithTextIdAndState) {
    TestFrame frame;
    auto controls = Descendants(frame.get());
    ASSERT_EQ(controls.size(), 2u);
    auto button = std::find_if(controls.begin(), controls.end(), [](const WindowInfo& w) { return w.id == 101; });
    ASSERT_NE(button, controls.end());
    EXPECT_EQ(button->className, "Button");
    EXPECT_EQ(button->text, "&Weiter >");
    EXPECT_TRUE(button->visible);
    EXPECT_TRUE(button->enabled);
    auto label = std::find_if(controls.begin(), controls.end(), [](const WindowInfo& w) { return w.id == 102; });
    ASSERT_NE(label, controls.end());
    EXPECT_FALSE(label->visible);
    EXPECT_EQ(TextOf(label->hwnd), "Version 8.1.10 vom 01.02.2024");
}

TEST(DriverQuery, CaptionsReadWithoutAccessKeys) {
    EXPECT_EQ(WithoutAccessKey("&Weiter >"), "Weiter >");
    EXPECT_EQ(WithoutAccessKey("Proxy && Verbindung"), "Proxy & Verbindung");
    EXPECT_EQ(WithoutAccessKey("Ende&"), "Ende");
    EXPECT_EQ(WithoutAccessKey("OK"), "OK");
}
