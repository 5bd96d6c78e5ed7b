// The rules of start-up, of the setup dialogs and of the window's buttons,
// free of any user-interface toolkit. The desktop window and the command line
// both go through these functions; their own classes only draw and forward.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/program_state.h"
#include "app/run_view.h"

namespace tarnvale {

// The radio choice of the target-program dialog.
enum class TargetProgramChoice : std::uint8_t {
  None = 0,
  ChartFs2002 = 1,  // "Brisolt v4.0 (For FS2002)": sub-folder "Brisolt (FS2002)"
  ChartFs2004 = 2,  // "Brisolt v5.0 (For FS2004)": sub-folder "Brisolt (FS2004)"
  Radar = 3,        // "Scopel v5.0 (For FS2002/2004)": the folder itself
};

// The verdict on one press of a setup dialog's "Ok".
struct DialogAnswer {
  bool accepted = false;
  std::filesystem::path folder;  // when accepted: the full path of the folder
  std::string message;           // when refused: shown, and the dialog stays open
};

// The folder of the program's Program_Config.cfg for a folder the user named:
// `folder` itself when it holds one, else its only chart-program sub-folder
// ("Brisolt (FS2002)" or "Brisolt (FS2004)") that holds one, else `folder`.
std::filesystem::path ProgramFolderIn(const std::filesystem::path& folder);

// What is wrong with a target folder that holds no Program_Config.cfg, in a
// sentence: it does not exist, is a file, or holds none (and which of its
// sub-folders do). The folder is named `shown` when given (as the user
// typed it), else by its path.
std::string TargetFolderProblem(const std::filesystem::path& folder, std::string_view shown = {});

// Target-program dialog: the typed folder (with the choice's sub-folder
// appended, or for the chart program also as typed) must hold a
// Program_Config.cfg, letter case not significant. A refusal says in a
// second line what was found there, naming the folder as typed. A
// relative text is taken against `base` (the program's working folder).
DialogAnswer CheckTargetProgramAnswer(TargetProgramChoice choice, std::string_view typed_folder,
                                      const std::filesystem::path& base);

// Simulator dialog: `version` FS2002 or FS2004 (None while no choice is
// made); the typed folder must hold fs2002.exe or fs9.exe respectively,
// letter case not significant. A drive-letter text is looked up first in the
// Wine prefix of `target_folder`, then in $WINEPREFIX and ~/.wine (as is one
// typed into the target-program dialog). A refusal's second line speaks of
// `front_end`'s controls and, in a window, shows the folder as typed.
DialogAnswer CheckSimulatorAnswer(FsVersion version, std::string_view typed_folder,
                                  const std::filesystem::path& base,
                                  const std::filesystem::path& target_folder = {},
                                  FrontEnd front_end = FrontEnd::Window);

struct SimulatorChoice {
  FsVersion version = FsVersion::None;
  std::filesystem::path folder;
};

enum class MessageTitle { ProgramName, ErrorMessage };

// What start-up needs of the user interface.
class StartupView {
 public:
  virtual ~StartupView() = default;
  // Shows the target-program dialog until an answer is accepted (its "Ok"
  // goes through CheckTargetProgramAnswer). std::nullopt when the user closed
  // it without one.
  virtual std::optional<std::filesystem::path> AskTargetFolder() = 0;
  // The same for the simulator dialog and CheckSimulatorAnswer; it opens
  // with what the settings record (`recorded`, either part may be empty).
  virtual std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) = 0;
  // A modal message with an OK button only and no icon.
  virtual void ShowMessage(std::string_view text, MessageTitle title) = 0;
};

enum class StartupOutcome {
  Ready,      // show the window in its idle state
  Quit,       // a setup dialog was closed without an answer: end at once, exit code 0
  Terminate,  // a message was shown; the window closes and the program ends
};

// The whole start-up sequence, before the window is shown.
[[nodiscard]] StartupOutcome RunStartup(ProgramState& state, StartupView& view);

// "Change Program or Simulator...": asks both questions again, reads the
// chosen program's settings afresh (as a start does), the simulator dialog
// opening with what they record. A program that records no simulator gets
// the answer at once, with the first-use defaults; for one that records a
// simulator, another answer waits for the next run, which records it with
// its set. Until every step succeeds nothing changes for this window: a
// closed dialog or a failed step leaves it with the program and settings it
// had. Not while a run is going. True when the window now serves the
// answers given.
[[nodiscard]] bool ChangeProgramOrSimulator(ProgramState& state, StartupView& view);

// The target-program choice that leads back to the state's program: its
// chart edition told by its folder's name, else by the recorded simulator.
TargetProgramChoice CurrentTargetChoice(const ProgramState& state);
// The same for the settings `config` read from `folder`.
TargetProgramChoice TargetChoiceOf(const CFG_File_Reader& config,
                                   const std::filesystem::path& folder);

// Its steps, for front ends that take the answers from elsewhere.

// Makes `folder` the TargetFolder and claims it: its lock is taken (kept
// until ReleaseTargetFolder or the end of a run) and what an interrupted run
// left there is finished or dropped. Then Program_Config.cfg must be there
// and is read. False, after a message, when another run holds the folder or
// the file is absent.
[[nodiscard]] bool OpenProgramConfig(ProgramState& state, const std::filesystem::path& folder,
                                     StartupView& view);

// Makes `folder` the TargetFolder and reads its Program_Config.cfg, without
// claiming the folder or changing anything in it. The message when the file
// is absent, there twice in different letter case, or cannot be read.
[[nodiscard]] std::optional<std::string> ReadProgramConfigIn(ProgramState& state,
                                                             const std::filesystem::path& folder);

// True when the settings record no simulator (no folder, or no FS_Version).
bool NeedsSimulator(const ProgramState& state);

// First use: records the simulator, sets the first-use defaults of the
// TargetProgram and rewrites Program_Config.cfg. False, after the message,
// when the rewrite failed.
[[nodiscard]] bool RecordFirstUseSimulator(ProgramState& state, const SimulatorChoice& choice,
                                           StartupView& view);

// Replaces the recorded simulator for the next run, which records it in
// Program_Config.cfg together with the database set built from it (see
// ProgramState::simulator_pending); a choice equal to the recorded one
// changes nothing.
void ReplaceSimulator(ProgramState& state, const SimulatorChoice& choice);

// The radar program needs its DEFAULT_DB sub-folder. False, after the
// message, when it is missing.
[[nodiscard]] bool CheckDefaultDbFolder(const ProgramState& state, StartupView& view);

// Lets other runs at the target folder while the window waits for Create.
void ReleaseTargetFolder(ProgramState& state);

// "Create Databases Files": claims the target folder, puts the window in its
// running state and starts the run on the worker, which releases the folder
// when it ends. The old set is replaced only when the new one is whole.
// False, after a message and with no run started, when another run holds
// the folder, or when a folder stands under a database file's name (the
// window is then also asked to close). `view` must outlive the run.
[[nodiscard]] bool StartCreationRun(ProgramState& state, RunView& view);

// "Cancel Database Creation": shows "Canceling..." and sets the cancel flag.
void RequestCancel(ProgramState& state, RunView& view);

// Closing the window: shows "Closing...", halts a run still going; it drops
// what it had staged and the old set stays as it was.
void HaltForClose(ProgramState& state, RunView& view);

}  // namespace tarnvale
