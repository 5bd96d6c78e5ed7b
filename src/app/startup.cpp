#include "app/startup.h"

#include <unistd.h>

#include <string>
#include <system_error>

#include "app/creation_run.h"
#include "app/messages.h"
#include "output/output_cleanup.h"
#include "platform/directory_search.h"
#include "platform/paths.h"

namespace tarnvale {
namespace {

constexpr std::string_view kProgramConfigName = "Program_Config.cfg";

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// The folder that a typed text names, when it exists and may be entered, as
// the full path the system reports for it (links resolved); empty otherwise.
std::filesystem::path EnterableFolder(std::string_view typed, const std::filesystem::path& base) {
  if (IsBlank(typed)) return {};
  const std::filesystem::path folder = platform::ExistingFolder(typed, base);
  if (folder.empty() || ::access(folder.c_str(), X_OK) != 0) return {};
  std::error_code error;
  const std::filesystem::path full = std::filesystem::canonical(folder, error);
  return error ? std::filesystem::absolute(folder, error) : full;
}

// A folder that holds `file` (letter case not significant) is accepted.
DialogAnswer AnswerFor(const std::filesystem::path& folder, std::string_view file,
                       std::string_view refusal) {
  if (folder.empty() || platform::FindFile(folder, file).empty()) return {false, {}, refusal};
  return {true, folder, {}};
}

std::string_view ChartSubFolder(TargetProgramChoice choice) {
  if (choice == TargetProgramChoice::ChartFs2002) return "\\Brisolt (FS2002)";
  if (choice == TargetProgramChoice::ChartFs2004) return "\\Brisolt (FS2004)";
  return "";
}

std::filesystem::path ProgramConfigFile(const ProgramState& state) {
  return state.TargetFolder / kProgramConfigName;
}

void StoreSimulator(ProgramState& state, const SimulatorChoice& choice) {
  state.config.FS_Version = choice.version;
  state.config.FS_Directory = choice.folder.string();
}

bool RewriteProgramConfig(const ProgramState& state, StartupView& view) {
  if (state.config.WriteProgramConfig(ProgramConfigFile(state)) != kCfgFailed) return true;
  view.ShowMessage(text::kProgramConfigNotRewritten, MessageTitle::ProgramName);
  return false;
}

}  // namespace

DialogAnswer CheckTargetProgramAnswer(TargetProgramChoice choice, std::string_view typed_folder,
                                      const std::filesystem::path& base) {
  if (choice == TargetProgramChoice::None) return {false, {}, text::kNoTargetProgramChosen};
  if (IsBlank(typed_folder)) return {false, {}, text::kWrongTargetFolder};
  const std::string typed = std::string(typed_folder) + std::string(ChartSubFolder(choice));
  return AnswerFor(EnterableFolder(typed, base), kProgramConfigName, text::kWrongTargetFolder);
}

DialogAnswer CheckSimulatorAnswer(std::int16_t version, std::string_view typed_folder,
                                  const std::filesystem::path& base) {
  if (version != 8 && version != 9) return {false, {}, text::kNoSimulatorVersionChosen};
  const std::filesystem::path folder = EnterableFolder(typed_folder, base);
  if (version == 8) return AnswerFor(folder, "fs2002.exe", text::kWrongFs2002Folder);
  return AnswerFor(folder, "fs9.exe", text::kWrongFs2004Folder);
}

StartupOutcome RunStartup(ProgramState& state, StartupView& view) {
  const std::optional<std::filesystem::path> target = view.AskTargetFolder();
  if (!target) return StartupOutcome::Quit;
  if (!OpenProgramConfig(state, *target, view)) return StartupOutcome::Terminate;
  bool terminate = false;
  if (NeedsSimulator(state)) {
    const std::optional<SimulatorChoice> simulator = view.AskSimulator();
    if (!simulator) return StartupOutcome::Quit;
    terminate = !RecordFirstUseSimulator(state, *simulator, view);
  }
  // Runs even after a failed rewrite, and may add its own message.
  if (!CheckDefaultDbFolder(state, view)) terminate = true;
  return terminate ? StartupOutcome::Terminate : StartupOutcome::Ready;
}

bool OpenProgramConfig(ProgramState& state, const std::filesystem::path& folder, StartupView& view) {
  state.TargetFolder = folder;
  const std::filesystem::path file = platform::FindFile(folder, kProgramConfigName);
  if (file.empty()) {
    view.ShowMessage(text::kProgramConfigMissing, MessageTitle::ErrorMessage);
    return false;
  }
  state.config.ReadCfgFile(file, kProgramConfigMode);
  return true;
}

bool NeedsSimulator(const ProgramState& state) { return !state.config.HasSimulator(); }

bool RecordFirstUseSimulator(ProgramState& state, const SimulatorChoice& choice, StartupView& view) {
  StoreSimulator(state, choice);
  state.config.SetFirstUseDefaults();
  return RewriteProgramConfig(state, view);
}

bool ReplaceSimulator(ProgramState& state, const SimulatorChoice& choice, StartupView& view) {
  StoreSimulator(state, choice);
  return RewriteProgramConfig(state, view);
}

bool CheckDefaultDbFolder(const ProgramState& state, StartupView& view) {
  if (state.config.Program_Id != 2) return true;
  if (!EnterableFolder("DEFAULT_DB", state.TargetFolder).empty()) return true;
  view.ShowMessage(text::kDefaultDbMissing, MessageTitle::ProgramName);
  return false;
}

bool StartCreationRun(ProgramState& state, RunView& view) {
  // The previous run has taken its ending; let its thread finish first.
  state.worker.Join();
  if (DeleteOutputFiles(state.TargetFolder) == 1) {
    view.ShowMessage(std::string(text::kOldFilesNotDeleted));
    view.CloseMainWindow();
    return false;
  }
  view.EnableCancelButton(true);
  view.EnableCreateButton(false);
  state.cancel = false;
  state.last_run.reset();
  state.worker.Start([&state, &view](std::stop_token halt) {
    RunSummary summary = CreationRun(state, view, std::move(halt));
    state.last_run = std::move(summary);
  });
  return true;
}

void RequestCancel(ProgramState& state, RunView& view) {
  view.SetStatusText(std::string(text::kCanceling));
  state.cancel = true;
}

void HaltForClose(ProgramState& state, RunView& view) {
  view.SetStatusText(std::string(text::kClosing));
  const bool was_running = state.worker.Halt();
  // A run stopped where it stood may have left part of a database set.
  if (was_running && state.last_run && state.last_run->ending == RunEnding::Halted) {
    DeleteOutputFiles(state.TargetFolder);
  }
}

}  // namespace tarnvale
