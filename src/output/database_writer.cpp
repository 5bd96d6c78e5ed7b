// Writes the database files, those that need no binding early on a thread of their own and the rest
// after binding, and copies magdec.bgl beside them; every file is flushed once all are written.

#include "output/database_writer.h"

#include <exception>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "domain/shared_work.h"
#include "output/database_set.h"
#include "output/record_encoder.h"
#include "platform/file_operations.h"
#include "platform/paths.h"
#include "platform/system_file.h"

namespace tarnvale {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

std::string WhatFailedWriting(const fs::path& path) {
  return "Error - could not write the database file " + platform::Utf8Of(path);
}

}  // namespace

// Every file is flushed only once all of them are written: the disk then
// takes one file's bytes while the next file is encoded, where a flush per
// file would keep its thread waiting before it could encode the next.
class DatabaseWriting::UnflushedFile {
 public:
  // A step that leaves nothing to flush, with its failure message, if any.
  explicit UnflushedFile(std::string failure = {}) : failure_(std::move(failure)) {}

  // What creating and filling `file` at `path` left: the open file, to be
  // flushed later, or on `error` its failure message, a file that was created
  // being removed. `what` says what failed, without the reason.
  static UnflushedFile After(fs::path path, std::optional<platform::OutputFile> file,
                             std::error_code error, std::string what) {
    if (!error && file) return UnflushedFile(std::move(path), std::move(file), std::move(what));
    if (file) {
      file.reset();
      RemoveIncomplete(path);
    }
    return UnflushedFile(Describe(what, error));
  }

  // A step that writes no file because the old one is to stay, and why.
  static UnflushedFile KeepingOld(std::string warning) {
    UnflushedFile kept;
    kept.warning_ = std::move(warning);
    return kept;
  }
  const std::string& Warning() const { return warning_; }

  // Flushes the file to disk and closes it. Returns the failure message, or
  // the empty text when the file is complete.
  std::string Finish() {
    if (!file_) return failure_;
    const std::error_code error = file_->Finish();
    file_.reset();
    if (!error) {
      NoteSetStep("wrote " + platform::Utf8Of(path_.filename()));
      return {};
    }
    RemoveIncomplete(path_);
    return Describe(what_, error);
  }

 private:
  UnflushedFile(fs::path path, std::optional<platform::OutputFile> file, std::string what)
      : path_(std::move(path)), file_(std::move(file)), what_(std::move(what)) {}

  static std::string Describe(const std::string& what, std::error_code error) {
    return what + " (" + error.message() + ").";
  }

  // A cut-off file (a full disk) would read as a damaged database: leave none.
  // The failure that cut it off is what the run reports.
  static void RemoveIncomplete(const fs::path& path) {
    static_cast<void>(platform::DeleteFile(path));
  }

  fs::path path_;
  std::optional<platform::OutputFile> file_;  // open until flushed
  std::string what_;                          // what failed, should the flush fail
  std::string failure_;                       // the message of a step with no file
  std::string warning_;                       // of a step that keeps the old file
};

// Airspaces learn where they lie in the file just before they are written.
void CompleteForWriting(AirspaceRecord& airspace, std::uint64_t position) {
  // Offsets are 32-bit in the file; keep the low 32 bits.
  airspace.NextOffset =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(position + FileRecordSize(airspace)));
  if (!airspace.Vertices.empty()) {
    airspace.LastVertexIndex = static_cast<std::int32_t>(airspace.Vertices.size() - 1);
  }
  airspace.PartCount = 1;
  airspace.FirstVertexIndex = 0;
}

