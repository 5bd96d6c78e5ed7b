// Writes the NavDatabase as the database files of the target program and
// copies the simulator's magdec.bgl beside them.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "domain/progress.h"
#include "domain/simulation.h"
#include "output/output_files.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// The top of the progress bar's range while the files are written: the bar
// stands empty at 0 of it, as writing does not advance it.
inline constexpr std::int32_t kWritingProgressHigh = 102;

struct OutputSettings {
  TargetProgram Program = TargetProgram::None;
  FsVersion Version = FsVersion::None;
  std::string SimulatorFolder;         // as recorded in Program_Config.cfg
  std::filesystem::path TargetFolder;  // a relative simulator folder is taken from here
  std::filesystem::path OutputFolder;  // where the files go: the run's staging folder
  unsigned Threads = 1;                // files written at the same time
};

struct WriteResult {
  enum class Status { Written, Cancelled, Failed };
  Status status = Status::Written;
  std::string failure;  // for Failed: one line per file that could not be written
  // Output names the new set has no file of while the old file stays: the
  // simulator's magdec.bgl was missing or unreadable. Each has its warning.
  std::vector<std::string> kept_old;
  std::vector<std::string> warnings;
};

// Writes every file of the set that the settings call for into the output
// folder (new files, replacing any of the same name, each flushed to disk)
// and copies magdec.bgl beside them. Tests `cancel` before each step; on
// Cancelled the caller drops what was written and takes the cancel ending.
// A file that cannot be created or fully written (an incomplete one is
// removed), or a failed copy, makes the result Failed; the remaining steps
// are still carried out. A magdec.bgl that the simulator lacks, or that
// cannot be opened, is not copied: the old copy is to stay (kept_old).
[[nodiscard]] WriteResult WriteDatabaseFiles(NavDatabase& db, ProgressView& view,
                                             const OutputSettings& settings,
                                             const CancelFlag& cancel);

// Gives an airspace written at `position` of its file the fields that
// depend on that: NextOffset (where the record ends), PartCount,
// FirstVertexIndex and LastVertexIndex.
void CompleteForWriting(AirspaceRecord& airspace, std::uint64_t position);

// True when the settings call for a database file with records: a set that
// would hold nothing but magdec.bgl is worth nothing to the program.
bool WritesAnyRecord(NavDatabase& db, const OutputSettings& settings);

// WriteDatabaseFiles in two parts, so that the files whose records binding
// leaves as they are (all but the airports and the airways) can be written
// while binding runs. Binding must not touch the other records meanwhile.
class DatabaseWriting {
 public:
  DatabaseWriting(NavDatabase& db, OutputSettings settings, const CancelFlag& cancel);
  // Waits for the files being written early; the caller drops the output
  // folder when it does not call Finish.
  ~DatabaseWriting();
  DatabaseWriting(const DatabaseWriting&) = delete;
  DatabaseWriting& operator=(const DatabaseWriting&) = delete;

  // Starts writing, on a thread of its own, the files binding does not
  // change. Stops before its next file once `cancel` is raised.
  void StartUnboundFiles();
  // Writes the remaining files (every file when StartUnboundFiles was not
  // called), waits for the early ones, and gives the result of all, as
  // WriteDatabaseFiles does.
  [[nodiscard]] WriteResult Finish(ProgressView& view);

  // A file of the set whose bytes are written, waiting to be flushed to disk.
  class UnflushedFile;

 private:
  struct Step {
    const OutputFileType& file;
    bool wanted;
    std::function<UnflushedFile(const std::filesystem::path&)> write;
  };
  enum class Part { All, Bound, Unbound };
  static std::vector<Step> StepsFor(NavDatabase& db, const OutputSettings& settings);
  friend bool WritesAnyRecord(NavDatabase& db, const OutputSettings& settings);
  [[nodiscard]] bool RunSteps(Part part, unsigned threads);

  OutputSettings settings_;
  const CancelFlag& cancel_;
  std::vector<Step> steps_;            // one per file, in file order
  std::vector<std::string> failures_;  // by step, empty when written
  std::vector<std::string> warnings_;  // by step: why an old file stays
  bool started_early_ = false;
  std::atomic<bool> early_cancelled_{false};
  std::exception_ptr early_trouble_;  // memory running out, say: thrown by Finish
  std::jthread early_;
};

}  // namespace tarnvale
