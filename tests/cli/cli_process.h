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
// arrives as soon as it installs its handler.
CliResult RunCli(const std::vector<std::string>& args, Interrupt interrupt = Interrupt::None);

}  // namespace tarnvale::testing
