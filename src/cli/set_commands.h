// `tarnvale-cli diff` and `tarnvale-cli status`: what differs between two
// database sets, and whether the set in a program's folder is current.
#pragma once

#include <filesystem>
#include <ostream>

namespace tarnvale::cli {

struct DiffOptions {
  std::filesystem::path old_set;  // a database file or a folder holding a set
  std::filesystem::path new_set;
  bool json = false;
};

// Prints what `new_set` adds, removes and changes against `old_set`.
// Returns 0 when they hold the same records, kExitChanged when they differ,
// 1 when either cannot be read whole.
[[nodiscard]] int RunDiffCommand(const DiffOptions& options, std::ostream& out,
                                 std::ostream& errors);

struct StatusOptions {
  std::filesystem::path target;
  bool json = false;
};

// Prints the program and simulator the settings name, how the set was
// built, any interrupted replacement and what changed in the scenery since.
// Returns 0 when the set is current, kExitChanged when it is not (or was
// not built by this user), 1 when the folder or its scenery cannot be read.
[[nodiscard]] int RunStatusCommand(const StatusOptions& options, std::ostream& out,
                                   std::ostream& errors);

}  // namespace tarnvale::cli
