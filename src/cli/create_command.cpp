// `tarnvale-cli create`: the setup dialogs' answers taken from the options, the report path checked
// before the run, and the run itself.

#include "cli/create_command.h"

#include <iostream>
#include <ranges>
#include <string>

#include "app/creation_run.h"
#include "app/messages.h"
#include "app/report_archive.h"
#include "app/scan_report_json.h"
#include "app/startup.h"
#include "cli/exit_codes.h"
#include "cli/run_report.h"
#include "platform/code_page.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/wine_prefix.h"

namespace tarnvale::cli {
namespace {

// The setup dialogs' answers, taken from the command's options.
class OptionAnswers final : public StartupView {
 public:
  OptionAnswers(const CreateOptions& options, const ProgramState& state, TerminalView& view)
      : options_(options), state_(state), view_(view) {}

  // See TargetFolderOption.
  std::optional<std::filesystem::path> AskTargetFolder() override {
    std::string refusal;
    const std::filesystem::path folder = TargetFolderOption(options_.target, refusal);
    if (!folder.empty()) return folder;
    refused_ = true;
    view_.Line(refusal);
    return std::nullopt;
  }

  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice&) override {
    simulator_asked_ = true;
    return SimulatorFromOptions();
  }

  void ShowMessage(std::string_view text, MessageTitle) override { view_.Line(text); }

  // The simulator the options name, after the simulator dialog's checks;
  // std::nullopt (after its message) when they name none or a wrong one.
  std::optional<SimulatorChoice> SimulatorFromOptions() {
    if (!options_.simulator) return std::nullopt;
    const DialogAnswer answer = CheckSimulatorAnswer(
        options_.fs_version, platform::Utf8Of(*options_.simulator), std::filesystem::current_path(),
        state_.TargetFolder, FrontEnd::CommandLine);
    if (answer.accepted) return SimulatorChoice{options_.fs_version, answer.folder};
    refused_ = true;
    view_.Line(answer.message);
    return std::nullopt;
  }

  bool SimulatorAsked() const { return simulator_asked_; }
  bool Refused() const { return refused_; }

 private:
  const CreateOptions& options_;
  const ProgramState& state_;
  TerminalView& view_;
  bool simulator_asked_ = false;
  bool refused_ = false;
};

// "'C:\Program Files\...'" (the Windows form when the target's prefix
// reaches the folder, in UTF-8 as typed rather than in the code page of
// Program_Config.cfg), quoted for this system's shell.
std::string PastableFolder(const std::filesystem::path& folder, const ProgramState& state) {
  const std::optional<std::string> windows = platform::WindowsPathOf(folder, state.TargetFolder);
  return platform::ShellQuoted(windows ? platform::DisplayText(*windows)
                                       : platform::Utf8Of(folder));
}

// Says what is missing, and which installed simulators could be named.
int MissingSimulatorOptions(const ProgramState& state, TerminalView& view) {
  view.Line("No simulator is recorded in " +
            platform::Utf8Of(state.TargetFolder / "Program_Config.cfg") +
            ": pass --simulator DIR and --fs-version " + SimulatorChoicesText() + ".");
  for (const SimulatorTraits& simulator : std::views::reverse(kSimulators)) {  // newest first
    const std::string program(simulator.program_file);
    for (const std::filesystem::path& folder :
         platform::FindInstalledPrograms(program, state.TargetFolder)) {
      view.Line("Found " + program + ": --simulator " + PastableFolder(folder, state) +
                " --fs-version " + std::to_string(ToNumber(simulator.version)));
    }
  }
  return kExitUsage;
}

// Start-up as the window does it, with the options replacing a simulator the
// file already records. Returns the exit status when start-up ends the command.
std::optional<int> StartUp(ProgramState& state, const CreateOptions& options, TerminalView& view) {
  OptionAnswers answers(options, state, view);
  const StartupOutcome outcome = RunStartup(state, answers);
  if (outcome == StartupOutcome::Terminate) return kExitError;
  if (outcome == StartupOutcome::Quit) {
    return answers.Refused() ? kExitError : MissingSimulatorOptions(state, view);
  }
  if (!options.simulator || answers.SimulatorAsked()) return std::nullopt;
  const std::optional<SimulatorChoice> replacement = answers.SimulatorFromOptions();
  if (!replacement) return kExitError;
  ReplaceSimulator(state, *replacement);
  return std::nullopt;
}

// The run's report as JSON in `file`; false, after saying why, when it
// cannot be written.
bool WriteReport(const RunSummary& summary, const std::filesystem::path& file) {
  if (const std::error_code error = platform::ReplaceFileContents(platform::AbsolutePath(file),
                                                                  ScanReportJsonText(summary))) {
    std::cerr << "Cannot write the report to " << platform::Utf8Of(file) << ": " << error.message()
              << '\n';
    return false;
  }
  return true;
}

// Why the report could not be written to `file` once the run is over (it is
// a folder, or its folder takes no new file), found before the run so that
// a bad path changes nothing. A probe file beside it is made and removed.
std::optional<std::string> ReportPathProblem(const std::filesystem::path& file) {
  const std::filesystem::path path = platform::AbsolutePath(file);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    error = std::make_error_code(std::errc::is_a_directory);
  } else {
    const std::filesystem::path probe =
        path.parent_path() / (".tarnvale-report-probe-" + std::to_string(platform::ProcessId()));
    error = platform::ReplaceFileContents(probe, "");
    // Best effort: an empty probe left behind changes nothing a run reads.
    static_cast<void>(platform::DeleteFile(probe));
  }
  if (!error) return std::nullopt;
  return "Cannot write the report to " + platform::Utf8Of(file) + ": " + error.message() +
         ". Nothing was changed.";
}

