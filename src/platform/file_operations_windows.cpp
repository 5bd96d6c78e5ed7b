// Whole-file replacement on Windows: a temporary file beside the target,
// written and flushed as an OutputFile and renamed over the target.
#include "platform/file_operations.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>

#include "platform/fault_injection.h"
#include "platform/paths.h"
#include "platform/system_file.h"
#include "platform/windows_system.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;

// FileRenameInfoEx of the Windows 10 SDK, which MinGW's headers declare only
// under a condition no _WIN32_WINNT meets.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

// `target` with `mark` and six letters or digits, different at each call.
std::wstring UniqueName(const fs::path& target, std::wstring_view mark) {
  static std::atomic<unsigned> counter{0};
  // Process, tick count and a counter, spelled in letters and digits.
  unsigned long long seed = ::GetCurrentProcessId() * 0x9E3779B97F4A7C15ULL ^
                            ::GetTickCount64() * 0xBF58476D1CE4E5B9ULL ^ ++counter;
  std::wstring name = target.native();
  name += mark;
  for (int i = 0; i < 6; ++i, seed /= 36)
    name += L"0123456789abcdefghijklmnopqrstuvwxyz"[seed % 36];
  return name;
}

// A new, empty file beside `target` whose name no other file has, opened
// for writing and for being renamed; its name goes to `temporary`.
HANDLE CreateTemporary(const fs::path& target, std::wstring& temporary, std::error_code& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = UniqueName(target, L".tmp-");
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD code = ::GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
      error = WindowsError(code);
      return INVALID_HANDLE_VALUE;
    }
  }
  error = std::make_error_code(std::errc::file_exists);
  return INVALID_HANDLE_VALUE;
}

// Renames the open `file` over `target` the POSIX way (Windows 10 1709 and
// later, on NTFS): the old file goes even while others still read it through
// handles that allow its deletion, as on Linux. Fails where the system or
// file system cannot.
bool RenameOpenFileOver(HANDLE file, const fs::path& target) {
  // A whole path: a bare name would be taken in the renamed file's folder.
  const std::wstring name = AbsolutePath(target).native();
  std::string buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t), '\0');
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  // The first member is a BOOLEAN in older headers and a DWORD of flags in
  // newer ones; FileRenameInfoEx reads the flags.
  const DWORD flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
  std::memcpy(info, &flags, sizeof flags);
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::copy(name.begin(), name.end(), info->FileName);
  return ::SetFileInformationByHandle(file, kFileRenameInfoEx, info,
                                      static_cast<DWORD>(buffer.size())) != 0;
}

// Renames `temporary` over `target` while another program reads `target`
// through a handle that lets it be deleted, where the system cannot replace
// an open file (Windows before 10, FAT, Wine): the old file is renamed aside
// first, then deleted, and goes when its reader closes it. For the moment
// between the two renames `target` has no file; the old one is then still
// beside it under its aside name. Fails, changing nothing, where the reader
// does not let the old file go.
std::error_code ReplaceReadFile(const std::wstring& temporary, const fs::path& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::make_error_code(std::errc::permission_denied);
  }
  std::wstring aside;
  for (int attempt = 0; aside.empty() && attempt < 100; ++attempt) {
    const std::wstring name = UniqueName(target, L".old-");
    if (::MoveFileExW(target.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) {
      aside = name;
    } else if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS) {
      return LastWindowsError();
    }
  }
  if (aside.empty()) return std::make_error_code(std::errc::file_exists);
  if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const std::error_code error = LastWindowsError();
    ::MoveFileExW(aside.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    return error;
  }
  if (!::DeleteFileW(aside.c_str()) && (attributes & FILE_ATTRIBUTE_READONLY)) {
    ::SetFileAttributesW(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(aside.c_str());
  }
  return {};
}

// Fills a temporary file beside `target` through `fill`, flushes it to disk
// and renames it over `target`. On any failure the temporary file is removed
// and `target` is left untouched.
std::error_code ReplaceThroughTemporary(const fs::path& target,
                                        const std::function<std::error_code(OutputFile&)>& fill) {
  std::wstring temporary;
  std::error_code error;
  const HANDLE handle = CreateTemporary(target, temporary, error);
  if (handle == INVALID_HANDLE_VALUE) return error;
  OutputFile file = OutputFile::Adopt(reinterpret_cast<std::intptr_t>(handle), temporary);
  error = fill(file);
  if (!error) error = file.Flush();
  if (!error) error = InjectedFault(FaultSite::Rename);
  const bool renamed = !error && RenameOpenFileOver(handle, target);
  if (const std::error_code closed = file.Close(); !error) error = closed;
  // Where the POSIX rename is not to be had, the classic one, which fails
  // while another program has the old file open.
  if (!error && !renamed &&
      !::MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = ::GetLastError();
    error = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION
                ? ReplaceReadFile(temporary, target)
                : WindowsError(code);
  }
  if (error && ::DeleteFileW(temporary.c_str()) && RecordingFileChanges()) {
    NoteFileChange({.change = FileChange::DeleteFile, .path = temporary});
  }
  if (error) return error;
  if (RecordingFileChanges()) {
    NoteFileChange({.change = FileChange::Rename, .path = temporary, .to = target});
  }
  // The rename is written through; SyncFolder tells a record of the changes.
  return SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
}

}  // namespace

std::error_code ReplaceFileContents(const fs::path& target, std::string_view bytes) {
  return ReplaceThroughTemporary(target, [bytes](OutputFile& file) { return file.Write(bytes); });
}

// Windows offers no flush of a folder's entries to ordinary programs (only
// of a whole volume, and only to administrators); NTFS logs every rename
// in its journal before the rename returns, and the replacement above asks
// for write-through. So there is nothing to do beyond checking the folder.
std::error_code SyncFolder(const fs::path& folder) {
  if (std::error_code injected = InjectedFault(FaultSite::SyncFolder)) return injected;
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastWindowsError();
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::make_error_code(std::errc::not_a_directory);
  }
  if (RecordingFileChanges()) NoteFileChange({.change = FileChange::SyncFolder, .path = folder});
  return {};
}

}  // namespace tarnvale::platform
