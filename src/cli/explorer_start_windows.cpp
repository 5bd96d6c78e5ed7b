// When tarnvale-cli is started from Explorer rather than a console: says where the window program
// is and waits for a key.

#include "cli/explorer_start.h"

#include <conio.h>

#include <iostream>

#include "cli/exit_codes.h"

namespace tarnvale::cli {

int SayWhereTheWindowIs() {
  std::cout << "tarnvale-cli is Tarnvale's command-line tool: run it in a Command Prompt or "
               "PowerShell window (tarnvale-cli --help lists its commands). For the window, start "
               "Tarnvale from the Start menu, or tarnvale.exe beside this program.\n"
               "Press any key to close this window."
            << std::flush;
  _getwch();
  std::cout << '\n';
  return kExitUsage;
}

}  // namespace tarnvale::cli
