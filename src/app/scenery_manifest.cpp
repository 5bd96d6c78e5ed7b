// Manifests of what a run read, kept per target folder in the user's state
// folder, and the scenery of now compared with them.
#include "app/scenery_manifest.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <concepts>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include <nlohmann/json.hpp>

#include "app/scan_report_json.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/system_file.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A file with its size and time; 0 and 0 when it could not be looked at.
ManifestFile StampedFile(const fs::path& path, const std::optional<platform::FileStamp>& stamp) {
  ManifestFile file{platform::Utf8Of(path)};
  if (stamp) {
    file.size = stamp->size;
    file.modified = stamp->modified;
  }
  return file;
}

ManifestFile Stat(const fs::path& path) { return StampedFile(path, platform::StampOf(path)); }

// The target folder as one text, the same whichever way it was named.
std::string TargetKey(const fs::path& target) {
  std::error_code error;
  const fs::path absolute = platform::AbsolutePath(target);
  const fs::path canonical = fs::weakly_canonical(absolute, error);
  return platform::Utf8Of(error ? absolute.lexically_normal() : canonical);
}

// "set-<16 hex digits>.json" under "sets": a hash of the target folder.
fs::path ManifestPath(const fs::path& target, const fs::path& folder) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (const char c : TargetKey(target)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
  }
  char name[32];
  std::snprintf(name, sizeof name, "set-%016llx.json", static_cast<unsigned long long>(hash));
  return folder / "sets" / name;
}

ManifestFile FileOf(const json& value) {
  return {value.at("path").get<std::string>(), value.at("size").get<std::uintmax_t>(),
          value.at("modified").get<std::int64_t>()};
}

// A JSON string as nlohmann writes it; the plain ASCII of nearly every
// path is written as it stands, without building a value for it.
void AppendString(std::string& out, std::string_view text) {
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return c >= ' ' && c <= '~' && c != '"' && c != '\\';
  });
  if (!plain) {
    out += json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
    return;
  }
  out += '"';
  out += text;
  out += '"';
}

// `lead` (the punctuation and the key), then the value.
void AppendMember(std::string& out, std::string_view lead, std::string_view text) {
  out += lead;
  AppendString(out, text);
}

template <std::integral Number>
void AppendMember(std::string& out, std::string_view lead, Number number) {
  out += lead;
  char digits[24];
  out.append(digits, std::to_chars(std::begin(digits), std::end(digits), number).ptr);
}

void AppendFile(std::string& out, const ManifestFile& file) {
  AppendMember(out, "{\"path\": ", file.path);
  AppendMember(out, ", \"size\": ", file.size);
  AppendMember(out, ", \"modified\": ", file.modified);
  out += '}';
}

// The manifest's text, one area or file per line. It is written by hand:
// a value per file of an installation's thousands would cost the run more
// than reading the file's head.
std::string ManifestText(const SceneryManifest& manifest) {
  // Room for the whole text at once: a few hundred kilobytes for an
  // installation, which growing by doubling would copy and touch twice.
  constexpr std::size_t kAroundAFile = 80;  // what a file's line holds besides its path
  std::size_t length = 1024 + 128 * manifest.areas.size();
  for (const ManifestFile& file : manifest.files) length += file.path.size() + kAroundAFile;
  std::string out;
  out.reserve(length);
  AppendMember(out, "{\n \"target\": ", manifest.target);
  AppendMember(out, ",\n \"fs_version\": ", ToNumber(manifest.fs_version));
  AppendMember(out, ",\n \"simulator\": ", manifest.simulator);
  AppendMember(out, ",\n \"built\": ", manifest.built);
  out += ",\n \"scenery_cfg\": ";
  AppendFile(out, manifest.library);
  out += ",\n \"areas\": [";
  const char* separator = "\n  ";
  for (const ManifestArea& area : manifest.areas) {
    out += std::exchange(separator, ",\n  ");
    AppendMember(out, "{\"title\": ", area.title);
    AppendMember(out, ", \"local\": ", area.local);
    out += area.active ? ", \"active\": true}" : ", \"active\": false}";
  }
  out += "\n ],\n \"files\": [";
  separator = "\n  ";
  for (const ManifestFile& file : manifest.files) {
    out += std::exchange(separator, ",\n  ");
    AppendFile(out, file);
  }
  out += "\n ]\n}\n";
  return out;
}

