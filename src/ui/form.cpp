#include "ui/form.h"

namespace kv::ui {

Control& Form::Add(Control& control, Control* parent) {
    control.parent = parent;
    controls_.push_back(&control);
    return control;
}

Timer& Form::Add(Timer& timer) {
    timers_.push_back(&timer);
    return timer;
}

Control* Form::Find(const std::string& controlName) const {
    for (Control* c : controls_)
        if (c->name == controlName) return c;
    return nullptr;
}

bool Form::Showing(const Control& control) const {
    for (const Control* c = &control; c != nullptr; c = c->parent)
        if (!c->visible) return false;
    return true;
}

int Form::ClientLeft(const Control& control) const {
    int x = 0;
    for (const Control* c = &control; c != nullptr; c = c->parent) x += c->left;
    return x;
}

int Form::ClientTop(const Control& control) const {
    int y = 0;
    for (const Control* c = &control; c != nullptr; c = c->parent) y += c->top;
    return y;
}

}  // namespace kv::ui
