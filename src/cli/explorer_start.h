// tarnvale-cli.exe opened from Explorer (a double-click) rather than typed
// in a Command Prompt or PowerShell window: Windows gives it a console of
// its own, which would vanish with its usage message before anyone reads it.
#pragma once

namespace tarnvale::cli {

// Says in a line that this is the command-line tool and where the window
// is, then waits for a key; returns the exit status (usage).
[[nodiscard]] int SayWhereTheWindowIs();

}  // namespace tarnvale::cli
