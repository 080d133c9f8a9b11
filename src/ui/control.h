#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::ui {

enum class Kind { Panel, Label, Button, FlatButton, CheckBox, Edit, Progress, Memo, RichText, ListBox, Image, Bevel };

inline constexpr std::uint32_t ColorBlack = 0x000000;
inline constexpr std::uint32_t ColorBlue = 0xFF0000;  // COLORREF order: 0x00BBGGRR
inline constexpr std::uint32_t ColorButtonFace = 0x80000000u | 15;  // system colour COLOR_BTNFACE
inline constexpr std::uint32_t ColorDefault = 0xFFFFFFFFu;         // the control's own

struct Font {
    std::string face = "Arial";
    int height = 16;  // pixels
    bool bold = false, italic = false, underline = false;
    std::uint32_t color = ColorBlack;
};

// One control of a window as plain data. Handlers change the data; a native
// view mirrors it into the real control after every event.
struct Control {
    Control(std::string controlName, Kind controlKind) : name(std::move(controlName)), kind(controlKind) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    std::string name;
    Kind kind;
    Control* parent = nullptr;  // null: the window's client area

    int left = 0, top = 0, width = 0, height = 0;  // relative to the parent
    std::string caption;   // label/button text, edit text, rich-text file to load
    std::string hint;      // tooltip
    bool visible = true;
    bool enabled = true;
    Font font;
    std::uint32_t background = ColorDefault;
    bool wordWrap = false;
    bool handCursor = false;
    bool doubleBuffered = false;

    // Kind-specific state.
    int position = 0, maximum = 100;  // Progress
    std::vector<std::string> lines;   // Memo, ListBox
    bool checked = false;             // CheckBox
    int maxLength = 0;                // Edit (0 = unlimited)
    bool readOnly = false;            // Edit, Memo, RichText
    int imageId = 0;                  // Image: resource id
    bool stretch = false;             // Image
    int textMarginLeft = 0;           // Memo formatting rectangle's left edge
    int tabOrder = -1;                // -1: not a tab stop

    std::function<void()> onClick;
    // Return false to swallow the typed character.
    std::function<bool(char)> onKeyPress;
};

// Puts a control at its place in its parent, as a layout gives it.
void Place(Control& control, int left, int top, int width, int height);

// Controls that take input (buttons, check boxes, edits, list boxes).
bool TakesInput(Kind kind);
// False when the control or any of its parents is disabled.
bool EnabledWithParents(const Control& control);
// Input controls are disabled with their parents; a disabled panel leaves the
// look of its texts alone.
bool EffectivelyEnabled(const Control& control);
// The first background set on the control or its parents; the button face
// when none is.
std::uint32_t BackgroundOf(const Control& control);

struct Timer {
    explicit Timer(std::string timerName) : name(std::move(timerName)) {}
    std::string name;
    bool enabled = false;
    int interval = 1000;
    std::function<void()> onTimer;
};

struct MenuItem {
    std::string caption;
    std::function<void()> onClick;
};

struct PopupMenu {
    std::string name;
    std::vector<MenuItem> items;
};

}  // namespace kv::ui