namespace {

using UnflushedFile = DatabaseWriting::UnflushedFile;

// A new file whose records are encoded straight into one buffer that goes
// to the file a megabyte at a time. Remembers the first failure to create
// or write it.
class OutputFile {
 public:
  explicit OutputFile(const fs::path& path) : path_(path) {
    file_ = platform::OutputFile::Create(path, error_);
    if (file_) pending_.reserve(kFlushSize + kFlushSize / 4);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Where the next record's bytes are appended; Flush() after each record.
  std::string& Pending() { return pending_; }

  // Sends the pending bytes to the file once they reach the flush size.
  void Flush() {
    if (pending_.size() >= kFlushSize) WritePending();
  }

  // Offset at which the next byte goes.
  std::uint64_t Position() const { return written_ + pending_.size(); }

  // Sends the last bytes and hands the file over to be flushed; a file that
  // failed is removed.
  UnflushedFile Written() && {
    if (file_) WritePending();
    return UnflushedFile::After(path_, std::move(file_), error_, WhatFailedWriting(path_));
  }

 private:
  void WritePending() {
    if (!error_) error_ = file_->Write(pending_);
    written_ += pending_.size();
    pending_.clear();
  }

  fs::path path_;
  std::optional<platform::OutputFile> file_;
  std::string pending_;
  std::uint64_t written_ = 0;
  std::error_code error_;
};

template <typename Record>
void CompleteForWriting(Record&, std::uint64_t) {}

// Writes the records of each array in turn into a new file at `path`.
template <typename Record>
UnflushedFile WriteRecordFile(const fs::path& path,
                              std::initializer_list<RecordArray<Record>*> arrays) {
  OutputFile file(path);
  for (RecordArray<Record>* records : arrays) {
    for (Record& record : *records) {
      CompleteForWriting(record, file.Position());
      EncodeRecord(record, file.Pending());
      file.Flush();
    }
  }
  return std::move(file).Written();
}

UnflushedFile CopyMagneticDeclination(const OutputSettings& settings, const fs::path& target) {
  const SimulatorTraits* simulator = SimulatorTraitsOf(settings.Version);
  if (!simulator) {
    return UnflushedFile("Error - could not copy magdec.bgl: no simulator version " +
                         std::to_string(ToNumber(settings.Version)) + " keeps one.");
  }
  // A relative simulator folder is taken from the target folder, whose
  // Program_Config.cfg records it; the staging folder only holds the new set.
  const fs::path source =
      platform::ResolvePath(settings.SimulatorFolder + std::string(simulator->magnetic_declination),
                            settings.TargetFolder);
  const std::string what = "Error - could not copy magdec.bgl from " + platform::Utf8Of(source) +
                           " to " + platform::Utf8Of(target);
  // A simulator without a readable magdec.bgl is an input to live with, not
  // a failed write: the set goes in, and the old copy stays. A failure of
  // the system (out of file handles, a failing disk) is a failure.
  std::error_code error;
  const std::optional<platform::InputFile> input = platform::InputFile::Open(source, error);
  if (!input && platform::IsFileOwnError(error)) {
    return UnflushedFile::KeepingOld(
        "Warning: magdec.bgl was not copied: " + platform::Utf8Of(source) + " (" + error.message() +
        "). A magdec.bgl already beside the database files stays.");
  }
  if (!input) return UnflushedFile::After(target, std::nullopt, error, what);
  std::optional<platform::OutputFile> file = platform::OutputFile::Create(target, error);
  if (file) error = platform::CopyFileInto(*input, *file);
  return UnflushedFile::After(target, std::move(file), error, what);
}

// What goes into the file of `kind`, and whether there is anything.
struct FileContent {
  bool present = false;
  std::function<UnflushedFile(const fs::path&)> write;
};

// The records of each array in turn.
template <typename Record, typename... More>
FileContent RecordsOf(RecordArray<Record>& first, More&... more) {
  const bool present = !first.empty() || (!more.empty() || ...);
  return {present, [&first, &more...](const fs::path& path) {
            return WriteRecordFile(path, {&first, &more...});
          }};
}

FileContent ContentOf(DatabaseFileKind kind, NavDatabase& db, const OutputSettings& settings) {
  switch (kind) {
    case DatabaseFileKind::Airports:
      return RecordsOf(db.Airports);
    case DatabaseFileKind::FuelAreas:
      return RecordsOf(db.FuelAreas);
    case DatabaseFileKind::Airspaces:
      return RecordsOf(db.Airspaces);
    case DatabaseFileKind::Navaids:
      return RecordsOf(db.Vors, db.Ndbs);
    case DatabaseFileKind::Markers:
      return RecordsOf(db.Markers);
    case DatabaseFileKind::Fixpoints:
      return RecordsOf(db.Fixes);
    case DatabaseFileKind::VictorAirways:
      return RecordsOf(db.VictorAirways);
    case DatabaseFileKind::JetAirways:
      return RecordsOf(db.JetAirways);
    case DatabaseFileKind::MagneticDeclination:
      return {true, [&settings](const fs::path& path) {
                return CopyMagneticDeclination(settings, path);
              }};
  }
  return {};
}

}  // namespace

std::vector<DatabaseWriting::Step> DatabaseWriting::StepsFor(NavDatabase& db,
                                                             const OutputSettings& settings) {
  std::vector<Step> steps;
  for (const OutputFileType* file : OutputFilesInWriteOrder()) {
    FileContent content = ContentOf(file->kind, db, settings);
    const bool wanted =
        content.present && ProgramGetsFile(*file, settings.Program, settings.Version);
    steps.push_back({*file, wanted, std::move(content.write)});
  }
  return steps;
}

bool WritesAnyRecord(NavDatabase& db, const OutputSettings& settings) {
  for (const DatabaseWriting::Step& step : DatabaseWriting::StepsFor(db, settings)) {
    if (step.wanted && HoldsRecords(step.file)) return true;
  }
  return false;
}

DatabaseWriting::DatabaseWriting(NavDatabase& db, OutputSettings settings, const CancelFlag& cancel)
    : settings_(std::move(settings)),
      cancel_(cancel),
      steps_(StepsFor(db, settings_)),
      failures_(steps_.size()),
      warnings_(steps_.size()) {}

DatabaseWriting::~DatabaseWriting() = default;  // joins the early writer

void DatabaseWriting::StartUnboundFiles() {
  try {
    early_ = std::jthread([this] {
      try {
        early_cancelled_ = RunSteps(Part::Unbound, 1);
      } catch (...) {
        early_trouble_ = std::current_exception();
      }
    });
    started_early_ = true;
  } catch (const std::system_error&) {
    // No thread to be had: Finish writes every file.
  }
}

WriteResult DatabaseWriting::Finish(ProgressView& view) {
  view.SetProgressRange(0, kWritingProgressHigh);
  view.SetProgressPosition(0);
  const bool cancelled = RunSteps(started_early_ ? Part::Bound : Part::All, settings_.Threads);
  if (early_.joinable()) early_.join();
  if (early_trouble_) std::rethrow_exception(early_trouble_);
  WriteResult result;
  if (cancelled || early_cancelled_) {
    result.status = WriteResult::Status::Cancelled;
    return result;
  }
  // A failed file does not stop the others: each file stands on its own, and
  // the message then names, in file order, every file that is missing or
  // incomplete.
  for (std::size_t step = 0; step < steps_.size(); ++step) {
    if (!warnings_[step].empty()) {
      result.kept_old.emplace_back(steps_[step].file.name);
      result.warnings.push_back(warnings_[step]);
    }
    if (failures_[step].empty()) continue;
    result.status = WriteResult::Status::Failed;
    result.failure += (result.failure.empty() ? "" : "\n") + failures_[step];
  }
  return result;
}

// Runs the wanted steps of `part` in file order, `threads` at a time, each
// thread taking the next step not yet taken; a raised cancel flag stops each
// thread before its next step. Then flushes the files. True when cancelled.
bool DatabaseWriting::RunSteps(Part part, unsigned threads) {
  std::vector<std::size_t> chosen;
  for (std::size_t step = 0; step < steps_.size(); ++step) {
    const bool bound = steps_[step].file.bound;
    if (part == Part::All || bound == (part == Part::Bound)) chosen.push_back(step);
  }
  std::vector<UnflushedFile> written(chosen.size());
  const bool whole = ShareWork(chosen.size(), threads, [&](std::size_t i) {
    if (cancel_) return false;
    const Step& step = steps_[chosen[i]];
    if (step.wanted) written[i] = step.write(settings_.OutputFolder / step.file.name);
    return true;
  });
  if (!whole) return true;  // cancelled: the files go unflushed with the output folder
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    failures_[chosen[i]] = written[i].Finish();
    warnings_[chosen[i]] = written[i].Warning();
  }
  return false;
}

WriteResult WriteDatabaseFiles(NavDatabase& db, ProgressView& view, const OutputSettings& settings,
                               const CancelFlag& cancel) {
  return DatabaseWriting(db, settings, cancel).Finish(view);
}

}  // namespace tarnvale