SceneryManifest ManifestOf(const json& value) {
  SceneryManifest manifest;
  manifest.target = value.at("target").get<std::string>();
  manifest.fs_version = FsVersionFromNumber(value.at("fs_version").get<std::int16_t>());
  manifest.simulator = value.at("simulator").get<std::string>();
  manifest.built = value.at("built").get<std::string>();
  manifest.library = FileOf(value.at("scenery_cfg"));
  for (const json& area : value.at("areas")) {
    manifest.areas.push_back({area.at("title").get<std::string>(),
                              area.at("local").get<std::string>(), area.at("active").get<bool>()});
  }
  for (const json& file : value.at("files")) manifest.files.push_back(FileOf(file));
  return manifest;
}

// The manifest's text; empty when it cannot be read or is far larger than
// any manifest.
std::string ReadManifestText(const fs::path& file) {
  constexpr std::uint64_t kLargest = std::uint64_t{256} << 20;
  const std::optional<platform::InputFile> input = platform::InputFile::Open(file);
  if (!input || input->Size() > kLargest) return {};
  std::string text(static_cast<std::size_t>(input->Size()), '\0');
  bool failed = false;
  text.resize(input->ReadAt(0, text.data(), text.size(), failed));
  return failed ? std::string() : text;
}

std::string AreaName(const ManifestArea& area) {
  const std::string title = area.title.empty() ? "(no title)" : area.title;
  return area.local.empty() ? title : title + " (" + area.local + ")";
}

// Areas matched by their Local text, in order; Scenery.cfg may list one
// folder more than once.
void CompareAreas(const std::vector<ManifestArea>& built, const std::vector<ManifestArea>& now,
                  SceneryChanges& changes) {
  std::vector<bool> matched(built.size());
  for (const ManifestArea& area : now) {
    std::size_t i = 0;
    while (i < built.size() && (matched[i] || built[i].local != area.local)) ++i;
    if (i == built.size()) {
      changes.areas_added.push_back(AreaName(area));
      continue;
    }
    matched[i] = true;
    if (area.active && !built[i].active) changes.areas_switched_on.push_back(AreaName(area));
    if (!area.active && built[i].active) changes.areas_switched_off.push_back(AreaName(area));
  }
  for (std::size_t i = 0; i < built.size(); ++i) {
    if (!matched[i]) changes.areas_removed.push_back(AreaName(built[i]));
  }
}

void CompareFiles(std::vector<ManifestFile> built, std::vector<ManifestFile> now,
                  SceneryChanges& changes) {
  const auto by_path = [](const ManifestFile& a, const ManifestFile& b) { return a.path < b.path; };
  std::sort(built.begin(), built.end(), by_path);
  std::sort(now.begin(), now.end(), by_path);
  auto before = built.begin();
  auto after = now.begin();
  while (before != built.end() || after != now.end()) {
    if (after == now.end() || (before != built.end() && before->path < after->path)) {
      changes.files_removed.push_back((before++)->path);
    } else if (before == built.end() || after->path < before->path) {
      changes.files_added.push_back((after++)->path);
    } else {
      if (!(*before == *after)) changes.files_changed.push_back(after->path);
      ++before;
      ++after;
    }
  }
}

// "3 files added" for the first part of a kind, ", 1 changed" after it.
void AppendCount(std::string& text, bool& first, std::size_t count, std::string_view noun,
                 std::string_view what) {
  if (count == 0) return;
  text += first ? (text.empty() ? "" : "; ") : ", ";
  text += std::to_string(count) + " ";
  if (first) text += std::string(noun) + (count == 1 ? " " : "s ");
  text += what;
  first = false;
}

}  // namespace

SceneryManifest DescribeLibrary(const ScanReport& scan, const fs::path& library) {
  SceneryManifest manifest;
  manifest.target = TargetKey(scan.target);
  manifest.fs_version = scan.fs_version;
  manifest.simulator = platform::Utf8Of(scan.simulator);
  manifest.library = Stat(library);
  for (const AreaScan& area : scan.areas) {
    manifest.areas.push_back({area.title, area.local, area.status != AreaStatus::Inactive});
  }
  return manifest;
}

void AddFilesRead(SceneryManifest& manifest, const ScanReport& scan) {
  manifest.files.reserve(manifest.files.size() + scan.supplies.size());
  for (const FileSupply& supply : scan.supplies) {
    manifest.files.push_back(supply.stamp ? StampedFile(supply.path, supply.stamp)
                                          : Stat(supply.path));
  }
}

SceneryManifest DescribeScenery(const ScanReport& scan,
                                const std::vector<platform::FolderMatches>& files,
                                const fs::path& library) {
  SceneryManifest manifest = DescribeLibrary(scan, library);
  for (const platform::FolderMatches& matches : files) {
    for (const fs::path& file : matches.files) manifest.files.push_back(Stat(file));
  }
  return manifest;
}

