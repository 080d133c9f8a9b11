#include "ui/control.h"

namespace kv::ui {

void Place(Control& control, int left, int top, int width, int height) {
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
}

bool TakesInput(Kind kind) {
    return kind == Kind::Button || kind == Kind::FlatButton || kind == Kind::CheckBox || kind == Kind::Edit ||
           kind == Kind::ListBox;
}

bool EnabledWithParents(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->parent)
        if (!c->enabled) return false;
    return true;
}

bool EffectivelyEnabled(const Control& control) {
    return TakesInput(control.kind) ? EnabledWithParents(control) : control.enabled;
}

std::uint32_t BackgroundOf(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->parent)
        if (c->background != ColorDefault) return c->background;
    return ColorButtonFace;
}

}  // namespace kv::ui
