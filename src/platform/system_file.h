// Files opened with the system's own calls: a regular file read at any
// offset, and a new file written from its start and flushed to disk.
//
// Both are move-only and close their file when destroyed. Neither throws on
// file-system errors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>

namespace tarnvale::platform {

// The error of a path that names something other than a regular file: a
// folder, a FIFO, a device.
std::error_code NotARegularFile();

// True when `error`, met while opening or reading an input file, belongs to
// that file alone: it is gone (since it was listed), may not be read, is no
// regular file, is held by another program, or its path runs through a loop
// of links or through something that is no folder. Passing the file over is
// then the whole answer. Any other error (out of file handles or memory, a
// device that fails to read) belongs to the process or the machine: the
// files that were to be read have not been.
bool IsFileOwnError(const std::error_code& error);

// A file's size and the time of its last change, in the file system's own
// ticks, from a single look at it; std::nullopt when it cannot be looked at.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified = 0;
};
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

class InputFile {
 public:
  // The regular file at `path`, or std::nullopt with `error` set when it
  // cannot be opened or is no regular file (NotARegularFile(); opening a
  // FIFO or a device never waits).
  [[nodiscard]] static std::optional<InputFile> Open(const std::filesystem::path& path,
                                                     std::error_code& error);
  // The same for a caller that needs no reason.
  [[nodiscard]] static std::optional<InputFile> Open(const std::filesystem::path& path);

  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // The file's size when it was opened.
  std::uint64_t Size() const { return stamp_.size; }
  // Its size and time when it was opened, from the same look as Size.
  const FileStamp& Stamp() const { return stamp_; }

  // Reads `count` bytes at `offset` into `buffer`, in as many system calls as
  // it takes. Returns the bytes read: fewer than `count` only at the end of
  // the file or after a read error, which also sets `error`.
  [[nodiscard]] std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count,
                                   std::error_code& error) const;
  // The same, setting `failed` on a read error.
  [[nodiscard]] std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count,
                                   bool& failed) const;

  // Hands the file's bytes, as far as its size when it was opened, to
  // `take` in pieces of at most 1 MiB, in order: a file of any size is read
  // in bounded memory. Stops at a read error, which it returns, or at the
  // first error `take` returns, which it returns too.
  [[nodiscard]] std::error_code ReadInPieces(
      const std::function<std::error_code(std::string_view piece)>& take) const;

 private:
  InputFile(std::intptr_t handle, FileStamp stamp) : handle_(handle), stamp_(stamp) {}
  void Close();

  std::intptr_t handle_ = -1;  // a descriptor, or a Windows HANDLE
  FileStamp stamp_;
};

class OutputFile {
 public:
  // A new, empty file at `path` (an existing file is truncated), or
  // std::nullopt with `error` set.
  [[nodiscard]] static std::optional<OutputFile> Create(const std::filesystem::path& path,
                                                        std::error_code& error);
  // Takes over `handle` (a descriptor, or a Windows HANDLE) of the new file
  // `path` that the caller opened for writing in a way of its own, such as a
  // temporary file.
  static OutputFile Adopt(std::intptr_t handle, const std::filesystem::path& path);

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // closes without flushing when the file is still open

  // Appends all of `bytes`.
  [[nodiscard]] std::error_code Write(std::string_view bytes);
  // Flushes the file to disk, keeping it open; a file that cannot be flushed
  // (a pipe, a console) has nothing to flush.
  [[nodiscard]] std::error_code Flush();
  // Closes the file without flushing it.
  [[nodiscard]] std::error_code Close();
  // Flushes the file to disk and closes it.
  [[nodiscard]] std::error_code Finish();

 private:
  explicit OutputFile(std::intptr_t handle) : handle_(handle) {}

  std::intptr_t handle_ = -1;
};

}  // namespace tarnvale::platform
