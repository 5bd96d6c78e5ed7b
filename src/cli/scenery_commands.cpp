// `gen-scenery` and `demo`: a synthetic simulator installation, and for the demo the program
// folders beside it, in a folder only a demo may clear.

#include "cli/scenery_commands.h"

#include <iostream>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "cli/create_command.h"
#include "cli/exit_codes.h"
#include "cli/run_report.h"
#include "platform/paths.h"
#include "sceneryfab/installation_writer.h"

namespace tarnvale::cli {
namespace {

namespace fs = std::filesystem;

// Marks a folder made by `demo`, which a later `demo` may clear and rebuild.
constexpr std::string_view kDemoMarker = ".tarnvale-demo";

// The radar program's folder; the chart program's is named after its simulator.
constexpr std::string_view kRadarFolder = "Scopel v5";

// The demo's simulator: the version asked for, or else the newest.
const SimulatorTraits& DemoSimulator(FsVersion fs_version) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(fs_version);
  return simulator ? *simulator : kSimulators.back();
}

std::string_view ProgramFolderName(const DemoOptions& options) {
  if (options.program == TargetProgram::Radar) return kRadarFolder;
  return DemoSimulator(options.fs_version).chart_folder;
}

// The file the sibling program's installer leaves: no simulator recorded yet.
std::string FreshProgramConfig(TargetProgram program) {
  const bool radar = program == TargetProgram::Radar;
  return std::string("[Main Settings]\r\nProgram_Name=") + (radar ? "Scopel" : "Brisolt") +
         "\r\nProgram_Id=" + std::to_string(ToNumber(program)) +
         "\r\nFS_Version=0\r\nFS_Directory=\r\n";
}

// The entries a demo makes in its folder: the marker, the simulator and
// every kind of program folder.
bool MadeByDemo(const fs::path& name) {
  if (name == kDemoMarker || name == kRadarFolder) return true;
  for (const SimulatorTraits& simulator : kSimulators) {
    if (name == simulator.install_folder || name == simulator.chart_folder) return true;
  }
  return false;
}

// An empty folder, or one an earlier demo made (cleared here), is usable.
// Only what a demo makes is cleared: anything else there is the user's,
// and stops the demo.
std::optional<std::string> PrepareDemoFolder(const fs::path& dir) {
  std::error_code error;
  if (fs::exists(dir / kDemoMarker, error)) {
    std::vector<fs::path> made;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
      if (!MadeByDemo(entry.path().filename())) {
        return platform::Utf8Of(entry.path()) +
               " was not made by tarnvale-cli demo; move it away or choose another --dir";
      }
      made.push_back(entry.path());
    }
    for (const fs::path& entry : made) {
      fs::remove_all(entry, error);
      if (error) return "cannot clear " + platform::Utf8Of(entry) + ": " + error.message();
    }
  } else if (fs::exists(dir, error) && !fs::is_empty(dir, error)) {
    return platform::Utf8Of(dir) +
           " exists and was not made by tarnvale-cli demo; choose another --dir";
  }
  fs::create_directories(dir, error);
  if (error) return "cannot create " + platform::Utf8Of(dir) + ": " + error.message();
  fab::WriteTextToFile(dir / kDemoMarker, "made by tarnvale-cli demo\n");
  return std::nullopt;
}

fs::path MakeProgramFolder(const DemoOptions& options) {
  const fs::path folder = platform::AbsolutePath(options.dir) / ProgramFolderName(options);
  fab::WriteTextToFile(folder / "Program_Config.cfg", FreshProgramConfig(options.program));
  if (options.program == TargetProgram::Radar) fs::create_directories(folder / "DEFAULT_DB");
  return folder;
}

void PrintGenerated(const fab::GenerateSummary& summary, const fs::path& folder,
                    std::ostream& out) {
  out << "Wrote " << summary.bgl_files << " BGL files (" << summary.bgl_bytes << " bytes) in "
      << summary.areas << " scenery areas (" << summary.active_areas << " active) to "
      << platform::Utf8Of(folder) << '\n'
      << "  " << summary.navigation_files << " of them (" << summary.navigation_bytes
      << " bytes) hold navigation records\n";
  for (const auto& [kind, count] : summary.records) PrintCount(out, kind, count);
}

}  // namespace

int RunGenSceneryCommand(const fab::GenerateOptions& options, std::ostream& out) {
  try {
    PrintGenerated(fab::GenerateInstallation(options), options.out, out);
    return kExitSuccess;
  } catch (const std::exception& error) {
    out << "Cannot generate the scenery: " << error.what() << '\n';
    return kExitError;
  }
}

int RunDemoCommand(const DemoOptions& options, TerminalView& view) {
  fab::GenerateOptions scenery;
  scenery.out =
      platform::AbsolutePath(options.dir) / DemoSimulator(options.fs_version).install_folder;
  scenery.fs_version = options.fs_version;
  CreateOptions create;
  create.simulator = scenery.out;
  create.fs_version = options.fs_version;
  try {
    if (const std::optional<std::string> refusal = PrepareDemoFolder(options.dir)) {
      view.Line(*refusal);
      return kExitError;
    }
    fab::GenerateInstallation(scenery);
    create.target = MakeProgramFolder(options);
  } catch (const std::exception& error) {
    view.Line("Cannot build the demo installation: " + std::string(error.what()));
    return kExitError;
  }
  const int status = RunCreateCommand(create, view);
  view.Line("Demo simulator: " + platform::Utf8Of(scenery.out));
  view.Line("Database files: " + platform::Utf8Of(create.target));
  return status;
}

}  // namespace tarnvale::cli
