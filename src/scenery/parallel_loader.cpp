// Scenery files read by worker threads a few files ahead, merged in file order, and a file whose
// reading depends on earlier ones read again behind them.

#include "scenery/parallel_loader.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <utility>

namespace tarnvale {

namespace {

// Files a worker may read ahead of the one handed out last: enough to keep
// every worker busy while the merging thread catches up, few enough that
// the databases waiting to be merged stay small.
constexpr std::size_t kFilesAheadPerThread = 16;

// How often a wait for the next file looks at the stop request.
constexpr std::chrono::milliseconds kStopPoll{10};

// Files that are read before the waiting merger is woken: it then merges
// them in one go instead of sleeping and waking for every file.
constexpr std::size_t kFilesPerWakeUp = 4;

// True when reading `file` on its own gave another result than reading it
// behind the records already in `db` would have:
//  - FS2002 airway points that came before any airway of the file belong to
//    the last airway of an earlier file;
//  - an FS2004 airport whose ident `db` knows is dropped unread, so the
//    malformed parts counted inside it do not count, and its place among the
//    file's own duplicates is not known.
bool DependsOnEarlierFiles(const NavDatabase& db, const NavDatabase& file, bool unique_airports) {
  const NavDatabase::ReadingNotes& notes = file.notes;
  if (notes.points_without_airway != 0 && !(db.JetAirways.empty() && db.VictorAirways.empty())) {
    return true;
  }
  if (!unique_airports || (notes.malformed == 0 && notes.duplicate_airports.empty())) return false;
  return std::any_of(
      file.Airports.begin(), file.Airports.end(),
      [&db](const AirportRecord& airport) { return db.HasAirportIdent(airport.Ident); });
}

}  // namespace

unsigned LoadingThreads(unsigned requested) {
  if (requested != 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

ParallelLoader::ParallelLoader(std::vector<const std::filesystem::path*> files,
                               FsVersion fs_version, unsigned threads)
    : files_(std::move(files)),
      fs_version_(fs_version),
      ahead_(kFilesAheadPerThread * std::max(1u, threads)),
      loaded_(files_.size()),
      done_(files_.size(), false) {
  for (unsigned i = 1; i < std::max(2u, threads); ++i) workers_.emplace_back([this] { Work(); });
}

ParallelLoader::~ParallelLoader() {
  {
    const std::scoped_lock lock(mutex_);
    stopping_ = true;
  }
  room_.notify_all();
  workers_.clear();  // joins
}

void ParallelLoader::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    room_.wait(lock,
               [this] { return stopping_ || next_to_load_ == files_.size() || FileToRead(); });
    if (stopping_ || next_to_load_ == files_.size()) return;
    ReadNextFile(lock);
  }
}

// True when a file is left to read and may be read now: it is not too far
// ahead of the one handed out last.
bool ParallelLoader::FileToRead() const {
  return next_to_load_ < files_.size() && next_to_load_ < next_to_hand_ + ahead_;
}

// Reads the next file to read; `lock` is held on entry and on return, but
// not while the file is read.
void ParallelLoader::ReadNextFile(std::unique_lock<std::mutex>& lock) {
  const std::size_t index = next_to_load_++;
  std::unique_ptr<LoadedFile> file;
  if (!recycled_.empty()) {
    file = std::move(recycled_.back());
    recycled_.pop_back();
  }
  lock.unlock();
  try {
    if (!file) file = std::make_unique<LoadedFile>();
    Load(*file, index);
  } catch (const std::bad_alloc&) {
    file.reset();
  }
  lock.lock();
  loaded_[index] = std::move(file);
  done_[index] = true;
  if (NextFilesRead()) ready_.notify_one();
}

// True when the file to be handed out next is read, and the few behind it
// too, or the files up to the last one.
bool ParallelLoader::NextFilesRead() const {
  const std::size_t end = std::min(files_.size(), next_to_hand_ + kFilesPerWakeUp);
  for (std::size_t index = next_to_hand_; index < end; ++index) {
    if (!done_[index]) return false;
  }
  return true;
}

// Reads file `index` into `file`, new or recycled: its database is emptied
// here, on the worker, keeping the room its arrays grew to.
void ParallelLoader::Load(LoadedFile& file, std::size_t index) const {
  file.path = files_[index];
  file.reading = FileReading{};
  file.records.Clear();
  file.records.LeaveFixesUnindexed();
  file.result = BglLoader(file.records, *file.path, fs_version_, &file.reading);
}

std::unique_ptr<LoadedFile> ParallelLoader::Next(const std::function<bool()>& stop) {
  std::unique_lock lock(mutex_);
  if (next_to_hand_ == files_.size()) return nullptr;
  while (!done_[next_to_hand_]) {
    if (stop()) return nullptr;
    // Rather than wait, the merging thread reads a file itself.
    if (FileToRead()) {
      ReadNextFile(lock);
    } else {
      ready_.wait_for(lock, kStopPoll);
    }
  }
  std::unique_ptr<LoadedFile> file = std::move(loaded_[next_to_hand_++]);
  lock.unlock();
  room_.notify_all();
  return file;
}

void ParallelLoader::Recycle(std::unique_ptr<LoadedFile> file) {
  const std::scoped_lock lock(mutex_);
  try {
    recycled_.push_back(std::move(file));
  } catch (const std::bad_alloc&) {
    // The file's database is simply freed.
  }
}

LoadResult MergeLoadedFile(NavDatabase& db, LoadedFile& file, FsVersion fs_version) {
  if (file.result != LoadResult::Ok) return file.result;
  const bool unique_airports = SimulatorHas(fs_version, &SimulatorTraits::unique_airport_idents);
  if (DependsOnEarlierFiles(db, file.records, unique_airports)) {
    file.reading = FileReading{};
    return BglLoader(db, *file.path, fs_version, &file.reading);
  }
  try {
    db.AppendRecordsOf(file.records, unique_airports);
  } catch (const std::bad_alloc&) {
    return LoadResult::OutOfMemory;
  }
  return LoadResult::Ok;
}

}  // namespace tarnvale
