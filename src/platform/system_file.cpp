// What the files of every system share: the error of a path that is no
// regular file, which errors belong to a file alone, and the adoption of a
// file opened for writing.
#include "platform/system_file.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/fault_injection.h"

namespace tarnvale::platform {
namespace {

class InputFileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "input file"; }
  std::string message(int) const override { return "Not a regular file"; }
};

}  // namespace

std::error_code NotARegularFile() {
  static const InputFileCategory category;
  return {1, category};
}

bool IsFileOwnError(const std::error_code& error) {
  if (error == NotARegularFile()) return true;
  static constexpr std::errc kFileOwn[] = {
      std::errc::no_such_file_or_directory,  // gone since it was listed
      std::errc::not_a_directory,            // ... or a folder on its path
      std::errc::too_many_symbolic_link_levels,
      std::errc::filename_too_long,
      std::errc::permission_denied,
      std::errc::operation_not_permitted,
      std::errc::is_a_directory,
      std::errc::no_such_device_or_address,  // a special file without its device
      std::errc::no_such_device,
      std::errc::device_or_resource_busy,  // held by another program (Windows)
  };
  for (const std::errc own : kFileOwn) {
    if (error == own) return true;
  }
  return false;
}

OutputFile OutputFile::Adopt(std::intptr_t handle, const std::filesystem::path& path) {
  if (RecordingFileChanges())
    NoteFileChange({.change = FileChange::CreateFile, .path = path, .handle = handle});
  return OutputFile(handle);
}

std::optional<InputFile> InputFile::Open(const std::filesystem::path& path) {
  std::error_code ignored;
  return Open(path, ignored);
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count,
                              bool& failed) const {
  std::error_code error;
  const std::size_t done = ReadAt(offset, buffer, count, error);
  if (error) failed = true;
  return done;
}

std::error_code InputFile::ReadInPieces(
    const std::function<std::error_code(std::string_view piece)>& take) const {
  constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
  // No larger than the file, and not cleared: a settings file of a few
  // hundred bytes costs no megabyte of fresh pages.
  const auto buffer =
      std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(std::min(kPiece, Size())));
  for (std::uint64_t offset = 0; offset < Size();) {
    const auto wanted = static_cast<std::size_t>(std::min(kPiece, Size() - offset));
    std::error_code error;
    const std::size_t got = ReadAt(offset, buffer.get(), wanted, error);
    if (error) return error;
    if (got == 0) return {};  // the file shrank since it was opened
    if ((error = take({buffer.get(), got}))) return error;
    offset += got;
  }
  return {};
}

}  // namespace tarnvale::platform