int CreateDatabases(ProgramState& state, const CreateOptions& options, TerminalView& view,
                    const platform::InterruptHandler& interrupt) {
  if (interrupt.Interrupted()) {
    view.Line(text::kRunCancelled);
    return kExitCancelled;
  }
  if (!StartCreationRun(state, view)) return kExitError;
  // A signal that came while the run was being started must not be lost.
  if (interrupt.Interrupted()) state.cancel = true;
  state.worker.Join();
  view.ClearBar();
  PrintRunReport(*state.last_run, state.TargetFolder, std::cout, std::cerr);
  if (options.report && !WriteReport(*state.last_run, *options.report)) return kExitError;
  return ExitCodeOf(state.last_run->ending);
}

}  // namespace

// A drive-letter target that no Wine prefix maps is refused as the missing
// Program_Config.cfg of a folder that does not exist, saying where it was
// looked for.
std::filesystem::path TargetFolderOption(const std::filesystem::path& target,
                                         std::string& refusal) {
  const std::filesystem::path typed =
      platform::ResolveTypedPath(platform::Utf8Of(target), std::filesystem::current_path(), {});
  if (!typed.empty()) return ProgramFolderIn(typed);
  refusal = text::WithDetail(text::kProgramConfigMissing,
                             platform::UnresolvedDriveProblem(platform::Utf8Of(target), {}));
  return {};
}

int RunCreateCommand(const CreateOptions& options, TerminalView& view) {
  ProgramState state;
  state.report_archive = ReportArchiveFolder();
  state.threads = options.threads;
  // Ctrl-C and SIGTERM only raise flags; the run notices them at its check
  // points, exactly as it notices the Cancel button. A second Ctrl-C ends the
  // program the usual way.
  platform::InterruptHandler interrupt;
  interrupt.Forward(&state.cancel);
  if (options.report) {
    if (const std::optional<std::string> problem = ReportPathProblem(*options.report)) {
      view.Line(*problem);
      return kExitError;
    }
  }
  if (const std::optional<int> refused = StartUp(state, options, view)) return *refused;
  return CreateDatabases(state, options, view, interrupt);
}

}  // namespace tarnvale::cli
