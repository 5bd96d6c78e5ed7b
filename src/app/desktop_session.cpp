// What the desktop windows decide: the names and setup lines they show, the program and folder
// remembered between starts, and the simulator installs that Browse offers.

#include "app/desktop_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "app/messages.h"
#include "app/scan_report.h"
#include "app/scan_report_json.h"
#include "app/set_comparison_report.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramConfigFile = "Program_Config.cfg";

std::string InFolder(const std::string& folder) {
  return folder.empty() ? std::string() : ", in " + folder;
}

std::string HeadNaming(std::string_view what, std::string_view name) {
  return std::string(what).append(name.empty() ? std::string_view("none chosen") : name);
}

void Remember(const ProgramState& state, const DesktopStartupView& view, TargetMemory& memory) {
  memory.Save({view.AcceptedTargetChoice(), state.TargetFolder, memory.Load().code_page});
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

// "Records: 2 airports, 5 runways", the kinds with none left out; empty
// when there are none.
std::string RecordsLine(const std::vector<RecordCount>& records) {
  std::string line;
  for (const RecordCount& record : records) {
    if (record.count == 0) continue;
    line += (line.empty() ? "Records: " : ", ") + std::to_string(record.count) + ' ' + record.kind;
  }
  return line;
}

// "1.2 MB", "340 KB", "512 bytes".
std::string SizeText(std::uintmax_t bytes) {
  constexpr std::uintmax_t kKilo = 1024;
  if (bytes < kKilo) return std::to_string(bytes) + " bytes";
  const bool mega = bytes >= kKilo * kKilo;
  const double value =
      static_cast<double>(bytes) / static_cast<double>(mega ? kKilo * kKilo : kKilo);
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, mega ? "MB" : "KB");
  return text;
}

// "2026-12-10 09:14 UTC".
std::string_view EndingWords(RunEnding ending) {
  switch (ending) {
    case RunEnding::Success:
      return "completed";
    case RunEnding::Cancelled:
      return "cancelled";
    case RunEnding::NoSceneryArea:
    case RunEnding::NothingRead:
      return "nothing written";
    default:
      break;
  }
  return "failed";
}

std::string SecondsText(std::chrono::nanoseconds time) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", std::chrono::duration<double>(time).count());
  return text;
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
  if (folder.empty()) return {};
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
          InFolder(FieldTextOf(state.TargetFolder, state.TargetFolder))};
}

SetupLine SimulatorLine(const ProgramState& state) {
  return {HeadNaming("Simulator: ", SimulatorName(state.config.FS_Version)),
          InFolder(platform::DisplayText(state.config.FS_Directory.value_or("")))};
}

