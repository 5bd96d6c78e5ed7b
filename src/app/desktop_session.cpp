// What the desktop windows decide: the names and setup lines they show, the program and folder
// remembered between starts, and the simulator installs that Browse offers.

#include "app/desktop_session.h"

#include <algorithm>
#include <system_error>

#include "app/messages.h"
#include "app/scan_report.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

std::string InFolder(const std::string& folder) {
  return folder.empty() ? std::string() : ", in " + folder;
}

std::string HeadNaming(std::string_view what, std::string_view name) {
  return std::string(what).append(name.empty() ? std::string_view("none chosen") : name);
}

void Remember(const ProgramState& state, const DesktopStartupView& view, TargetMemory& memory) {
  memory.Save({view.AcceptedTargetChoice(), state.TargetFolder});
}

// `folder`, or the nearest folder above it that exists; empty when none does.
fs::path NearestExistingFolder(fs::path folder) {
  std::error_code error;
  while (!folder.empty() && !fs::is_directory(folder, error)) {
    if (folder == folder.parent_path()) return {};
    folder = folder.parent_path();
  }
  return folder;
}

// The registry entries that the simulator's installer leaves: the folder of
// its program file.
std::vector<fs::path> RegisteredInstalls(FsVersion version) {
  const std::string key = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\" +
                          std::to_string(ToNumber(version)) + ".0";
  std::vector<fs::path> folders;
  for (const std::string& text : platform::MachineRegistryTexts(key, "EXE Path")) {
    fs::path folder = platform::PathFromUtf8(text);
    std::error_code error;
    if (fs::is_regular_file(folder, error)) folder = folder.parent_path();
    if (!platform::FindFile(folder, SimulatorProgramFile(version)).empty()) {
      folders.push_back(fs::canonical(folder, error));
    }
  }
  return folders;
}

std::vector<fs::path> SimulatorInstalls(FsVersion version, const fs::path& target_folder) {
  std::vector<fs::path> folders = RegisteredInstalls(version);
  for (fs::path& folder :
       platform::FindInstalledPrograms(SimulatorProgramFile(version), target_folder)) {
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(std::move(folder));
    }
  }
  return folders;
}

// What the user would type for `folder`: its "C:\..." form in the Wine
// prefix of the target program (or, without one, of the folder itself) when
// that form leads back to it, else its path on this machine.
std::string FieldTextOf(const fs::path& folder, const fs::path& target_folder) {
  const fs::path& near = target_folder.empty() ? folder : target_folder;
  if (const std::optional<std::string> windows = platform::WindowsPathOf(folder, near)) {
    std::string text = platform::DecodeCodePage(*windows, platform::ActiveCodePage());
    std::error_code error;
    const fs::path back =
        fs::canonical(platform::ResolveTypedPath(text, WorkingFolder(), target_folder), error);
    if (!error && back == fs::canonical(folder, error)) return text;
  }
  return platform::Utf8Of(folder);
}

}  // namespace

std::string_view TargetProgramName(TargetProgramChoice choice) {
  switch (choice) {
    case TargetProgramChoice::ChartFs2002:
      return "Brisolt v4.0 (For FS2002)";
    case TargetProgramChoice::ChartFs2004:
      return "Brisolt v5.0 (For FS2004)";
    case TargetProgramChoice::Radar:
      return "Scopel v5.0 (For FS2002/2004)";
    case TargetProgramChoice::None:
      break;
  }
  return {};
}

std::string_view SimulatorName(FsVersion version) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(version);
  return simulator ? simulator->display_name : std::string_view();
}

FsVersion SimulatorAtPlace(int place) {
  if (place < 1 || place > static_cast<int>(kSimulators.size())) return FsVersion::None;
  return kSimulators[static_cast<std::size_t>(place - 1)].version;
}

int PlaceOfSimulator(FsVersion version) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(version);
  return simulator ? static_cast<int>(simulator - kSimulators.data()) + 1 : 0;
}

std::string_view MessageTitleText(MessageTitle title, std::string_view program_name) {
  return title == MessageTitle::ErrorMessage ? text::kErrorTitle : program_name;
}

SetupLine ProgramLine(const ProgramState& state) {
  return {HeadNaming("Program: ", TargetProgramName(CurrentTargetChoice(state))),
          InFolder(platform::Utf8Of(state.TargetFolder))};
}

SetupLine SimulatorLine(const ProgramState& state) {
  return {HeadNaming("Simulator: ", SimulatorName(state.config.FS_Version)),
          InFolder(platform::DisplayText(state.config.FS_Directory.value_or("")))};
}

std::vector<std::string> RunEndingSummary(const RunSummary& summary) {
  std::string records;
  for (const RecordCount& record : summary.records) {
    if (record.count == 0) continue;
    records +=
        (records.empty() ? "Records: " : ", ") + std::to_string(record.count) + ' ' + record.kind;
  }
  std::vector<std::string> lines;
  if (!records.empty()) lines.push_back(records);
  for (std::string& line : ScanSummaryLines(summary.scan)) lines.push_back(std::move(line));
  return lines;
}

TargetProgramChoice TargetChoiceFromNumber(long number) {
  return number >= 1 && number <= 3 ? static_cast<TargetProgramChoice>(number)
                                    : TargetProgramChoice::None;
}

StartupOutcome StartDesktopSession(ProgramState& state, DesktopStartupView& view,
                                   TargetMemory& memory) {
  const RememberedTarget remembered = memory.Load();
  view.PrefillTarget(remembered.choice, remembered.folder);
  const StartupOutcome outcome = RunStartup(state, view);
  if (outcome == StartupOutcome::Ready) Remember(state, view, memory);
  ReleaseTargetFolder(state);
  return outcome;
}

bool CanChangeSetup(const ProgramState& state) { return !state.worker.Running(); }

bool ChangeDesktopSetup(ProgramState& state, DesktopStartupView& view, TargetMemory& memory) {
  if (!CanChangeSetup(state)) return false;
  view.PrefillTarget(CurrentTargetChoice(state), state.TargetFolder);
  const bool changed = ChangeProgramOrSimulator(state, view);
  if (changed) Remember(state, view, memory);
  return changed;
}

fs::path WorkingFolder() {
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? fs::path("/") : folder;
}

fs::path BrowseStartFolder(std::string_view field_text, const fs::path& typed) {
  if (field_text.find_first_not_of(" \t") == std::string_view::npos) return {};
  return NearestExistingFolder(typed);
}

FoundInstalls LookForSimulatorInstalls(FsVersion version, const fs::path& target_folder,
                                       std::string_view field_text, std::string_view filled) {
  FoundInstalls found;
  for (const fs::path& folder : SimulatorInstalls(version, target_folder)) {
    found.listed.push_back(FieldTextOf(folder, target_folder));
  }
  if (found.listed.size() == 1 && (field_text.empty() || field_text == filled)) {
    found.fill = found.listed.front();
    found.listed.clear();
  }
  std::erase(found.listed, std::string(field_text));  // already in the field, as recorded
  return found;
}

}  // namespace tarnvale
