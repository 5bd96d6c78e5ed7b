// Start-up and the setup dialogs' answers checked against the folders they name, the target folder
// claimed, Program_Config.cfg rewritten; runs started, cancelled and halted.

#include "app/startup.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "app/creation_run.h"
#include "app/messages.h"
#include "output/database_set.h"
#include "platform/ascii_text.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/wine_prefix.h"

namespace tarnvale {
namespace {

constexpr std::string_view kProgramConfigName = "Program_Config.cfg";

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The folder that a typed text names, when it exists and may be entered, as
// the full path the system reports for it (links resolved); empty otherwise.
// A drive-letter text is looked up in the Wine prefixes near `near`.
std::filesystem::path EnterableFolder(std::string_view typed, const std::filesystem::path& base,
                                      const std::filesystem::path& near = {}) {
  if (IsBlank(typed)) return {};
  const std::filesystem::path folder = platform::ResolveTypedPath(typed, base, near);
  if (folder.empty() || !platform::CanEnterFolder(folder)) return {};
  std::error_code error;
  const std::filesystem::path full = std::filesystem::canonical(folder, error);
  return error ? platform::AbsolutePath(folder) : full;
}

// A folder that holds `file` (letter case not significant) is accepted.
DialogAnswer AnswerFor(const std::filesystem::path& folder, std::string_view file,
                       std::string_view refusal) {
  if (folder.empty() || platform::FindFile(folder, file).empty()) {
    return {false, {}, std::string(refusal)};
  }
  return {true, folder, {}};
}

// The chart program's editions, one for each simulator, the newest last.
struct ChartEdition {
  TargetProgramChoice choice;
  FsVersion version;
  std::string_view Folder() const { return SimulatorTraitsOf(version)->chart_folder; }
};
constexpr std::array<ChartEdition, 2> kChartEditions = {{
    {TargetProgramChoice::ChartFs2002, FsVersion::Fs2002},
    {TargetProgramChoice::ChartFs2004, FsVersion::Fs2004},
}};

// The folder of the chart program's edition that `choice` names ("Brisolt
// (FS2002)"); empty for the radar program, which is the folder itself.
std::string_view ChartFolder(TargetProgramChoice choice) {
  for (const ChartEdition& edition : kChartEditions) {
    if (edition.choice == choice) return edition.Folder();
  }
  return {};
}

// "does not exist", "is a file, not a folder" or "cannot be entered" for a
// path that is no usable folder; empty for one that is.
std::string_view FolderTrouble(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return "does not exist";
  if (!std::filesystem::is_directory(status)) return "is a file, not a folder";
  if (!platform::CanEnterFolder(path)) return "cannot be entered";
  return {};
}

// How to choose `version` instead, in the words of `front_end`.
std::string OtherVersionAdvice(FsVersion version, FrontEnd front_end) {
  if (front_end == FrontEnd::Window) {
    return "choose " + std::string(SimulatorTraitsOf(version)->display_name) + " above.";
  }
  return "choose the other simulator version (on the command line, --fs-version " +
         std::to_string(ToNumber(version)) + ").";
}

// Why a simulator folder was refused: what the folder is, or which program
// file it holds instead. A window shows the folder as the user typed it.
std::string SimulatorFolderProblem(FsVersion version, std::string_view typed,
                                   const std::filesystem::path& base,
                                   const std::filesystem::path& near, FrontEnd front_end) {
  const std::filesystem::path path = platform::ResolveTypedPath(typed, base, near);
  if (path.empty()) return platform::UnresolvedDriveProblem(typed, near);
  const std::string shown =
      front_end == FrontEnd::Window ? std::string(typed) : platform::Utf8Of(path);
  if (const std::string_view trouble = FolderTrouble(path); !trouble.empty()) {
    return shown + " " + std::string(trouble) + ".";
  }
  const std::string wanted(SimulatorProgramFile(version));
  for (const SimulatorTraits& other : kSimulators) {
    if (other.version == version || platform::FindFile(path, other.program_file).empty()) continue;
    std::string problem = shown + " holds ";
    problem += other.program_file;
    problem += " rather than " + wanted + ": " + OtherVersionAdvice(other.version, front_end);
    return problem;
  }
  return shown + " holds no " + wanted + ".";
}

// A sub-folder of a typed folder text, written with the text's own
// separator (a backslash once it has one, as "C:\..." texts do).
std::string SubFolderText(std::string_view typed, std::string_view name) {
  const bool windows =
      typed.find('\\') != std::string_view::npos || platform::HasDriveLetter(typed);
  const char separator =
      windows ? '\\' : static_cast<char>(std::filesystem::path::preferred_separator);
  std::string text(typed);
  if (!text.empty() && text.back() != separator) text += separator;
  return text.append(name);
}

std::filesystem::path ProgramConfigFile(const ProgramState& state) {
  return state.TargetFolder / kProgramConfigName;
}

// The Windows programs that share Program_Config.cfg can use the folder only
// in its Windows form, which it gets whenever the target's Wine prefix
// reaches it; elsewhere it stays a path of this machine.
void StoreSimulator(ProgramState& state, const SimulatorChoice& choice) {
  state.config.FS_Version = choice.version;
  state.config.FS_Directory = platform::WindowsPathOf(choice.folder, state.TargetFolder)
                                  .value_or(platform::Utf8Of(choice.folder));
}

// Takes the target folder's lock unless this state holds it already, then
// finishes or drops what an interrupted run left there. Returns the message
// that refuses the folder: another run holds the lock, or the lock failed
// (a file system without locks, a full lock table): without it nothing
// would keep a second run out. A folder that cannot be entered is not
// claimed: what follows finds it unusable and says so.
std::optional<std::string> ClaimTargetFolder(ProgramState& state) {
  if (!state.target_lock) {
    std::error_code error;
    state.target_lock = platform::FolderLock::TryAcquire(state.TargetFolder, error);
    const std::string folder = "Folder: " + platform::Utf8Of(state.TargetFolder);
    if (error == std::errc::resource_unavailable_try_again) {
      return text::WithDetail(text::kTargetFolderBusy, folder);
    }
    if (!state.target_lock) {
      if (!platform::CanEnterFolder(state.TargetFolder)) return std::nullopt;
      return text::WithDetail(text::kTargetFolderNotLocked,
                              folder + " (" + error.message() +
                                  "). Without the lock another run could mix its files with "
                                  "this one's.");
    }
  }
  // What cannot be finished or put back now stops the next run, which tells
  // why when it stages its set.
  static_cast<void>(RecoverDatabaseSet(state.TargetFolder));
  return std::nullopt;
}

// A failed rewrite says whether the old file stands, or the new one stands
// but could not be flushed to disk.
bool RewriteProgramConfig(const ProgramState& state, StartupView& view) {
  const std::filesystem::path file = ProgramConfigFile(state);
  if (state.config.WriteProgramConfig(file) != CfgResult::Failed) return true;
  std::ifstream in(platform::MatchLetterCase(file), std::ios::binary);
  const std::string now{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string what = now == state.config.ProgramConfigText()
                               ? " was rewritten, but could not be flushed to disk."
                               : " could not be replaced; it was left as it was.";
  view.ShowMessage(
      text::WithDetail(text::kProgramConfigNotRewritten, platform::Utf8Of(file) + what),
      MessageTitle::ProgramName);
  return false;
}

StartupOutcome StartUpSteps(ProgramState& state, StartupView& view);

// The simulator the settings record, for the simulator dialog to open with.
SimulatorChoice RecordedSimulator(const ProgramState& state) {
  return {state.config.FS_Version,
          platform::PathFromUtf8(platform::DisplayText(state.config.FS_Directory.value_or("")))};
}

// The simulator the user chose: written at once on first use, else
// recorded with the next run's set.
bool RecordSimulator(ProgramState& state, const SimulatorChoice& choice, StartupView& view) {
  if (NeedsSimulator(state)) return RecordFirstUseSimulator(state, choice, view);
  ReplaceSimulator(state, choice);
  return true;
}

// Reads the target program's settings afresh from `folder`, after claiming it.
bool ReadSettings(ProgramState& state, const std::filesystem::path& folder, StartupView& view) {
  state.config = CFG_File_Reader();
  state.simulator_pending = false;
  return OpenProgramConfig(state, folder, view);
}

// The simulator question. The folder is not held while it waits for the
// user, however long: a run from the command line may work on it
// meanwhile. Once answered, the folder is claimed again and its settings
// read afresh, so that the answer goes into what such a run left (and is
// recorded with the next run's set if that run recorded a simulator).
// False when the question was closed; `claimed` false when the folder could
// not be claimed or read again (after the message).
std::optional<SimulatorChoice> AskSimulatorUnheld(ProgramState& state, StartupView& view,
                                                  bool& claimed) {
  const SimulatorChoice recorded = RecordedSimulator(state);
  ReleaseTargetFolder(state);
  std::optional<SimulatorChoice> simulator = view.AskSimulator(recorded);
  claimed = !simulator || ReadSettings(state, state.TargetFolder, view);
  return simulator;
}

// The chosen program's settings are read afresh, as at start-up: nothing of
// the program served before carries over.
bool ChangeSteps(ProgramState& state, StartupView& view) {
  const std::optional<std::filesystem::path> target = view.AskTargetFolder();
  if (!target || !ReadSettings(state, *target, view)) return false;
  bool claimed = false;
  const std::optional<SimulatorChoice> simulator = AskSimulatorUnheld(state, view, claimed);
  return simulator && claimed && RecordSimulator(state, *simulator, view) &&
         CheckDefaultDbFolder(state, view);
}

}  // namespace

std::filesystem::path ProgramFolderIn(const std::filesystem::path& folder) {
  if (!platform::FindFile(folder, kProgramConfigName).empty()) return folder;
  std::filesystem::path found;
  for (const SimulatorTraits& simulator : kSimulators) {
    const std::filesystem::path sub = platform::ResolvePath(simulator.chart_folder, folder);
    if (platform::FindFile(sub, kProgramConfigName).empty()) continue;
    if (!found.empty()) return folder;  // both editions: the user must say which
    found = sub;
  }
  return found.empty() ? folder : found;
}

std::string TargetFolderProblem(const std::filesystem::path& folder, std::string_view shown) {
  const std::string named = shown.empty() ? platform::Utf8Of(folder) : std::string(shown);
  if (const std::string_view trouble = FolderTrouble(folder); !trouble.empty()) {
    return named + " " + std::string(trouble) + ".";
  }
  std::string text = "No Program_Config.cfg was found in " + named + ".";
  for (const SimulatorTraits& simulator : kSimulators) {
    const std::filesystem::path sub = platform::ResolvePath(simulator.chart_folder, folder);
    if (!platform::FindFile(sub, kProgramConfigName).empty()) {
      text.append(" ")
          .append(shown.empty() ? platform::Utf8Of(sub)
                                : SubFolderText(shown, simulator.chart_folder))
          .append(" holds one: did you mean that folder?");
    }
  }
  return text;
}

DialogAnswer CheckTargetProgramAnswer(TargetProgramChoice choice, std::string_view typed_folder,
                                      const std::filesystem::path& base) {
  if (choice == TargetProgramChoice::None) {
    return {false, {}, std::string(text::kNoTargetProgramChosen)};
  }
  if (IsBlank(typed_folder)) return {false, {}, std::string(text::kWrongTargetFolder)};
  const std::string_view chart_folder = ChartFolder(choice);
  std::string typed(typed_folder);
  if (!chart_folder.empty()) typed.append("\\").append(chart_folder);
  // The window shows the folder as the user typed it, not as resolved.
  const std::string shown =
      chart_folder.empty() ? typed : SubFolderText(typed_folder, chart_folder);
  DialogAnswer answer =
      AnswerFor(EnterableFolder(typed, base), kProgramConfigName, text::kWrongTargetFolder);
  if (answer.accepted) return answer;
  // The chart program's own folder (named after the edition) is as good as
  // the one above it.
  if (typed != typed_folder) {
    const std::filesystem::path own_folder = EnterableFolder(typed_folder, base);
    if (platform::EqualsIgnoreCase(platform::Utf8Of(own_folder.filename()), chart_folder)) {
      DialogAnswer own = AnswerFor(own_folder, kProgramConfigName, text::kWrongTargetFolder);
      if (own.accepted) return own;
    }
  }
  const std::filesystem::path path = platform::ResolveTypedPath(typed, base, {});
  answer.message =
      text::WithDetail(answer.message, path.empty() ? platform::UnresolvedDriveProblem(typed, {})
                                                    : TargetFolderProblem(path, shown));
  return answer;
}

DialogAnswer CheckSimulatorAnswer(FsVersion version, std::string_view typed_folder,
                                  const std::filesystem::path& base,
                                  const std::filesystem::path& target_folder, FrontEnd front_end) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(version);
  if (!simulator) return {false, {}, std::string(text::kNoSimulatorVersionChosen)};
  const std::filesystem::path folder = EnterableFolder(typed_folder, base, target_folder);
  DialogAnswer answer =
      AnswerFor(folder, simulator->program_file, text::WrongSimulatorFolder(simulator->short_name));
  if (!answer.accepted && !IsBlank(typed_folder)) {
    answer.message = text::WithDetail(
        answer.message,
        SimulatorFolderProblem(version, typed_folder, base, target_folder, front_end));
  }
  return answer;
}

StartupOutcome RunStartup(ProgramState& state, StartupView& view) {
  const StartupOutcome outcome = StartUpSteps(state, view);
  // A program that ends lets go of the folder at once.
  if (outcome != StartupOutcome::Ready) ReleaseTargetFolder(state);
  return outcome;
}

namespace {

StartupOutcome StartUpSteps(ProgramState& state, StartupView& view) {
  const std::optional<std::filesystem::path> target = view.AskTargetFolder();
  if (!target) return StartupOutcome::Quit;
  if (!OpenProgramConfig(state, *target, view)) return StartupOutcome::Terminate;
  bool terminate = false;
  if (NeedsSimulator(state)) {
    bool claimed = false;
    const std::optional<SimulatorChoice> simulator = AskSimulatorUnheld(state, view, claimed);
    if (!simulator) return StartupOutcome::Quit;
    if (!claimed) return StartupOutcome::Terminate;
    terminate = !RecordSimulator(state, *simulator, view);
  }
  // Runs even after a failed rewrite, and may add its own message.
  if (!CheckDefaultDbFolder(state, view)) terminate = true;
  return terminate ? StartupOutcome::Terminate : StartupOutcome::Ready;
}

}  // namespace

bool OpenProgramConfig(ProgramState& state, const std::filesystem::path& folder,
                       StartupView& view) {
  state.TargetFolder = folder;
  if (const std::optional<std::string> refusal = ClaimTargetFolder(state)) {
    view.ShowMessage(*refusal, MessageTitle::ProgramName);
    return false;
  }
  if (const std::optional<std::string> problem = ReadProgramConfigIn(state, folder)) {
    view.ShowMessage(*problem, MessageTitle::ErrorMessage);
    return false;
  }
  return true;
}

std::optional<std::string> ReadProgramConfigIn(ProgramState& state,
                                               const std::filesystem::path& folder) {
  state.TargetFolder = folder;
  const std::vector<std::filesystem::path> files = platform::FindFiles(folder, kProgramConfigName);
  if (files.size() > 1) {
    // Names that differ only in letter case: reading one and rewriting the
    // other would lose the sibling program's settings.
    std::string found = "Found:";
    for (const std::filesystem::path& file : files)
      found.append(" ").append(platform::Utf8Of(file));
    return text::WithDetail(text::kProgramConfigTwice, found);
  }
  if (files.empty()) {
    return text::WithDetail(text::kProgramConfigMissing, TargetFolderProblem(folder));
  }
  // A file that cannot be read (no permission, a failing disk) must not be
  // taken for one without settings: rewriting it would lose them.
  std::error_code unreadable;
  if (state.config.ReadProgramConfig(files.front(), &unreadable) == CfgResult::Unreadable) {
    return text::WithDetail(text::kProgramConfigMissing,
                            platform::Utf8Of(files.front()) + " cannot be read (" +
                                unreadable.message() + "); it was left as it was.");
  }
  return std::nullopt;
}

bool ChangeProgramOrSimulator(ProgramState& state, StartupView& view) {
  if (state.worker.Running()) return false;
  const CFG_File_Reader kept_config = state.config;
  const std::filesystem::path kept_folder = state.TargetFolder;
  const bool kept_pending = state.simulator_pending;
  const bool changed = ChangeSteps(state, view);
  if (!changed) {
    state.config = kept_config;
    state.TargetFolder = kept_folder;
    state.simulator_pending = kept_pending;
  }
  ReleaseTargetFolder(state);
  return changed;
}

TargetProgramChoice CurrentTargetChoice(const ProgramState& state) {
  return TargetChoiceOf(state.config, state.TargetFolder);
}

TargetProgramChoice TargetChoiceOf(const CFG_File_Reader& config,
                                   const std::filesystem::path& folder) {
  if (config.Program_Id == TargetProgram::Radar) return TargetProgramChoice::Radar;
  if (config.Program_Id != TargetProgram::Chart) return TargetProgramChoice::None;
  const std::string folder_name = platform::Utf8Of(folder.filename());
  for (const ChartEdition& edition : kChartEditions) {
    if (platform::EqualsIgnoreCase(folder_name, edition.Folder())) return edition.choice;
  }
  // A folder of another name: the edition of the recorded simulator, or the newest.
  for (const ChartEdition& edition : kChartEditions) {
    if (edition.version == config.FS_Version) return edition.choice;
  }
  return kChartEditions.back().choice;
}

bool NeedsSimulator(const ProgramState& state) { return !state.config.HasSimulator(); }

bool RecordFirstUseSimulator(ProgramState& state, const SimulatorChoice& choice,
                             StartupView& view) {
  StoreSimulator(state, choice);
  state.config.SetFirstUseDefaults();
  return RewriteProgramConfig(state, view);
}

void ReplaceSimulator(ProgramState& state, const SimulatorChoice& choice) {
  const std::optional<std::string> folder = state.config.FS_Directory;
  const FsVersion version = state.config.FS_Version;
  StoreSimulator(state, choice);
  state.simulator_pending |=
      state.config.FS_Directory != folder || state.config.FS_Version != version;
}

bool CheckDefaultDbFolder(const ProgramState& state, StartupView& view) {
  if (state.config.Program_Id != TargetProgram::Radar) return true;
  if (!EnterableFolder("DEFAULT_DB", state.TargetFolder).empty()) return true;
  view.ShowMessage(
      text::WithDetail(text::kDefaultDbMissing, "No DEFAULT_DB folder was found in " +
                                                    platform::Utf8Of(state.TargetFolder) + "."),
      MessageTitle::ProgramName);
  return false;
}

bool StartCreationRun(ProgramState& state, RunView& view) {
  // The previous run has taken its ending; let its thread finish first.
  state.worker.Join();
  if (const std::optional<std::string> refusal = ClaimTargetFolder(state)) {
    view.ShowMessage(*refusal);
    return false;
  }
  // The old set is replaced only once the new one is whole; what would stop
  // that is found now, before the run.
  std::string blocker = StagingEntryProblem(state.TargetFolder);
  if (const std::optional<std::filesystem::path> blocked = BlockedOutputEntry(state.TargetFolder)) {
    blocker = platform::Utf8Of(*blocked) + " is a folder where a database file belongs.";
  }
  if (!blocker.empty()) {
    state.target_lock.reset();
    view.ShowMessage(text::WithDetail(text::kOldFilesNotDeleted,
                                      blocker + " " + std::string(text::kPreviousSetKept)));
    view.CloseMainWindow();
    return false;
  }
  view.EnableCancelButton(true);
  view.EnableCreateButton(false);
  state.cancel = false;
  state.last_run.reset();
  state.worker.Start([&state, &view](const std::stop_token& halt) {
    RunSummary summary = CreationRun(state, view, halt);
    state.last_run = std::move(summary);
    state.target_lock.reset();
  });
  return true;
}

void RequestCancel(ProgramState& state, RunView& view) {
  view.SetStatusText(std::string(text::kCanceling));
  state.cancel = true;
}

void ReleaseTargetFolder(ProgramState& state) { state.target_lock.reset(); }

void HaltForClose(ProgramState& state, RunView& view) {
  view.SetStatusText(std::string(text::kClosing));
  // A halted run drops what it staged; the old set stands.
  state.worker.Halt();
}

}  // namespace tarnvale
