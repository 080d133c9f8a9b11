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

// Who owns a message box: the hidden application window or the wizard window.
enum class BoxOwner { Application, Wizard };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int MessageBox(BoxOwner owner, const std::string& text, const std::string& caption, unsigned flags) = 0;
};

}  // namespace kv::platform
