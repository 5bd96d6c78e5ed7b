// Whether the program has a console of its own: started from Explorer rather than from a Command
// Prompt.

#include "platform/windows_system.h"

namespace tarnvale::platform {

bool StartedInOwnConsole() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

}  // namespace tarnvale::platform
