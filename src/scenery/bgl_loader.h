// The single entry through which a creation run hands one scenery file to
// the decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "domain/simulation.h"
#include "platform/system_file.h"
#include "scenery/bgl_bytes.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// What reading one scenery file came to: only running out of memory ends a
// run; a file that is skipped, unrecognised or unreadable is read Ok.
enum class LoadResult { Ok = 0, OutOfMemory = 1 };

// How one file was read, for the run's report. The database files do not
// depend on it.
enum class FileStatus {
  Read,         // read as far as the run reads files of its kind
  Unreadable,   // could not be opened as a file, or a read failed
  Short,        // empty, or too short for the chosen simulator's header
  NotBgl,       // not the chosen simulator's format (another header)
  Damaged,      // records or table entries were passed over as malformed
  LaterFormat,  // airport records of a later simulator generation were
                // passed over; its navaids and waypoints were read
};

struct FileReading {
  FileStatus status = FileStatus::Read;
  std::size_t skipped = 0;  // records and table entries passed over
  // Why opening or reading the file failed when the reason lies with the
  // process or the machine (out of file handles or memory, a device that
  // fails to read) rather than with the file: then the file is not one to
  // pass over, and the run has not read what it was to read.
  std::error_code system_failure;
  // The file's size and time when it was opened; none when it could not be.
  std::optional<platform::FileStamp> stamp;
};

// Reads `file`, recognises its layout for `fs_version` and appends its
// records to `db`. Returns OutOfMemory when memory ran out, otherwise Ok
// (also for files that are skipped, unrecognised or unreadable).
// `reading`, when given, receives how the file was read.
//
// Only the parts of a file that are decoded are read from disk: of an FS2004
// file the header, the tables and the records of navigation sections; of an
// FS2002 file the bytes its reader reads. Whatever sizes and counts a file
// claims, reading it costs memory only for those.
[[nodiscard]] LoadResult BglLoader(NavDatabase& db, const std::filesystem::path& file,
                                   FsVersion fs_version, FileReading* reading = nullptr);

// The same for a file already in memory.
[[nodiscard]] LoadResult LoadBglBytes(NavDatabase& db, std::span<const std::uint8_t> bytes,
                                      FsVersion fs_version);

// The same for a file opened by the caller (BglLoader is BglFile::Open and
// this).
[[nodiscard]] LoadResult LoadBgl(NavDatabase& db, BglBytes& bytes, FsVersion fs_version,
                                 FileReading* reading = nullptr);

// The first bytes of a file that its first read brings in alone: room for
// the header and the section table of any stock file.
inline constexpr std::size_t kBglHeadSize = std::size_t{4} * 1024;

// A file on disk, read as the walk asks for it: the head first, then 64 KiB
// blocks, so that the sections a creation run skips are never read and a
// file that holds none it reads costs its head alone. Its buffer is address
// space of the file's size that holds memory only where blocks were read,
// so a file larger than memory is read like any other. The window keeps the
// size the file had when it was opened: when the file shrinks meanwhile the
// missing bytes read as zero, when it grows the rest is not read.
class BglFile final : public BglBytes {
 public:
  // The opened file; nullptr with `error` set when it cannot be opened as a
  // regular file. Throws std::bad_alloc when no address space of its size
  // can be had.
  [[nodiscard]] static std::unique_ptr<BglFile> Open(const std::filesystem::path& path,
                                                     std::error_code& error);
  ~BglFile() override;

  // True once a read failed or the file ended early.
  bool Incomplete() const { return incomplete_; }
  // The error of the first read that failed, if any.
  const std::error_code& ReadError() const { return read_error_; }
  // Bytes read from the file so far: what its buffer holds in memory.
  std::uint64_t BroughtIn() const { return brought_in_; }
  // The file's size and time when it was opened.
  const platform::FileStamp& Stamp() const { return file_.Stamp(); }

 private:
  // Gives a buffer's address space back to the system.
  struct BlockDeleter {
    std::size_t size = 0;
    void operator()(std::uint8_t* block) const;
  };
  using Block = std::unique_ptr<std::uint8_t, BlockDeleter>;
  static Block ReservedBlock(std::size_t size);
  class ReusedBuffer;

  BglFile(platform::InputFile file, std::uint8_t* bytes, std::size_t size, Block own_buffer,
          ReusedBuffer* reused);
  void Fetch(std::size_t offset, std::size_t count) override;
  void ReadRange(std::size_t from, std::size_t to);

  platform::InputFile file_;
  std::uint8_t* bytes_;
  Block own_buffer_;                // when the thread's reused buffer was taken
  ReusedBuffer* reused_ = nullptr;  // otherwise
  std::vector<bool> loaded_;        // per page
  bool incomplete_ = false;
  std::error_code read_error_;
  std::uint64_t brought_in_ = 0;
};

}  // namespace tarnvale
