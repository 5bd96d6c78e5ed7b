// Files read at an offset and written in order with Windows calls, opened with every kind of
// sharing.

#include "platform/system_file.h"

#include <algorithm>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/windows_system.h"

namespace tarnvale::platform {
namespace {

// Windows reads and writes at most a DWORD of bytes per call; a round
// gigabyte keeps each call well inside it.
constexpr std::size_t kMostPerCall = std::size_t{1} << 30;

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Stored(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }
const std::intptr_t kNoHandle = -1;  // INVALID_HANDLE_VALUE

std::uint64_t HighLow(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

FileStamp StampOf(DWORD size_high, DWORD size_low, const FILETIME& written) {
  return {HighLow(size_high, size_low),
          static_cast<std::int64_t>(HighLow(written.dwHighDateTime, written.dwLowDateTime))};
}

// Files are opened with every kind of sharing, as on Linux: the simulator
// or another reader may hold them, and a file being read may be renamed
// over or deleted (FILE_SHARE_DELETE) by the atomic replacement of another
// run.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::optional<InputFile> InputFile::Open(const std::filesystem::path& path,
                                         std::error_code& error) {
  error = InjectedFault(FaultSite::OpenInput);
  if (error) return std::nullopt;
  // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS (access is
  // denied); devices and pipes open without waiting and are turned away
  // below.
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastWindowsError();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      error = NotARegularFile();
    }
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    error = NotARegularFile();
  } else if (!::GetFileInformationByHandle(file, &info)) {
    error = LastWindowsError();
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    error = NotARegularFile();
  }
  if (error) {
    ::CloseHandle(file);
    return std::nullopt;
  }
  return InputFile(Stored(file),
                   StampOf(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime));
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), stamp_(other.stamp_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
    stamp_ = other.stamp_;
  }
  return *this;
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
  if (handle_ != kNoHandle) ::CloseHandle(Handle(handle_));
  handle_ = kNoHandle;
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count,
                              std::error_code& error) const {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    // The offset in the OVERLAPPED makes this a positioned read, as pread:
    // threads reading one file at different places do not disturb each other.
    OVERLAPPED at{};
    const std::uint64_t position = offset + done;
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD got = 0;
    const DWORD asked = static_cast<DWORD>(std::min(count - done, kMostPerCall));
    if (!::ReadFile(Handle(handle_), bytes + done, asked, &got, &at)) {
      const DWORD code = ::GetLastError();
      if (code != ERROR_HANDLE_EOF) error = WindowsError(code);
      break;
    }
    if (got == 0) break;  // the end of the file
    done += got;
  }
  return done;
}

std::optional<OutputFile> OutputFile::Create(const std::filesystem::path& path,
                                             std::error_code& error) {
  error.clear();
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastWindowsError();
    return std::nullopt;
  }
  return Adopt(Stored(file), path);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    static_cast<void>(Close());  // abandoned: see ~OutputFile
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

// An abandoned file: whoever needs to know how it ended calls Finish or Close.
OutputFile::~OutputFile() { static_cast<void>(Close()); }

std::error_code OutputFile::Close() {
  if (handle_ == kNoHandle) return {};
  return ::CloseHandle(Handle(std::exchange(handle_, kNoHandle))) ? std::error_code()
                                                                  : LastWindowsError();
}

std::error_code OutputFile::Write(std::string_view bytes) {
  if (handle_ == kNoHandle) return std::make_error_code(std::errc::bad_file_descriptor);
  const std::string_view all = bytes;
  while (!bytes.empty()) {
    DWORD wrote = 0;
    const DWORD asked = static_cast<DWORD>(std::min(bytes.size(), kMostPerCall));
    if (!::WriteFile(Handle(handle_), bytes.data(), asked, &wrote, nullptr)) {
      return LastWindowsError();
    }
    if (wrote == 0) return std::make_error_code(std::errc::io_error);
    bytes.remove_prefix(wrote);
  }
  if (RecordingFileChanges())
    NoteFileChange({.change = FileChange::Write, .handle = handle_, .bytes = all});
  return {};
}

std::error_code OutputFile::Flush() {
  if (handle_ == kNoHandle) return std::make_error_code(std::errc::bad_file_descriptor);
  if (std::error_code injected = InjectedFault(FaultSite::FlushFile)) return injected;
  // Only a file on disk is flushed: flushing a pipe would wait until its
  // reader has read everything, and a console has nothing to flush.
  const HANDLE file = Handle(handle_);
  if (::GetFileType(file) == FILE_TYPE_DISK && !::FlushFileBuffers(file)) {
    return LastWindowsError();
  }
  if (RecordingFileChanges()) NoteFileChange({.change = FileChange::FlushFile, .handle = handle_});
  return {};
}

std::error_code OutputFile::Finish() {
  if (handle_ == kNoHandle) return std::make_error_code(std::errc::bad_file_descriptor);
  const std::error_code error = Flush();
  const std::error_code closed = Close();
  return error ? error : closed;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

}  // namespace tarnvale::platform
