// Loading the scenery files of a run's areas, one progress step per file,
// and noting in the scan what each area gave and each file lacked.
#include "app/scenery_reading.h"

#include <memory>
#include <utility>

#include "app/messages.h"
#include "app/scan_report.h"
#include "domain/shared_work.h"
#include "output/binding.h"
#include "platform/code_page.h"
#include "platform/paths.h"
#include "scenery/parallel_loader.h"

namespace tarnvale {
namespace {

template <typename Step>
Interruption RunBindStep(bool both_present, std::string_view status, RunView& view,
                         const std::stop_token& halt, Step step) {
  if (!both_present) return Interruption::None;
  view.SetStatusText(std::string(status));
  if (step() == BindResult::Done) return Interruption::None;
  return halt.stop_requested() ? Interruption::Halt : Interruption::Cancel;
}

std::vector<const std::filesystem::path*> FilesToRead(
    const std::vector<platform::FolderMatches>& listed) {
  std::vector<const std::filesystem::path*> files;
  for (const platform::FolderMatches& matches : listed) {
    for (const std::filesystem::path& file : matches.files) files.push_back(&file);
  }
  return files;
}

// The areas from `first` on that the run was to read, and did not read whole.
void MarkNotRead(ScanReport& scan, std::size_t first) {
  for (std::size_t i = first; i < scan.areas.size(); ++i) {
    AreaScan& area = scan.areas[i];
    if (area.status == AreaStatus::Read) area.status = AreaStatus::NotRead;
  }
}

}  // namespace

std::filesystem::path SimulatorFolderOf(const ProgramState& state) {
  const std::optional<std::string>& recorded = state.config.FS_Directory;
  if (!recorded || recorded->empty()) return {};
  return platform::ResolvePath(*recorded, state.TargetFolder);
}

Interruption BindRecords(NavDatabase& db, RunView& view, const CancelFlag& cancel,
                         const std::stop_token& halt) {
  Interruption stop = RunBindStep(!db.Ilss.empty() && !db.Airports.empty(), text::kBindingIls, view,
                                  halt, [&] { return BindIlsToRunways(db, view, cancel); });
  if (stop == Interruption::None) {
    stop = RunBindStep(!db.Fixes.empty() && !db.JetAirways.empty(), text::kBindingJetAirways, view,
                       halt, [&] { return BindFixesToJetAirways(db, view, cancel); });
  }
  if (stop == Interruption::None) {
    stop = RunBindStep(!db.Fixes.empty() && !db.VictorAirways.empty(), text::kBindingVictorAirways,
                       view, halt, [&] { return BindFixesToVictorAirways(db, view, cancel); });
  }
  return stop;
}

SceneryReading::SceneryReading(NavDatabase& db, FsVersion fs_version, RunView& view,
                               std::stop_token halt, const CancelFlag& cancel, ScanReport& scan)
    : db_(db),
      fs_version_(fs_version),
      view_(view),
      halt_(std::move(halt)),
      cancel_(cancel),
      scan_(scan) {}

std::vector<platform::FolderMatches> SceneryReading::ListFiles(unsigned threads) {
  view_.SetStatusText(std::string(text::kCountingBglFiles));
  std::vector<platform::FolderMatches> files(scan_.areas.size());
  static_cast<void>(ShareWork(files.size(), threads, [&](std::size_t i) {
    const AreaScan& area = scan_.areas[i];
    if (area.status == AreaStatus::Read) files[i] = platform::FindMatches(area.folder, "*.bgl");
    return true;
  }));
  for (std::size_t i = 0; i < files.size(); ++i) {
    scan_.areas[i].bgl_files = static_cast<std::int32_t>(files[i].files.size());
  }
  return files;
}

void SceneryReading::PrepareProgressBar(std::int32_t count) {
  view_.SetProgressRange(0, count + 2);
  view_.SetProgressStep(1);
  view_.SetProgressPosition(0);
  view_.SetStatusText("");
}

Interruption SceneryReading::Read(const std::vector<SceneryArea>& areas,
                                  std::vector<platform::FolderMatches> files, unsigned threads) {
  std::size_t count = scan_.supplies.size();
  for (const platform::FolderMatches& matches : files) count += matches.files.size();
  scan_.supplies.reserve(count);
  std::optional<ParallelLoader> pool;
  if (threads > 1) pool.emplace(FilesToRead(files), fs_version_, threads);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const SceneryArea& area = areas[areas.size() - 1 - i];
    if (area.Local.empty() || !area.Active) continue;
    if (area.Title) view_.SetStatusText(platform::DisplayText(*area.Title));
    AreaScan& scan = scan_.areas[i];
    if (scan.status != AreaStatus::Read) continue;
    const std::size_t first_airport = db_.Airports.size();
    const std::vector<RecordCount> before = CountRecords(db_, first_airport);
    const Interruption stop = ReadArea(i, files[i], pool ? &*pool : nullptr);
    scan.records = RecordsAdded(before, CountRecords(db_, first_airport));
    if (stop != Interruption::None) {
      MarkNotRead(scan_, i);
      return stop;
    }
  }
  return Interruption::None;
}

