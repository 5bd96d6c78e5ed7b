// What a desktop window decides that is not drawing, shared by the Qt window
// and the native Windows window: the names the windows show, the program
// and folder remembered from one start to the next, start-up and "Change
// Program or Simulator..." around them, the lines that name what the next
// run uses, the summary under the message at the end of a run, where
// "Browse..." starts, and the simulator installs offered by the simulator
// dialog. A window only shows, asks and forwards.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_state.h"
#include "app/run_summary.h"
#include "app/startup.h"

namespace tarnvale {

// The program as the target-program dialog names it ("Scopel v5.0 (For
// FS2002/2004)"); empty for None.
std::string_view TargetProgramName(TargetProgramChoice choice);

// The simulator as the simulator dialog names it ("Microsoft Flight
// Simulator 2004"); empty for None.
std::string_view SimulatorName(FsVersion version);

// The simulator dialog offers the versions in the order of kSimulators, at
// places 1, 2, ... of its radio buttons: the version at `place` (None for
// any other place), and the place of `version` (0 for one it does not offer).
FsVersion SimulatorAtPlace(int place);
int PlaceOfSimulator(FsVersion version);

// The title of a start-up message: "Error Message" or the program's name.
std::string_view MessageTitleText(MessageTitle title, std::string_view program_name);

// A line of the main window that names what the next run uses: a head that
// is always shown whole ("Program: Scopel v5.0 (For FS2002/2004)"), then
// its folder (", in C:\...") that may be shortened in the middle.
struct SetupLine {
  std::string head;
  std::string rest;
  std::string Full() const { return head + rest; }
};
SetupLine ProgramLine(const ProgramState& state);
// The simulator the settings hold: the one the next run reads.
SetupLine SimulatorLine(const ProgramState& state);

// The lines under the message at the end of a run: the records per kind
// ("Records: 2 airports, 5 runways"), then the scan's summary.
std::vector<std::string> RunEndingSummary(const RunSummary& summary);

// The program and folder of the last start that succeeded, or of the last
// Change, kept for this user.
struct RememberedTarget {
  TargetProgramChoice choice = TargetProgramChoice::None;
  std::filesystem::path folder;
};

// Where a front end keeps the RememberedTarget (Qt's settings file, the
// Windows registry).
class TargetMemory {
 public:
  virtual ~TargetMemory() = default;
  virtual RememberedTarget Load() const = 0;
  virtual void Save(const RememberedTarget& target) = 0;
};

// A choice read back from storage: None unless it is 1, 2 or 3.
TargetProgramChoice TargetChoiceFromNumber(long number);

// The setup dialogs of a desktop window.
class DesktopStartupView : public StartupView {
 public:
  // The target dialog opens with `choice` and `folder` until told otherwise.
  virtual void PrefillTarget(TargetProgramChoice choice, const std::filesystem::path& folder) = 0;
  // The choice of the target dialog's last accepted answer.
  virtual TargetProgramChoice AcceptedTargetChoice() const = 0;
};

// Start-up of a desktop window: the target dialog opens with the remembered
// program and folder, so Enter is enough; a start that gets ready is
// remembered. The target folder is let go either way: the window holds it
// only while a run works on it.
[[nodiscard]] StartupOutcome StartDesktopSession(ProgramState& state, DesktopStartupView& view,
                                                 TargetMemory& memory);

// "File" > "Change Program or Simulator...": offered only while no run is
// going (see ChangeProgramOrSimulator). Both dialogs open with what the
// window serves now; a change is remembered. True when the window now
// serves the new answers.
bool CanChangeSetup(const ProgramState& state);
[[nodiscard]] bool ChangeDesktopSetup(ProgramState& state, DesktopStartupView& view,
                                      TargetMemory& memory);

// Relative folder texts of the target dialog are taken against the folder
// the program started in.
std::filesystem::path WorkingFolder();

// The folder "Browse..." opens in for a folder field's text: the folder it
// names (`typed`, resolved by the dialog), or the nearest one above that
// exists; empty (the user's home) when the field is blank or names nothing.
std::filesystem::path BrowseStartFolder(std::string_view field_text,
                                        const std::filesystem::path& typed);

// What choosing a simulator version does to the simulator dialog: a single
// install found goes into the folder field (`fill`) unless the user typed
// something else there than what the dialog filled in last (`filled`);
// other installs are listed under the dialog. Each as the user would type
// it: its "C:\..." form in the target program's Wine prefix where that
// leads back to it. Installs are looked for where the simulator's own
// registry entries say (on Windows), then under "Program Files" and
// "Program Files (x86)".
struct FoundInstalls {
  std::optional<std::string> fill;
  std::vector<std::string> listed;
};
FoundInstalls LookForSimulatorInstalls(FsVersion version,
                                       const std::filesystem::path& target_folder,
                                       std::string_view field_text, std::string_view filled);

}  // namespace tarnvale
