// `tarnvale-cli create`: the start-up checks and one creation run, without
// windows.
#pragma once

#include <filesystem>
#include <optional>

#include "cli/terminal_view.h"
#include "domain/simulation.h"

namespace tarnvale::cli {

struct CreateOptions {
  std::filesystem::path target;  // folder holding Program_Config.cfg
  std::optional<std::filesystem::path> simulator;
  FsVersion fs_version = FsVersion::None;       // given with `simulator`
  std::optional<std::filesystem::path> report;  // where to write the run's report as JSON
  unsigned threads = 0;                         // loading threads; 0: one per core
};

// Runs the command, printing through `view`; returns the exit status.
// Ctrl-C and SIGTERM cancel the run while it is going.
[[nodiscard]] int RunCreateCommand(const CreateOptions& options, TerminalView& view);

}  // namespace tarnvale::cli
