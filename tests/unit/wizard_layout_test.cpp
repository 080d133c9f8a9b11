#include <gtest/gtest.h>

#include <set>

#include "fakes/test_world.h"
#include "wizard/tupinew.h"

namespace {

using kv::ui::Control;

class WizardLayout : public ::testing::Test {
protected:
    kv::test::TestWorld world;
    kv::TUpInew wizard{world.Services(), nullptr};
};

TEST_F(WizardLayout, PagesAndBarsFillTheWindow) {
    EXPECT_EQ(wizard.clientWidth, 598);
    EXPECT_EQ(wizard.clientHeight, 432);
    EXPECT_TRUE(wizard.Panel4.visible);
    EXPECT_FALSE(wizard.Panel1.visible);
    for (const Control* page : {&wizard.Panel4, &wizard.Panel1}) {
        EXPECT_EQ(page->width, 598) << page->name;
        EXPECT_EQ(page->height, 432) << page->name;
    }
    for (const Control* bar : {&wizard.Panel5, &wizard.Panel7}) {
        EXPECT_EQ(bar->height, 51) << bar->name;
        EXPECT_EQ(bar->top + bar->height, 432) << bar->name << " lies along the bottom";
    }
    EXPECT_EQ(wizard.Image1.width, 189);
    EXPECT_EQ(wizard.Image1.top + wizard.Image1.height, wizard.Panel5.top) << "the picture meets the bar";
}

TEST_F(WizardLayout, NewsPanelWaitsHiddenWithItsDesignLines) {
    EXPECT_FALSE(wizard.Panel3.visible);
    EXPECT_EQ(wizard.Panel3.width, 0);
    EXPECT_FALSE(wizard.Panel3.enabled);
    EXPECT_EQ(wizard.Memo1.lines, (std::vector<std::string>{"New's:", "?", "?", "?", "?", "?"}));
    EXPECT_GE(wizard.Memo1.height, 6 * 18) << "room for six lines of the form's font";
    EXPECT_LE(wizard.Memo1.top + wizard.Memo1.height, wizard.Panel3.height);
    EXPECT_LE(wizard.Panel3.top + wizard.Panel3.height, wizard.Label18.top) << "the result rows stay visible";
    EXPECT_GE(wizard.Panel3.top, wizard.Label14.top + wizard.Label14.height) << "the status lines stay visible";
    EXPECT_FALSE(wizard.DLBut.enabled);
    EXPECT_FALSE(wizard.TryAgainBut.visible);
    for (const kv::ui::Timer* timer : {&wizard.Timer2, &wizard.Timer3}) {
        EXPECT_FALSE(timer->enabled) << timer->name;
        EXPECT_EQ(timer->interval, 1000) << timer->name;
    }
}

// A control sticking out of its parent is cut off by the view.
TEST_F(WizardLayout, EveryControlLiesInsideItsParent) {
    for (const Control* c : wizard.Controls()) {
        const int parentWidth = c->parent ? c->parent->width : wizard.clientWidth;
        const int parentHeight = c->parent ? c->parent->height : wizard.clientHeight;
        if (c->parent == &wizard.Panel3) continue;  // the news panel gets its width when news arrive
        EXPECT_GE(c->left, 0) << c->name;
        EXPECT_GE(c->top, 0) << c->name;
        EXPECT_LE(c->left + c->width, parentWidth) << c->name;
        EXPECT_LE(c->top + c->height, parentHeight) << c->name;
    }
    EXPECT_LE(wizard.Memo1.left + 558, 598) << "the widened memo fits the widened panel";
}

TEST_F(WizardLayout, EveryButtonIsATabStopOfItsOwn) {
    std::set<int> orders;
    for (const Control* c : wizard.Controls()) {
        const bool button = c->kind == kv::ui::Kind::Button || c->kind == kv::ui::Kind::FlatButton;
        if (button) {
            EXPECT_GE(c->tabOrder, 0) << c->name;
        }
        if (c->tabOrder >= 0) {
            EXPECT_TRUE(orders.insert(c->tabOrder).second) << c->name << " shares its place";
        }
    }
    EXPECT_LT(wizard.DownLoadNewVersion1.tabOrder, wizard.Pzu.tabOrder) << "next comes first";
    EXPECT_LT(wizard.DLBut.tabOrder, wizard.PZu2.tabOrder);
}

// The check start widens the heading to the band's width less twice its left
// edge; the picture must stay clear of it then.
TEST_F(WizardLayout, TheWidenedHeadingLeavesThePictureFree) {
    const int headingRight = wizard.Panel2.width - wizard.Label13.left;
    const bool pictureLeft = wizard.Image2.left + wizard.Image2.width <= wizard.Label13.left;
    const bool pictureRight = wizard.Image2.left >= headingRight;
    EXPECT_TRUE(pictureLeft || pictureRight);
    EXPECT_LE(wizard.Label13.top + 32, wizard.Panel2.height);
}

// The catalogue's mnemonics of the buttons that one page shows together
// must differ, or Alt+letter only moves the focus between them.
TEST_F(WizardLayout, MnemonicsOfTheWelcomePageAreDistinctInBothLanguages) {
    for (int language : {1, 2}) {
        wizard.Language = language;
        const std::string next = wizard.GL(44), close = wizard.GL(47);
        ASSERT_EQ(next[0], '&');
        ASSERT_EQ(close[0], '&');
        EXPECT_NE(next[1], close[1]) << language;
    }
}

}  // namespace
