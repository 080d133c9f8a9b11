#pragma once
#include <string>

#include "ui/control.h"
#include "ui/form.h"

namespace kv::ui {

// What handlers need from the windowing system beyond their own data.
class UiHost {
public:
    virtual ~UiHost() = default;
    // Shows the dialog modally over the main window; returns after it closed.
    virtual void ShowModal(Form& dialog) = 0;
    // Opens the menu at an offset from the outer top-left corner of the
    // window of `over`, in the form's own units (96 dpi; the view scales it to
    // the window's density); the chosen item's handler runs before it returns.
    virtual void ShowPopup(PopupMenu& menu, const Form& over, int offsetX, int offsetY) = 0;
    virtual int TextWidth(const Font& font, const std::string& text) = 0;
};

}  // namespace kv::ui