// Entries named like scenery files that are no files are passed over as
// unreadable. Each file is marked in the database before its records come,
// so that the report can tell which file supplied which record. Once a
// file is read and merged, the loader needs its path no more: the report
// takes it.
Interruption SceneryReading::ReadArea(std::size_t area, platform::FolderMatches& matches,
                                      ParallelLoader* pool) {
  for (const std::filesystem::path& other : matches.others) {
    scan_.files.push_back({other, FileStatus::Unreadable, 0});
  }
  for (std::filesystem::path& file : matches.files) {
    Interruption stop = CheckPoint();
    if (stop != Interruption::None) return stop;
    db_.BeginFile();
    FileReading reading;
    stop = pool ? TakeLoadedFile(*pool, reading) : LoadFile(file, reading);
    if (stop == Interruption::Halt || stop == Interruption::Cancel) {
      // The pool may be reading this very file still: its path stays.
      scan_.supplies.push_back({file, area, {}, {}, 0, std::nullopt});
      return stop;
    }
    scan_.supplies.push_back({std::move(file), area, {}, {}, 0, reading.stamp});
    const std::filesystem::path& path = scan_.supplies.back().path;
    // Out of file handles, a failing disk: passing the file over would
    // give a smaller set that looks whole.
    if (reading.system_failure) {
      system_failure_ = SetFailure{path, reading.system_failure};
      return Interruption::SystemFailure;
    }
    if (reading.status != FileStatus::Read) {
      scan_.files.push_back({path, reading.status, reading.skipped});
    }
    view_.StepProgress();
    if (stop == Interruption::OutOfMemory) return stop;
  }
  return Interruption::None;
}

Interruption SceneryReading::LoadFile(const std::filesystem::path& file, FileReading& reading) {
  const LoadResult result = BglLoader(db_, file, fs_version_, &reading);
  return result == LoadResult::OutOfMemory ? Interruption::OutOfMemory : Interruption::None;
}

// The pool's next file, merged; a halt or cancel while waiting for it ends
// the wait.
Interruption SceneryReading::TakeLoadedFile(ParallelLoader& pool, FileReading& reading) {
  std::unique_ptr<LoadedFile> loaded =
      pool.Next([this] { return CheckPoint() != Interruption::None; });
  if (!loaded) {
    const Interruption stop = CheckPoint();
    return stop == Interruption::None ? Interruption::OutOfMemory : stop;
  }
  const LoadResult result = MergeLoadedFile(db_, *loaded, fs_version_);
  reading = loaded->reading;
  pool.Recycle(std::move(loaded));
  return result == LoadResult::OutOfMemory ? Interruption::OutOfMemory : Interruption::None;
}

Interruption SceneryReading::CheckPoint() const {
  if (halt_.stop_requested()) return Interruption::Halt;
  return cancel_ ? Interruption::Cancel : Interruption::None;
}

}  // namespace tarnvale
