// What the installation generator needs from the writer of one simulator
// version: putting generated content into BGL files, and writing files
// that hold nothing Tarnvale reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "sceneryfab/byte_buffer.h"
#include "sceneryfab/model.h"
#include "sceneryfab/passed_over_files.h"

namespace tarnvale::fab {

struct WrittenFiles {
  std::size_t files = 0;
  std::uintmax_t bytes = 0;
  // Records the loader will add, per kind (keys as CountFs2004Records).
  std::map<std::string, std::size_t> records;
};

struct SceneryFormat {
  // Writes `content` into `folder` as one or more BGL files whose names
  // contain `stem` and end in ".bgl".
  std::function<WrittenFiles(const SceneryContent& content, const std::filesystem::path& folder,
                             std::string_view stem)>
      write_content;
  // Writes the file `path` of about `size` bytes that the loader skips
  // whole; its bytes depend only on `size` and `seed`.
  std::function<std::uintmax_t(const std::filesystem::path& path, std::size_t size,
                               std::uint64_t seed)>
      write_skipped;
  // The head of a file of a stock installation's bulk that the loader
  // passes over: header and tables, in this version's format.
  std::function<Bytes(const PassedOverFile& file)> passed_over_head;
};

// The FS2004 writer (fs2004_writer.h) in this form.
SceneryFormat Fs2004Format();

}  // namespace tarnvale::fab
