// `tarnvale-cli explain`: the settings read without claiming the target
// folder, the simulator of the options put in their place in memory only,
// the scenery read and bound, and the ident's records printed.
#include "cli/explain_command.h"

#include <ostream>

#include "app/ident_explanation.h"
#include "app/report_archive.h"
#include "app/scenery_manifest.h"
#include "app/startup.h"
#include "cli/create_command.h"
#include "cli/exit_codes.h"
#include "platform/paths.h"

namespace tarnvale::cli {
namespace {

// The settings of the target folder, with the simulator of the options in
// place of the one they record; an exit status when there are none to use.
std::optional<int> ReadSettings(const ExplainOptions& options, ProgramState& state,
                                std::ostream& errors) {
  std::string problem;
  const std::filesystem::path folder = TargetFolderOption(options.target, problem);
  if (folder.empty()) {
    errors << problem << '\n';
    return kExitError;
  }
  if (const std::optional<std::string> unread = ReadProgramConfigIn(state, folder)) {
    errors << *unread << '\n';
    return kExitError;
  }
  if (options.simulator) {
    const DialogAnswer answer =
        CheckSimulatorAnswer(options.fs_version, platform::Utf8Of(*options.simulator),
                             std::filesystem::current_path(), state.TargetFolder);
    if (!answer.accepted) {
      errors << answer.message << '\n';
      return kExitError;
    }
    ReplaceSimulator(state, {options.fs_version, answer.folder});
  } else if (NeedsSimulator(state)) {
    errors << "No simulator is recorded in "
           << platform::Utf8Of(state.TargetFolder / "Program_Config.cfg")
           << ": pass --simulator DIR and --fs-version " << SimulatorChoicesText() << ".\n";
    return kExitUsage;
  }
  return std::nullopt;
}

// When the scenery the settings name changed since the set in the folder
// was built: "The scenery has changed since the database files were built
// on <time>: <what>.", so that records read now are not taken for those the
// files hold. Empty otherwise, and for a simulator given in the options.
std::string SceneryChangedSince(const ExplainOptions& options, ProgramState& state) {
  if (options.simulator) return {};
  state.report_archive = ReportArchiveFolder();
  const std::vector<std::string> notice = SceneryChangeNotice(state);
  return notice.size() < 2 ? std::string() : notice[0] + ' ' + notice[1];
}

}  // namespace

int RunExplainCommand(const ExplainOptions& options, std::ostream& out, std::ostream& errors) {
  ProgramState state;
  if (const std::optional<int> status = ReadSettings(options, state, errors)) return *status;
  const std::string changed = SceneryChangedSince(options, state);
  NavDatabase db;
  ScanReport scan;
  if (const std::optional<std::string> problem = ReadSceneryInMemory(state, db, scan)) {
    errors << *problem << '\n';
    return kExitError;
  }
  const Explanation explanation = ExplainIdent(db, std::move(scan), options.ident);
  if (options.json) {
    nlohmann::json json = ExplanationJson(explanation);
    if (!changed.empty()) json["scenery_changed"] = changed;
    out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    if (!changed.empty()) out << changed << "\n\n";
    out << ExplanationText(explanation);
  }
  return explanation.records.empty() ? kExitError : kExitSuccess;
}

}  // namespace tarnvale::cli
