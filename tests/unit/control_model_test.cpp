#include <gtest/gtest.h>

#include "ui/form.h"

namespace {

using kv::ui::Control;
using kv::ui::Kind;

// A page panel holding a button, a label and an edit field.
class Page : public kv::ui::Form {
public:
    Page() : Form("Page") {
        Add(panel);
        Add(button, &panel);
        Add(label, &panel);
        Add(edit, &panel);
    }
    Control panel{"Panel", Kind::Panel}, button{"Button", Kind::Button}, label{"Label", Kind::Label},
        edit{"Edit", Kind::Edit};
};

TEST(ControlModel, InputFollowsItsParentsWhileTextsKeepTheirLook) {
    struct Row {
        bool panelVisible, panelEnabled, buttonEnabled;
        bool buttonUsable, labelEnabled, editEnabled;
    };
    const Row rows[] = {
        {true, true, true, true, true, true},
        {true, false, true, false, true, false},  // a disabled panel holds its input controls only
        {true, true, false, false, true, true},
        {false, true, true, false, true, true},   // a hidden panel hides its button from clicks
    };
    for (const Row& row : rows) {
        Page page;
        page.panel.visible = row.panelVisible;
        page.panel.enabled = row.panelEnabled;
        page.button.enabled = row.buttonEnabled;
        EXPECT_EQ(page.AcceptsClick(page.button), row.buttonUsable);
        EXPECT_EQ(EffectivelyEnabled(page.label), row.labelEnabled);
        EXPECT_EQ(EffectivelyEnabled(page.edit), row.editEnabled);
    }
}

TEST(ControlModel, BackgroundComesFromTheNearestControlThatSetsOne) {
    Page page;
    EXPECT_EQ(BackgroundOf(page.label), kv::ui::ColorButtonFace);
    page.panel.background = 0x00FFFFFF;
    EXPECT_EQ(BackgroundOf(page.label), 0x00FFFFFFu);
    page.label.background = 0x000000FF;
    EXPECT_EQ(BackgroundOf(page.label), 0x000000FFu);
    EXPECT_EQ(BackgroundOf(page.button), 0x00FFFFFFu);
}

}  // namespace