std::optional<std::string> KeepManifest(SceneryManifest manifest, const fs::path& folder) {
  manifest.built = UtcMinuteText(std::chrono::system_clock::now());
  const fs::path file = ManifestPath(manifest.target, folder);
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  if (!error) {
    error = platform::ReplaceFileContents(file, ManifestText(manifest));
  }
  if (!error) return std::nullopt;
  return "Could not keep what the run read in " + platform::Utf8Of(file) + ": " + error.message();
}

std::optional<SceneryManifest> KeptManifest(const fs::path& target, const fs::path& folder) {
  if (folder.empty()) return std::nullopt;
  const json value = json::parse(ReadManifestText(ManifestPath(target, folder)), nullptr, false);
  try {
    SceneryManifest manifest = ManifestOf(value);
    if (manifest.target == TargetKey(target)) return manifest;
  } catch (const json::exception&) {
    // Unreadable or of another shape: as if there were none.
  }
  return std::nullopt;
}

bool SceneryChanges::Any() const {
  return other_simulator || !areas_added.empty() || !areas_removed.empty() ||
         !areas_switched_on.empty() || !areas_switched_off.empty() || !files_added.empty() ||
         !files_removed.empty() || !files_changed.empty();
}

SceneryChanges CompareScenery(const SceneryManifest& built, const SceneryManifest& now) {
  SceneryChanges changes;
  changes.other_simulator = built.simulator != now.simulator || built.fs_version != now.fs_version;
  changes.library_rewritten = !(built.library == now.library);
  CompareAreas(built.areas, now.areas, changes);
  CompareFiles(built.files, now.files, changes);
  return changes;
}

std::string ChangesCounts(const SceneryChanges& changes) {
  std::string text;
  bool first = true;
  AppendCount(text, first, changes.files_added.size(), "file", "added");
  AppendCount(text, first, changes.files_removed.size(), "file", "removed");
  AppendCount(text, first, changes.files_changed.size(), "file", "changed");
  first = true;
  AppendCount(text, first, changes.areas_added.size(), "area", "added");
  AppendCount(text, first, changes.areas_removed.size(), "area", "removed");
  AppendCount(text, first, changes.areas_switched_on.size(), "area", "switched on");
  AppendCount(text, first, changes.areas_switched_off.size(), "area", "switched off");
  if (changes.other_simulator) text += std::string(text.empty() ? "" : "; ") + "another simulator";
  return text;
}

bool SetStatus::Current() const {
  // A staging folder whose swap never began leaves the set as it was.
  const bool set_whole =
      pending == PendingReplacement::None || pending == PendingReplacement::Leftover;
  return built && now && set_whole && !changes.Any();
}

std::optional<SceneryManifest> CurrentScenery(const ProgramState& state, std::string& problem) {
  const fs::path simulator = state.config.SimulatorFolder(state.TargetFolder);
  if (simulator.empty() || !platform::CanEnterFolder(simulator)) {
    problem = "The simulator folder " +
              platform::DisplayText(state.config.FS_Directory.value_or("")) +
              " is not there or cannot be entered.";
    return std::nullopt;
  }
  const fs::path library = platform::FindFile(simulator, "Scenery.cfg");
  CFG_File_Reader reader;
  std::error_code unreadable;
  if (library.empty() || reader.ReadSceneryLibrary(library, &unreadable) != CfgResult::Ok) {
    problem = "No readable Scenery.cfg in " + platform::Utf8Of(simulator) + ".";
    return std::nullopt;
  }
  const ScanReport scan =
      PlanScan(reader.SceneryAreas, simulator, state.config.FS_Version, state.TargetFolder);
  std::vector<platform::FolderMatches> files(scan.areas.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (scan.areas[i].status == AreaStatus::Read) {
      files[i] = platform::FindMatches(scan.areas[i].folder, "*.bgl");
    }
  }
  return DescribeScenery(scan, files, library);
}

SetStatus StatusOfSet(const ProgramState& state) {
  SetStatus status;
  status.built = KeptManifest(state.TargetFolder, state.report_archive);
  status.pending = PendingReplacementIn(state.TargetFolder);
  status.now = CurrentScenery(state, status.scenery_problem);
  if (status.built && status.now) status.changes = CompareScenery(*status.built, *status.now);
  return status;
}

std::vector<std::string> SceneryChangeNotice(const ProgramState& state) {
  const SetStatus status = StatusOfSet(state);
  if (!status.built || !status.now || !status.changes.Any()) return {};
  return {"The scenery has changed since the database files were built",
          "on " + status.built->built + ": " + ChangesCounts(status.changes) + ".",
          "Press Create to build them again."};
}

}  // namespace tarnvale
