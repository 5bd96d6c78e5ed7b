// `tarnvale-cli gen-scenery` and `tarnvale-cli demo`: synthetic simulator
// installations made with the project's own scenery builder.
#pragma once

#include <filesystem>
#include <string>

#include "cli/terminal_view.h"
#include "sceneryfab/installation_generator.h"

namespace tarnvale::cli {

// Writes the installation and prints what it holds; returns the exit status.
[[nodiscard]] int RunGenSceneryCommand(const fab::GenerateOptions& options, std::ostream& out);

struct DemoOptions {
  std::filesystem::path dir = "tarnvale-demo";
  FsVersion fs_version = FsVersion::Fs2004;
  TargetProgram program = TargetProgram::Chart;
};

// Builds a demo simulator and a sample program folder in `options.dir`, runs
// `create` on them and says where the database files are.
[[nodiscard]] int RunDemoCommand(const DemoOptions& options, TerminalView& view);

}  // namespace tarnvale::cli
