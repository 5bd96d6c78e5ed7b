// What the set in a target folder was built from, and whether the scenery
// still is what it was.
//
// A successful run keeps a manifest of what it read (the settings'
// simulator, Scenery.cfg's size and time, every area, every scenery file's
// path, size and time) in the user's state folder, one per target folder;
// nothing goes into the program's folder. Finding out whether the set is
// current reads Scenery.cfg and looks at each file's size and time, never
// at its bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scan_report.h"
#include "output/database_set.h"
#include "platform/directory_search.h"

namespace tarnvale {

struct ManifestFile {
  std::string path;  // UTF-8
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // the file system's time, in its own ticks
  bool operator==(const ManifestFile&) const = default;
};

struct ManifestArea {
  std::string title;  // as shown: "Eastern Europe"
  std::string local;  // the Local text as written
  bool active = false;
};

struct SceneryManifest {
  std::string target;  // the target folder it was built for
  FsVersion fs_version = FsVersion::None;
  std::string simulator;            // the simulator folder read
  std::string built;                // when the set was put in place: "2026-12-10 09:14 UTC"
  ManifestFile library;             // Scenery.cfg
  std::vector<ManifestArea> areas;  // in the order the run reads them
  std::vector<ManifestFile> files;  // every scenery file of the areas read
};

// The scenery as a run reads it, so far as it is known before the files
// are read: the areas of `scan`, and Scenery.cfg's size and time taken now.
SceneryManifest DescribeLibrary(const ScanReport& scan, const std::filesystem::path& library);

// Adds the files a run read (`scan`'s supplies), each with its size and
// time when the run opened it, before reading it: a file changed while
// the run reads it counts as changed afterwards. A file that could not be
// opened is looked at now.
void AddFilesRead(SceneryManifest& manifest, const ScanReport& scan);

// DescribeLibrary with the files of each area that is read (`files` in
// scan order), each one's size and time taken now.
SceneryManifest DescribeScenery(const ScanReport& scan,
                                const std::vector<platform::FolderMatches>& files,
                                const std::filesystem::path& library);

// Keeps `manifest` (stamped with the time now) as the one of its target
// folder in the state folder `folder`, replacing the file in one step.
// Returns the reason when it could not be written.
std::optional<std::string> KeepManifest(SceneryManifest manifest,
                                        const std::filesystem::path& folder);

// The manifest kept for `target`, if there is a readable one.
std::optional<SceneryManifest> KeptManifest(const std::filesystem::path& target,
                                            const std::filesystem::path& folder);

// What differs between the scenery a set was built from and the scenery now.
struct SceneryChanges {
  bool other_simulator = false;          // the settings name another simulator or version
  bool library_rewritten = false;        // Scenery.cfg's size or time differs
  std::vector<std::string> areas_added;  // "Title (Local)"
  std::vector<std::string> areas_removed;
  std::vector<std::string> areas_switched_on;
  std::vector<std::string> areas_switched_off;
  std::vector<std::string> files_added;  // paths
  std::vector<std::string> files_removed;
  std::vector<std::string> files_changed;
  // Anything a new run would read differently. A Scenery.cfg rewritten
  // with the same areas is none: the simulator rewrites it by itself.
  bool Any() const;
};

SceneryChanges CompareScenery(const SceneryManifest& built, const SceneryManifest& now);

// "3 files added, 1 changed; 1 area switched off", or "" for none.
std::string ChangesCounts(const SceneryChanges& changes);

// Where the set of a target folder stands.
struct SetStatus {
  std::optional<SceneryManifest> built;  // none: no run of this user built it
  PendingReplacement pending = PendingReplacement::None;
  std::optional<SceneryManifest> now;  // none when the scenery cannot be read
  std::string scenery_problem;         // why it cannot
  SceneryChanges changes;
  // Built from this scenery, which has not changed, and no swap pending.
  bool Current() const;
};

// The scenery as it stands for the settings of `state` (its configuration
// read from Program_Config.cfg, its TargetFolder set): Scenery.cfg read,
// the area folders listed, each file's size and time taken. Nothing is
// written. std::nullopt, with `problem` set, when the simulator folder or
// its Scenery.cfg cannot be read.
std::optional<SceneryManifest> CurrentScenery(const ProgramState& state, std::string& problem);

// The state of the set in `state.TargetFolder`, with manifests kept in
// `state.report_archive`.
SetStatus StatusOfSet(const ProgramState& state);

// For the desktop window at start, in three lines a window's box can show
// without cutting them: "The scenery has changed since the database files
// were built", "on <time>: 3 files added, 1 changed.", "Press Create to
// build them again."; none when the set is current, was never built by
// this user, or the scenery cannot be read.
std::vector<std::string> SceneryChangeNotice(const ProgramState& state);

}  // namespace tarnvale
