// The single entry through which a creation run hands one scenery file to
// the decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "scenery/byte_cursor.h"
#include "scenery/nav_database.h"

namespace tarnvale {

inline constexpr int kLoaderOk = 0;
inline constexpr int kLoaderOutOfMemory = 1;

// Files the loader could not open or read whole; the run names them at its
// end.
struct LoaderProblems {
  std::vector<std::filesystem::path> unreadable_files;
};

// Reads `file`, recognises its layout for `fs_version` (8 = FS2002,
// 9 = FS2004) and appends its records to `db`. Returns kLoaderOutOfMemory
// when memory ran out, otherwise kLoaderOk (also for files that are skipped,
// unrecognised or unreadable; the last are added to `problems`).
//
// Only the parts of an FS2004 file that are decoded are read from disk: the
// header, the section table and the sections of navigation records.
int BglLoader(NavDatabase& db, const std::filesystem::path& file, int fs_version,
              LoaderProblems* problems = nullptr);

// The same for a file already in memory.
int LoadBglBytes(NavDatabase& db, std::span<const std::uint8_t> bytes, int fs_version);

// The bytes of one scenery file as the loader walks it: a window of the
// file's full size whose parts are brought in on request. Bytes not brought
// in read as zero.
class BglBytes {
 public:
  explicit BglBytes(std::span<const std::uint8_t> bytes) : file_(bytes) {}
  virtual ~BglBytes() = default;
  BglBytes(const BglBytes&) = delete;
  BglBytes& operator=(const BglBytes&) = delete;

  const ByteCursor& File() const { return file_; }
  // Brings in [offset, offset + count), as far as it lies inside the file.
  virtual void Require(std::size_t offset, std::size_t count) = 0;

 private:
  ByteCursor file_;
};

}  // namespace tarnvale
