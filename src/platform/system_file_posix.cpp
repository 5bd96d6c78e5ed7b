// Files read at an offset and written in order with POSIX calls, written back to disk as they fill.

#include "platform/system_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/fault_injection.h"

namespace tarnvale::platform {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

FileStamp StampOf(const struct stat& info) {
  constexpr std::int64_t kNanoseconds = 1'000'000'000;
  return {static_cast<std::uintmax_t>(info.st_size),
          info.st_mtim.tv_sec * kNanoseconds + info.st_mtim.tv_nsec};
}

}  // namespace

std::optional<InputFile> InputFile::Open(const std::filesystem::path& path,
                                         std::error_code& error) {
  error = InjectedFault(FaultSite::OpenInput);
  if (error) return std::nullopt;
  // Without O_NONBLOCK, opening a FIFO would wait for a writer; reads of a
  // regular file are not affected by it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = LastError();
    return std::nullopt;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = LastError();
  } else if (!S_ISREG(status.st_mode)) {
    error = NotARegularFile();
  }
  if (error) {
    ::close(fd);
    return std::nullopt;
  }
  return InputFile(fd, StampOf(status));
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), stamp_(other.stamp_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, -1);
    stamp_ = other.stamp_;
  }
  return *this;
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
  if (handle_ >= 0) ::close(Descriptor(handle_));
  handle_ = -1;
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count,
                              std::error_code& error) const {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got =
        ::pread(Descriptor(handle_), bytes + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = LastError();
    if (got <= 0) break;  // an error, or the end of the file
    done += static_cast<std::size_t>(got);
  }
  return done;
}

namespace {

// Lets the disk start on what was written so far, without waiting for it,
// so that the flush at the end waits only for the last part. A hint: a
// system or file that cannot do it just flushes everything at the end.
void StartWriteBack(int fd) {
#ifdef __linux__
  ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)fd;
#endif
}

}  // namespace

std::optional<OutputFile> OutputFile::Create(const std::filesystem::path& path,
                                             std::error_code& error) {
  error.clear();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = LastError();
    return std::nullopt;
  }
  return Adopt(fd, path);
}

OutputFile::OutputFile(OutputFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    static_cast<void>(Close());  // abandoned: see ~OutputFile
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

// An abandoned file: whoever needs to know how it ended calls Finish or Close.
OutputFile::~OutputFile() { static_cast<void>(Close()); }

std::error_code OutputFile::Close() {
  if (handle_ < 0) return {};
  // The descriptor is gone whatever close says, so it is never closed twice.
  return ::close(Descriptor(std::exchange(handle_, -1))) == 0 ? std::error_code() : LastError();
}

std::error_code OutputFile::Write(std::string_view bytes) {
  if (handle_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  const std::string_view all = bytes;
  while (!bytes.empty()) {
    const ssize_t wrote = ::write(Descriptor(handle_), bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return LastError();
    if (wrote == 0) return std::make_error_code(std::errc::io_error);
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
  StartWriteBack(Descriptor(handle_));
  if (RecordingFileChanges())
    NoteFileChange({.change = FileChange::Write, .handle = handle_, .bytes = all});
  return {};
}

std::error_code OutputFile::Flush() {
  if (handle_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  if (std::error_code injected = InjectedFault(FaultSite::FlushFile)) return injected;
  // EINVAL: a file that cannot be synced (a pipe) has nothing to flush.
  if (::fsync(Descriptor(handle_)) != 0 && errno != EINVAL) return LastError();
  if (RecordingFileChanges()) NoteFileChange({.change = FileChange::FlushFile, .handle = handle_});
  return {};
}

std::error_code OutputFile::Finish() {
  if (handle_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  const std::error_code error = Flush();
  const std::error_code closed = Close();
  return error ? error : closed;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return StampOf(info);
}

}  // namespace tarnvale::platform
