// `tarnvale-cli create`: the start-up checks and one creation run, without
// windows.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

// The program folder that a --target option names: a drive-letter folder is
// looked up in $WINEPREFIX and ~/.wine; for the chart program, the folder
// holding "Brisolt (FS2004)" is as good as the program's own folder. Empty,
// with `refusal` set, when no Wine prefix maps it.
std::filesystem::path TargetFolderOption(const std::filesystem::path& target, std::string& refusal);

// Runs the command, printing through `view`; returns the exit status.
// Ctrl-C and SIGTERM cancel the run while it is going.
[[nodiscard]] int RunCreateCommand(const CreateOptions& options, TerminalView& view);

}  // namespace tarnvale::cli
