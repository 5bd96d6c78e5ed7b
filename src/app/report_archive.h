// Every run's report kept in the user's state folder, so that a problem can
// be looked at after the window is closed. Only the last ten are kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/run_summary.h"

namespace tarnvale {

inline constexpr std::size_t kReportsKept = 10;

// The user's state folder for the program (platform::UserStateFolder):
// $XDG_STATE_HOME/tarnvale, or ~/.local/state/tarnvale when that is not set
// (an XDG_STATE_HOME that is not absolute is ignored); on Windows
// %LOCALAPPDATA%\Tarnvale. Empty when none can be found.
std::filesystem::path ReportArchiveFolder();

// Writes the report of `summary` into `folder` (created when missing) as
// "run-<UTC date and time>-<number>.json" and removes the oldest reports
// beyond the last kReportsKept, and the temporary files of reports whose
// writing a kill cut short. Returns the file written, or std::nullopt
// with `error` set when it could not be written.
[[nodiscard]] std::optional<std::filesystem::path> KeepReport(const RunSummary& summary,
                                                              const std::filesystem::path& folder,
                                                              std::string& error);

// The run of the newest report kept in `folder` whose target is
// `target_folder`, as far as the report tells it (not the records of each
// area); std::nullopt when there is none or none can be read.
std::optional<RunSummary> LastKeptRun(const std::filesystem::path& folder,
                                      const std::filesystem::path& target_folder);

}  // namespace tarnvale
