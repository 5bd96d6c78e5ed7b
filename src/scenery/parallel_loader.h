// Reading scenery files on several threads while the run's database grows in
// exactly the order one thread would give it.
//
// Each file is read into a database of its own on a worker thread; the
// thread that owns the run's database takes the files back in reading order
// and appends their records (MergeLoadedFile); while the next file in order
// is still being read, it reads a later one itself rather than wait.
// Whatever depends on order stays as it was: the first FS2004 airport of an
// ident wins, a later fix of a key wins in the index, the current airport is
// the last one appended. A file whose reading would have used records of the
// files before it is read again, in order, straight into the run's database.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "domain/simulation.h"
#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// One scenery file read on its own.
struct LoadedFile {
  const std::filesystem::path* path = nullptr;  // one of the loader's files
  NavDatabase records;
  FileReading reading;
  LoadResult result = LoadResult::Ok;
};

// The loading threads of one run: the number of cores when `requested` is 0.
unsigned LoadingThreads(unsigned requested);

class ParallelLoader {
 public:
  // Starts `threads` - 1 workers (at least one) on `files`, which they read
  // in order, a few files ahead of the one handed out last; the thread that
  // calls Next is the last of the `threads`. The paths are the caller's and
  // must outlive the loader: a path is a few allocations, and a run reads
  // hundreds of files.
  ParallelLoader(std::vector<const std::filesystem::path*> files, FsVersion fs_version,
                 unsigned threads);
  // Stops the workers once their current file is read.
  ~ParallelLoader();
  ParallelLoader(const ParallelLoader&) = delete;
  ParallelLoader& operator=(const ParallelLoader&) = delete;

  // The next file in order, once it is read; reads later files meanwhile.
  // nullptr when `stop` turns true while waiting (it is asked between files
  // and every few milliseconds), and for a file whose reading ran out of
  // memory before its database existed.
  [[nodiscard]] std::unique_ptr<LoadedFile> Next(const std::function<bool()>& stop);

  // Takes back a merged file, so that its database, with the room its
  // arrays grew to, serves a later file.
  void Recycle(std::unique_ptr<LoadedFile> file);

 private:
  void Work();
  bool FileToRead() const;
  void ReadNextFile(std::unique_lock<std::mutex>& lock);
  void Load(LoadedFile& file, std::size_t index) const;
  bool NextFilesRead() const;

  const std::vector<const std::filesystem::path*> files_;
  const FsVersion fs_version_;
  const std::size_t ahead_;  // files read but not yet handed out, at most
  std::mutex mutex_;
  std::condition_variable room_;   // a file was handed out, or stopping
  std::condition_variable ready_;  // a file was read
  std::vector<std::unique_ptr<LoadedFile>> loaded_;
  std::vector<std::unique_ptr<LoadedFile>> recycled_;
  std::vector<bool> done_;
  std::size_t next_to_load_ = 0;
  std::size_t next_to_hand_ = 0;
  bool stopping_ = false;
  std::vector<std::jthread> workers_;
};

// Appends the records of `file` to `db` as if the file had been read into
// `db` directly, and returns the loader's result. `file.reading` then tells
// how the file was read.
[[nodiscard]] LoadResult MergeLoadedFile(NavDatabase& db, LoadedFile& file, FsVersion fs_version);

}  // namespace tarnvale
