// Runs the real tarnvale-cli binary and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace tarnvale::testing {

struct CliResult {
  int exit_code = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

enum class Interrupt { None, AtStart };

// Runs tarnvale-cli with `args` and waits for it. With Interrupt::AtStart the
// program starts with SIGINT blocked and already pending, so the signal
// arrives as soon as it installs its handler (not on Windows, which has no
// such thing: callers skip there).
CliResult RunCli(const std::vector<std::string>& args, Interrupt interrupt = Interrupt::None);

#ifdef _WIN32
// Starts tarnvale-cli with `args` (UTF-8), its standard output and error
// going to the inheritable handles `out` and `err`. Returns the process
// handle, which the caller closes; throws when it cannot start.
void* StartCli(const std::vector<std::string>& args, void* out, void* err);
// Waits for the process `process` and closes its handle; its exit code.
int WaitForCli(void* process);
#endif

}  // namespace tarnvale::testing
