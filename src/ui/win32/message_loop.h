#pragma once
#include <functional>

#include "ui/win32/native_form.h"

namespace kv::ui::win32 {

// How the program's own message loops wait: until messages are there, or
// also until a worker hands over work, which the wait then runs (true).
using MessageWait = std::function<bool(unsigned long milliseconds)>;
void SetMessageWait(MessageWait wait);

// Runs the thread's messages until `form` has closed (or the program is
// asked to quit, which is passed on to any outer loop).
void RunMessageLoop(const NativeForm& form);

// Waits a little for messages and handles those that have arrived: the
// waiting mode of the download component calls it until its transfer ends.
void PumpPendingMessages();

}  // namespace kv::ui::win32