std::vector<std::string> RunEndingSummary(const RunSummary& summary) {
  std::vector<std::string> lines;
  if (std::string records = RecordsLine(summary.records); !records.empty()) {
    lines.push_back(std::move(records));
  }
  for (std::string& line : ScanSummaryLines(summary.scan)) lines.push_back(std::move(line));
  for (std::string& line : ComparisonSummaryLines(summary)) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> LastRunLines(const RunSummary& summary) {
  std::string head = "Last run: " + UtcMinuteText(summary.finished);
  if (const std::string_view simulator = SimulatorName(summary.scan.fs_version);
      !simulator.empty()) {
    head.append(", ").append(simulator);
  }
  head.append(": ").append(EndingWords(summary.ending));
  std::vector<std::string> lines = {head};
  if (std::string records = RecordsLine(summary.records); !records.empty()) {
    lines.push_back(std::move(records));
  }
  std::uintmax_t bytes = 0;
  for (const WrittenFile& file : summary.files) bytes += file.bytes;
  lines.push_back(summary.files.empty() ? std::string("Files written: none")
                                        : "Files written: " + std::to_string(summary.files.size()) +
                                              " (" + SizeText(bytes) + ")");
  for (std::string& line : ComparisonSummaryLines(summary)) lines.push_back(std::move(line));
  const std::vector<std::string>& warnings = summary.scan.warnings;
  if (warnings.empty()) {
    lines.emplace_back("No warnings");
  } else {
    lines.push_back(warnings.size() == 1 ? warnings.front()
                                         : std::to_string(warnings.size()) +
                                               " warnings, the first: " + warnings.front());
  }
  return lines;
}

std::vector<std::string> LastRunBoxLines(const std::optional<RunSummary>& run,
                                         std::vector<std::string> scenery_notice) {
  std::vector<std::string> lines = std::move(scenery_notice);
  if (run) {
    for (std::string& line : LastRunLines(*run)) lines.push_back(std::move(line));
  }
  return lines;
}

std::string RunDetailsText(const RunSummary& summary) {
  std::string text = ScanReportText(summary.scan, summary.records);
  text += ComparisonReportSection(summary);
  text += "\nFiles written:\n";
  if (summary.files.empty()) text += "  none\n";
  for (const WrittenFile& file : summary.files) {
    text += "  " + file.name + ": " + std::to_string(file.bytes) + " bytes\n";
  }
  const PhaseTimes& times = summary.times;
  text += "\nPhase times:\n  counting: " + SecondsText(times.counting) +
          "\n  loading: " + SecondsText(times.loading) +
          "\n  binding: " + SecondsText(times.binding) +
          "\n  writing: " + SecondsText(times.writing) + "\n";
  if (times.comparing.count() != 0) text += "  comparing: " + SecondsText(times.comparing) + "\n";
  if (times.loading_bytes_read) {
    text += "  bytes read while loading: " + std::to_string(*times.loading_bytes_read) + "\n";
  }
  return text;
}

const std::vector<CodePageItem>& CodePageItems() {
  static const std::vector<CodePageItem> items = {
      {platform::CodePage::Windows1250, "Central European (1250)"},
      {platform::CodePage::Windows1251, "Cyrillic (1251)"},
      {platform::CodePage::Windows1252, "Western (1252)"}};
  return items;
}

bool ChooseCodePage(ProgramState& state, platform::CodePage code_page, TargetMemory& memory) {
  if (!CanChangeSetup(state)) return false;
  platform::SetActiveCodePage(code_page);
  RememberedTarget remembered = memory.Load();
  remembered.code_page = code_page;
  memory.Save(remembered);
  return true;
}

std::string FoundProgramLabel(const FoundProgram& program) {
  return std::string(TargetProgramName(program.choice)) + ": " + program.folder;
}

std::vector<FoundProgram> LookForTargetPrograms(const fs::path& near) {
  std::vector<FoundProgram> found;
  for (const fs::path& folder : platform::FindInstalledPrograms(kProgramConfigFile, near)) {
    CFG_File_Reader config;
    const fs::path file = platform::FindFile(folder, kProgramConfigFile);
    if (config.ReadProgramConfig(file) != CfgResult::Ok) continue;
    const TargetProgramChoice choice = TargetChoiceOf(config, folder);
    if (choice != TargetProgramChoice::None) found.push_back({choice, FieldTextOf(folder, {})});
  }
  return found;
}

TargetProgramChoice TargetChoiceFromNumber(long number) {
  return number >= 1 && number <= 3 ? static_cast<TargetProgramChoice>(number)
                                    : TargetProgramChoice::None;
}

StartupOutcome StartDesktopSession(ProgramState& state, DesktopStartupView& view,
                                   TargetMemory& memory) {
  state.front_end = FrontEnd::Window;
  const RememberedTarget remembered = memory.Load();
  if (remembered.code_page) platform::SetActiveCodePage(*remembered.code_page);
  if (remembered.folder.empty()) {
    const std::vector<FoundProgram> found = LookForTargetPrograms();
    if (found.size() == 1) {
      view.PrefillTarget(found.front().choice, platform::PathFromUtf8(found.front().folder));
    } else {
      view.PrefillTarget(remembered.choice, remembered.folder);
      view.OfferTargets(found);
    }
  } else {
    view.PrefillTarget(remembered.choice, remembered.folder);
  }
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

fs::path BrowseStartFolder(std::string_view field_text, const fs::path& typed,
                           const fs::path& near) {
  if (field_text.find_first_not_of(" \t") == std::string_view::npos) {
    return platform::ProgramFilesFolder(near);
  }
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

std::string SimulatorInstallLabel(const SimulatorInstall& install) {
  return std::string(SimulatorName(install.version)) + ": " + install.folder;
}

SimulatorOffer OfferSimulatorInstalls(const SimulatorChoice& recorded,
                                      const fs::path& target_folder) {
  SimulatorOffer offer;
  const std::string recorded_text = platform::Utf8Of(recorded.folder);
  for (const SimulatorTraits& simulator : kSimulators) {
    for (const fs::path& folder : SimulatorInstalls(simulator.version, target_folder)) {
      SimulatorInstall install{simulator.version, FieldTextOf(folder, target_folder)};
      if (install.version != recorded.version || install.folder != recorded_text) {
        offer.listed.push_back(std::move(install));
      }
    }
  }
  if (recorded.folder.empty() && offer.listed.size() == 1) {
    offer.fill = std::move(offer.listed.front());
    offer.listed.clear();
  }
  return offer;
}

}  // namespace tarnvale
