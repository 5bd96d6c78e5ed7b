// `tarnvale-cli diff`: two database sets compared record by record; `tarnvale-cli status`: the
// set of a program's folder against the scenery it was built from.
#include "cli/set_commands.h"

#include <nlohmann/json.hpp>

#include "app/desktop_session.h"
#include "app/report_archive.h"
#include "app/scenery_manifest.h"
#include "app/set_comparison_report.h"
#include "app/startup.h"
#include "cli/exit_codes.h"
#include "output/set_comparison.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "platform/wine_prefix.h"

namespace tarnvale::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string JsonText(const json& value) {
  return value.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

// The set's files, or none after saying why there are none. A drive-letter
// path is found through a Wine prefix, as everywhere.
std::optional<std::vector<fs::path>> SetFiles(const fs::path& typed, std::ostream& errors) {
  const fs::path resolved =
      platform::ResolveTypedPath(platform::Utf8Of(typed), fs::current_path(), {});
  const fs::path& path = resolved.empty() ? typed : resolved;
  std::vector<fs::path> files = DatabaseSetFiles(path);
  if (!files.empty()) return files;
  std::error_code error;
  errors << platform::Utf8Of(path) << ": "
         << (fs::exists(path, error) ? "holds no database file" : "no such file or folder") << '\n';
  return std::nullopt;
}

std::string_view PendingText(PendingReplacement pending) {
  switch (pending) {
    case PendingReplacement::None:
      return "none pending";
    case PendingReplacement::Leftover:
      return "none pending; the next run or start removes a staging folder left by an "
             "interrupted run";
    case PendingReplacement::Finish:
      return "an interrupted replacement is pending: the next run or start puts the new "
             "database files in place";
    case PendingReplacement::PutBack:
      return "an interrupted replacement is pending: the next run or start puts the previous "
             "database files back";
  }
  return {};
}

std::string_view PendingWord(PendingReplacement pending) {
  switch (pending) {
    case PendingReplacement::None:
      return "none";
    case PendingReplacement::Leftover:
      return "leftover";
    case PendingReplacement::Finish:
      return "finish";
    case PendingReplacement::PutBack:
      return "put-back";
  }
  return {};
}

// "Scopel v5.0 (For FS2002/2004)", or "Program_Id 7" for a number without a name.
std::string ProgramText(const ProgramState& state) {
  const std::string_view name = TargetProgramName(CurrentTargetChoice(state));
  return name.empty() ? "Program_Id " + std::to_string(ToNumber(state.config.Program_Id))
                      : std::string(name);
}

std::string SimulatorText(FsVersion version, const std::string& folder) {
  const std::string_view name = SimulatorName(version);
  return (name.empty() ? "FS_Version " + std::to_string(ToNumber(version)) : std::string(name)) +
         " in " + folder;
}

// Each change on a line of its own: "  file added: <path>".
void PrintChanges(const SceneryChanges& changes, std::ostream& out) {
  const auto lines = [&out](const std::vector<std::string>& items, std::string_view what) {
    for (const std::string& item : items) out << "  " << what << ": " << item << '\n';
  };
  lines(changes.areas_added, "area added");
  lines(changes.areas_removed, "area removed");
  lines(changes.areas_switched_on, "area switched on");
  lines(changes.areas_switched_off, "area switched off");
  lines(changes.files_added, "file added");
  lines(changes.files_removed, "file removed");
  lines(changes.files_changed, "file changed");
}

std::string SceneryText(const SetStatus& status) {
  if (!status.now) return "cannot be read: " + status.scenery_problem;
  if (!status.built) return "no record of what the database files were built from";
  if (status.changes.Any()) {
    return "changed since the database files were built: " + ChangesCounts(status.changes);
  }
  return status.changes.library_rewritten
             ? "unchanged since the database files were built (Scenery.cfg was rewritten with "
               "the same areas)"
             : "unchanged since the database files were built";
}

void PrintStatus(const ProgramState& state, const SetStatus& status, std::ostream& out) {
  out << "Program: " << ProgramText(state) << " in " << platform::Utf8Of(state.TargetFolder) << '\n'
      << "Simulator: "
      << SimulatorText(state.config.FS_Version,
                       platform::Utf8Of(state.config.SimulatorFolder(state.TargetFolder)))
      << '\n'
      << "Database files: ";
  if (status.built) {
    out << "built " << status.built->built << " from "
        << SimulatorText(status.built->fs_version, status.built->simulator) << '\n';
  } else {
    out << "no run of this user recorded what they were built from\n";
  }
  out << "Replacement: " << PendingText(status.pending) << '\n'
      << "Scenery: " << SceneryText(status) << '\n';
  PrintChanges(status.changes, out);
  out << (status.Current() ? "The database files are current.\n"
                           : "The database files are not current: create them again.\n");
}

json StatusJson(const ProgramState& state, const SetStatus& status) {
  const SceneryChanges& changes = status.changes;
  json built = nullptr;
  if (status.built) {
    built = {{"time", status.built->built},
             {"fs_version", ToNumber(status.built->fs_version)},
             {"simulator", status.built->simulator}};
  }
  return {{"target", platform::Utf8Of(state.TargetFolder)},
          {"program", ProgramText(state)},
          {"fs_version", ToNumber(state.config.FS_Version)},
          {"simulator", platform::Utf8Of(state.config.SimulatorFolder(state.TargetFolder))},
          {"built", std::move(built)},
          {"pending", PendingWord(status.pending)},
          {"scenery",
           {{"changed", changes.Any()},
            {"other_simulator", changes.other_simulator},
            {"scenery_cfg_rewritten", changes.library_rewritten},
            {"areas_added", changes.areas_added},
            {"areas_removed", changes.areas_removed},
            {"areas_switched_on", changes.areas_switched_on},
            {"areas_switched_off", changes.areas_switched_off},
            {"files_added", changes.files_added},
            {"files_removed", changes.files_removed},
            {"files_changed", changes.files_changed}}},
          {"problem", status.scenery_problem},
          {"current", status.Current()}};
}

// The program's settings read from the folder the user named; false after
// saying why they cannot be.
bool ReadSettings(const fs::path& typed, ProgramState& state, std::ostream& errors) {
  const fs::path folder =
      platform::ResolveTypedPath(platform::Utf8Of(typed), fs::current_path(), {});
  if (folder.empty()) {
    errors << platform::UnresolvedDriveProblem(platform::Utf8Of(typed), {}) << '\n';
    return false;
  }
  state.TargetFolder = ProgramFolderIn(folder);
  const fs::path config = platform::FindFile(state.TargetFolder, "Program_Config.cfg");
  if (config.empty() || state.config.ReadProgramConfig(config) != CfgResult::Ok) {
    errors << TargetFolderProblem(state.TargetFolder) << '\n';
    return false;
  }
  if (!state.config.HasSimulator()) {
    errors << "No simulator is recorded in " << platform::Utf8Of(config)
           << ": no database files were built from one.\n";
    return false;
  }
  return true;
}

}  // namespace

