#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace kv::ui {

enum class Position { ScreenCenter, OwnerCenter };

// A window as plain data: its controls in creation order (which is their
// z-order from bottom to top) and its timers.
class Form {
public:
    explicit Form(std::string formName) : name(std::move(formName)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string name;
    std::string caption;
    int clientWidth = 0, clientHeight = 0;
    int left = 0, top = 0;  // outer edges on the screen, kept current by the view
    Position position = Position::ScreenCenter;
    Font font;

    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<Timer*>& Timers() const { return timers_; }
    Control* Find(const std::string& controlName) const;

    // True for a control that is visible itself and whose parents are.
    bool Showing(const Control& control) const;
    // A click counts only on a control the user can see and use: one that
    // reaches a hidden or disabled control was sent from outside.
    bool AcceptsClick(const Control& control) const { return Showing(control) && EffectivelyEnabled(control); }
    // Left and top of a control in client coordinates.
    int ClientLeft(const Control& control) const;
    int ClientTop(const Control& control) const;

    // The view repaints on request (explicit repaints of the handlers).
    std::function<void()> repaintHook;
    void Repaint() { if (repaintHook) repaintHook(); }

    // Closing: a handler asks for it, the view (or a test) carries it out and
    // calls OnClose exactly once.
    void Close() { closeRequested = true; if (closeHook) closeHook(); }
    bool closeRequested = false;
    std::function<void()> closeHook;
    virtual void OnClose() {}

protected:
    Control& Add(Control& control, Control* parent = nullptr);
    Timer& Add(Timer& timer);

private:
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
};

}  // namespace kv::ui
