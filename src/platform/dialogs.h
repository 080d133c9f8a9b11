#pragma once
#include <string>

namespace kv::platform {

// The values are the Win32 MB_* and ID* codes.
enum MessageBoxFlags : unsigned {
    MbOk = 0x0,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
};
enum MessageBoxResult : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

// Who owns a message box, and so which windows take no input while it is up:
// a box of the application holds every window of the program; a box of the
// wizard holds the wizard; a box of the open dialog holds the dialog that is
// open over the wizard (the wizard itself when none is).
enum class BoxOwner { Application, Wizard, OpenDialog };

// Before a box opens, the windows show what the handler has set so far.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) = 0;
};

}  // namespace kv::platform