int RunDiffCommand(const DiffOptions& options, std::ostream& out, std::ostream& errors) {
  const std::optional<std::vector<fs::path>> old_files = SetFiles(options.old_set, errors);
  const std::optional<std::vector<fs::path>> new_files = SetFiles(options.new_set, errors);
  if (!old_files || !new_files) return kExitError;
  const SetComparison comparison = CompareDatabaseSets(*old_files, *new_files);
  if (options.json) {
    json value = {{"old", platform::Utf8Of(options.old_set)},
                  {"new", platform::Utf8Of(options.new_set)}};
    value.update(ComparisonJson(comparison));
    out << JsonText(value);
  } else {
    out << platform::Utf8Of(options.new_set) << " compared with "
        << platform::Utf8Of(options.old_set) << ": " << ComparisonCounts(comparison) << ".\n"
        << ComparisonText(comparison);
  }
  for (const std::string& failure : comparison.failures) errors << failure << '\n';
  if (!comparison.failures.empty()) return kExitError;
  return comparison.Same() ? kExitSuccess : kExitChanged;
}

int RunStatusCommand(const StatusOptions& options, std::ostream& out, std::ostream& errors) {
  ProgramState state;
  state.report_archive = ReportArchiveFolder();
  if (!ReadSettings(options.target, state, errors)) return kExitError;
  const SetStatus status = StatusOfSet(state);
  if (options.json) {
    out << JsonText(StatusJson(state, status));
  } else {
    PrintStatus(state, status, out);
  }
  if (!status.now) {
    errors << status.scenery_problem << '\n';
    return kExitError;
  }
  return status.Current() ? kExitSuccess : kExitChanged;
}

}  // namespace tarnvale::cli
