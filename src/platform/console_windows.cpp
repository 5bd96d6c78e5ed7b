#include "platform/windows_system.h"

namespace tarnvale::platform {

bool StartedInOwnConsole() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

}  // namespace tarnvale::platform
