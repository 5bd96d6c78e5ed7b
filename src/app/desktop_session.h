// What a desktop window decides that is not drawing, shared by the Qt window
// and the native Windows window: the names the windows show, the program
// and folder remembered from one start to the next, start-up and "Change
// Program or Simulator..." around them, the lines that name what the next
// run uses, the summary under the message at the end of a run and of the
// last run after it, where "Browse..." starts, the programs and simulator
// installs found for the setup dialogs, and the code page chosen under
// "File". A window only shows, asks and forwards.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_state.h"
#include "app/run_summary.h"
#include "app/startup.h"
#include "platform/code_page.h"

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
// The program's folder as the user would type it: its "C:\..." form when it
// lies in a Wine prefix.
SetupLine ProgramLine(const ProgramState& state);
// The simulator the settings hold: the one the next run reads.
SetupLine SimulatorLine(const ProgramState& state);

// The lines under the message at the end of a run: the records per kind
// ("Records: 2 airports, 5 runways"), then the scan's summary.
std::vector<std::string> RunEndingSummary(const RunSummary& summary);

// The short account of the last run that the main window keeps after its
// message is closed, and after a restart: when it ended and how, with which
// simulator ("Last run: 2026-12-10 09:14 UTC, Microsoft Flight Simulator
// 2004: completed"), the records per kind, the files written and the
// warnings.
std::vector<std::string> LastRunLines(const RunSummary& summary);

// What the main window's "Last run" box holds: the notice that the scenery
// changed since the folder's set was built (SceneryChangeNotice, when the
// window opened on the folder), then LastRunLines of the newest run, if
// any. No lines: no box.
std::vector<std::string> LastRunBoxLines(const std::optional<RunSummary>& run,
                                         std::vector<std::string> scenery_notice);

// The Details of a run: its report (ScanReportText), then the files written
// with their sizes and the time of each phase.
std::string RunDetailsText(const RunSummary& summary);

// The program and folder of the last start that succeeded, or of the last
// Change, and the code page chosen under "File", kept for this user.
struct RememberedTarget {
  TargetProgramChoice choice = TargetProgramChoice::None;
  std::filesystem::path folder;
  std::optional<platform::CodePage> code_page;  // none: the default
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

// The code pages offered under "File" > "Code Page", each with its menu
// text ("Central European (1250)"), in menu order.
struct CodePageItem {
  platform::CodePage code_page;
  std::string_view label;
};
const std::vector<CodePageItem>& CodePageItems();

// Choosing a code page under "File": it applies to the next run and is
// remembered. Only while no run is going (CanChangeSetup); false otherwise.
bool ChooseCodePage(ProgramState& state, platform::CodePage code_page, TargetMemory& memory);

// A sibling program found installed: its choice in the target dialog and
// its folder as the user would type it ("C:\Program Files\Scopel v5").
struct FoundProgram {
  TargetProgramChoice choice = TargetProgramChoice::None;
  std::string folder;
};
// "Scopel v5.0 (For FS2002/2004): C:\Program Files\Scopel v5", as listed.
std::string FoundProgramLabel(const FoundProgram& program);

// The sibling programs installed on this machine: folders holding a
// Program_Config.cfg whose Program_Id names one, up to three levels below
// "Program Files" and "Program Files (x86)" (on Windows those of the
// system; elsewhere those of drive C of the Wine prefixes near `near`,
// $WINEPREFIX and ~/.wine).
std::vector<FoundProgram> LookForTargetPrograms(const std::filesystem::path& near = {});

// The setup dialogs of a desktop window.
class DesktopStartupView : public StartupView {
 public:
  // The target dialog opens with `choice` and `folder` until told otherwise.
  virtual void PrefillTarget(TargetProgramChoice choice, const std::filesystem::path& folder) = 0;
  // The target dialog lists `found` under its fields (none: no list);
  // choosing one fills its choice and folder in, and Ok still decides.
  virtual void OfferTargets(const std::vector<FoundProgram>& found) = 0;
  // The choice of the target dialog's last accepted answer.
  virtual TargetProgramChoice AcceptedTargetChoice() const = 0;
};

// Start-up of a desktop window: the remembered code page applies, and the
// target dialog opens with the remembered program and folder, so Enter is
// enough; with none remembered, with the one program found installed, or
// with the list of those found. A start that gets ready is remembered. The
// target folder is let go either way: the window holds it only while a run
// works on it. The state's front end becomes the window.
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
// exists. When the field is blank: the "Program Files" folder where the
// programs are installed (platform::ProgramFilesFolder near `near`); empty
// (the user's home) when there is none or the text names nothing.
std::filesystem::path BrowseStartFolder(std::string_view field_text,
                                        const std::filesystem::path& typed,
                                        const std::filesystem::path& near = {});

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

// A simulator install found, of either version, its folder as the user
// would type it.
struct SimulatorInstall {
  FsVersion version = FsVersion::None;
  std::string folder;
};
// "Microsoft Flight Simulator 2004: C:\Program Files\...", as listed.
std::string SimulatorInstallLabel(const SimulatorInstall& install);

// What the simulator dialog offers as it opens, before any version is
// chosen: with nothing recorded and a single install found, that install
// fills version and folder (`fill`); otherwise the installs of both
// versions are listed (the recorded one left out), and choosing one sets
// its version too.
struct SimulatorOffer {
  std::optional<SimulatorInstall> fill;
  std::vector<SimulatorInstall> listed;
};
SimulatorOffer OfferSimulatorInstalls(const SimulatorChoice& recorded,
                                      const std::filesystem::path& target_folder);

}  // namespace tarnvale
