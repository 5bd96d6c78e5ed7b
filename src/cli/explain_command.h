// `tarnvale-cli explain`: every record of one ident in the scenery the
// settings name, where it came from and what decided between them.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "domain/simulation.h"

namespace tarnvale::cli {

struct ExplainOptions {
  std::string ident;
  std::filesystem::path target;  // folder holding Program_Config.cfg
  std::optional<std::filesystem::path> simulator;
  FsVersion fs_version = FsVersion::None;  // given with `simulator`
  bool json = false;
};

// Reads the scenery in memory (nothing is written, not even to the target
// folder) and prints the explanation to `out`, problems to `errors`.
// Returns the exit status: 0 records found, 1 none or an error, 2 no
// simulator recorded or given.
[[nodiscard]] int RunExplainCommand(const ExplainOptions& options, std::ostream& out,
                                    std::ostream& errors);

}  // namespace tarnvale::cli
