// The parts of the whole-file operations that are the same on every system
// (through the standard library and InputFile); the rest is in
// file_operations_<system>.cpp.
#include "platform/file_operations.h"

#include <cstdint>
#include <optional>
#include <string>

#include "platform/fault_injection.h"

namespace tarnvale::platform {

namespace fs = std::filesystem;

std::error_code DeleteFile(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status))
    return error ? error : std::make_error_code(std::errc::no_such_file_or_directory);
  if (fs::is_directory(status)) return std::make_error_code(std::errc::is_a_directory);
  fs::remove(path, error);
  if (!error && RecordingFileChanges())
    NoteFileChange({.change = FileChange::DeleteFile, .path = path});
  return error;
}

std::error_code CopyFileInto(const fs::path& from, OutputFile& to) {
  std::error_code error;
  const std::optional<InputFile> source = InputFile::Open(from, error);
  return source ? CopyFileInto(*source, to) : error;
}

std::error_code CopyFileInto(const InputFile& from, OutputFile& to) {
  return from.ReadInPieces([&to](std::string_view piece) { return to.Write(piece); });
}

bool SameContents(const fs::path& a, const fs::path& b) {
  const std::optional<InputFile> first = InputFile::Open(a);
  const std::optional<InputFile> second = InputFile::Open(b);
  if (!first || !second || first->Size() != second->Size()) return false;
  std::uint64_t offset = 0;
  std::string other;
  // The first difference, or a failed read, stops the reading.
  const std::error_code differ = first->ReadInPieces([&](std::string_view piece) {
    other.resize(piece.size());
    bool failed = false;
    if (second->ReadAt(offset, other.data(), other.size(), failed) != piece.size() || failed ||
        other != piece) {
      return std::make_error_code(std::errc::io_error);
    }
    offset += piece.size();
    return std::error_code();
  });
  return !differ;
}

std::error_code RenameEntry(const fs::path& from, const fs::path& to) {
  if (std::error_code injected = InjectedFault(FaultSite::Rename)) return injected;
  std::error_code error;
  fs::rename(from, to, error);
  if (!error && RecordingFileChanges())
    NoteFileChange({.change = FileChange::Rename, .path = from, .to = to});
  return error;
}

std::error_code CreateFolder(const fs::path& path) {
  std::error_code error;
  if (!fs::create_directory(path, error) && !error) {
    error = std::make_error_code(std::errc::file_exists);
  }
  if (!error && RecordingFileChanges())
    NoteFileChange({.change = FileChange::CreateFolder, .path = path});
  return error;
}

std::error_code RemoveTree(const fs::path& path) {
  std::error_code error;
  fs::remove_all(path, error);
  if (!error && RecordingFileChanges())
    NoteFileChange({.change = FileChange::RemoveTree, .path = path});
  return error;
}

}  // namespace tarnvale::platform
