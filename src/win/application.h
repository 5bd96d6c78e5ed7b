// The application: asks the start-up questions, then shows the main window
// until it closes.
#pragma once

#include "app/desktop_session.h"
#include "win/setup_dialogs.h"

namespace tarnvale::win {

// Makes the common controls and COM (for the folder chooser) ready on the
// calling thread, which then owns the windows.
void PrepareWindowThread();

// The whole program; returns its exit code (0 also when a setup dialog was
// closed without an answer).
[[nodiscard]] int RunTarnvale(WinStartupView& setup, TargetMemory& memory);

}  // namespace tarnvale::win
