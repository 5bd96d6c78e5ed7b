// Windows services: error codes, wide and UTF-8 texts, the user's state folder, memory
// reservations, and Ctrl+C caught for the command line.

#include "platform/system.h"

#include <array>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/windows_system.h"

#include <shellapi.h>

namespace tarnvale::platform {
namespace {

// Windows error codes that are not among those given a std::errc below.
class WindowsCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }
  std::string message(int code) const override {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.')) {
      message.pop_back();
    }
    return message.empty() ? "Windows error " + std::to_string(code) : Utf8FromWide(message);
  }
};

const WindowsCategory& Windows() {
  static const WindowsCategory category;
  return category;
}

}  // namespace

std::error_code WindowsError(unsigned long code) {
  static constexpr std::array<std::pair<DWORD, std::errc>, 31> kPortable = {{
      {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
      {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
      {ERROR_INVALID_DRIVE, std::errc::no_such_file_or_directory},
      {ERROR_BAD_NETPATH, std::errc::no_such_file_or_directory},
      {ERROR_BAD_NET_NAME, std::errc::no_such_file_or_directory},
      {ERROR_ACCESS_DENIED, std::errc::permission_denied},
      {ERROR_CURRENT_DIRECTORY, std::errc::permission_denied},
      {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy},
      {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy},
      {ERROR_BUSY, std::errc::device_or_resource_busy},
      {ERROR_FILE_EXISTS, std::errc::file_exists},
      {ERROR_ALREADY_EXISTS, std::errc::file_exists},
      {ERROR_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_WRITE_PROTECT, std::errc::read_only_file_system},
      {ERROR_DIRECTORY, std::errc::not_a_directory},
      {ERROR_DIR_NOT_EMPTY, std::errc::directory_not_empty},
      {ERROR_INVALID_NAME, std::errc::invalid_argument},
      {ERROR_INVALID_PARAMETER, std::errc::invalid_argument},
      {ERROR_FILENAME_EXCED_RANGE, std::errc::filename_too_long},
      {ERROR_NOT_ENOUGH_MEMORY, std::errc::not_enough_memory},
      {ERROR_OUTOFMEMORY, std::errc::not_enough_memory},
      {ERROR_NOT_SAME_DEVICE, std::errc::cross_device_link},
      {ERROR_INVALID_HANDLE, std::errc::bad_file_descriptor},
      {ERROR_TOO_MANY_OPEN_FILES, std::errc::too_many_files_open},
      {ERROR_NOT_SUPPORTED, std::errc::not_supported},
      {ERROR_INVALID_FUNCTION, std::errc::function_not_supported},
      {ERROR_NOT_READY, std::errc::io_error},
      {ERROR_READ_FAULT, std::errc::io_error},
      {ERROR_WRITE_FAULT, std::errc::io_error},
      {ERROR_GEN_FAILURE, std::errc::io_error},
  }};
  for (const auto& [windows, portable] : kPortable) {
    if (windows == code) return std::make_error_code(portable);
  }
  return {static_cast<int>(code), Windows()};
}

std::error_code LastWindowsError() { return WindowsError(::GetLastError()); }

std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::filesystem::path> StoredName(const std::filesystem::path& path) {
  // Wildcards would match other names; no stored name holds one.
  const std::wstring name = path.filename().native();
  if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) return std::nullopt;
  WIN32_FIND_DATAW found;
  const HANDLE search =
      ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  return std::filesystem::path(found.cFileName);
}

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; words && i < count; ++i) arguments.push_back(Utf8FromWide(words[i]));
  if (words) ::LocalFree(words);
  return arguments;
}

Utf8ConsoleOutput::Utf8ConsoleOutput() : previous_(::GetConsoleOutputCP()) {
  ::SetConsoleOutputCP(CP_UTF8);
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
  if (previous_ != 0) ::SetConsoleOutputCP(previous_);
}

long ProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

std::optional<std::uint64_t> ProcessBytesRead() {
  IO_COUNTERS counters{};
  if (!::GetProcessIoCounters(::GetCurrentProcess(), &counters)) return std::nullopt;
  // Wine answers with counters that never move: no figure rather than a
  // false one. A process of ours has read its settings before it asks.
  if (counters.ReadOperationCount == 0) return std::nullopt;
  return counters.ReadTransferCount;
}

std::filesystem::path UserStateFolder() {
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  if (!local || !std::filesystem::path(local).is_absolute()) return {};
  return std::filesystem::path(local) / L"Tarnvale";
}

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "\"";
  return quoted.append(text).append("\"");
}

bool StandardErrorIsTerminal() {
  // A console has a console mode; a file or pipe (also a terminal emulator
  // that is not a console, as under MSYS) has none.
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool CanEnterFolder(const std::filesystem::path& folder) {
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  // Listing is what entering means here. An empty drive's root lists no
  // entry at all, not even "." and "..", and is still open to us.
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  ::FindClose(search);
  return true;
}

void* MapZeroedMemory(std::size_t bytes) {
  void* mapped = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!mapped) throw std::bad_alloc();
  return mapped;
}

// Windows gives back a reservation only as a whole (MEM_RELEASE takes its
// base address and a size of 0), so `bytes` must be the whole mapping: no
// caller on Windows gives back a part of one.
void UnmapMemory(void* address, std::size_t /*bytes*/) { ::VirtualFree(address, 0, MEM_RELEASE); }

// Windows counts committed memory against its commit limit whether touched or
// not: the reservation commits nothing, and CommitMemory commits the pages
// of each part before it is used (committing a committed page again is
// allowed and changes nothing).
void* ReserveMemory(std::size_t bytes) {
  void* reserved = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
  if (!reserved) throw std::bad_alloc();
  return reserved;
}

void CommitMemory(void* address, std::size_t bytes) {
  if (bytes != 0 && !::VirtualAlloc(address, bytes, MEM_COMMIT, PAGE_READWRITE)) {
    throw std::bad_alloc();
  }
}

// Large pages on Windows need the "Lock pages in memory" right and are never
// paged out: not for the asking. Plain memory it is (reservations start on
// 64 KiB boundaries).
namespace {

// What the control handler touches: lock-free atomics only (it runs on a
// thread of its own that the system starts for each event).
std::atomic<bool> interrupted{false};
std::atomic<bool> handled_one{false};
std::atomic<std::atomic<bool>*> forwarded{nullptr};

}  // namespace

BOOL WINAPI HandleConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  // The second interrupt goes on to the default handler, which ends the
  // process.
  if (handled_one.exchange(true)) return FALSE;
  interrupted.store(true);
  if (std::atomic<bool>* flag = forwarded.load()) flag->store(true);
  // When the console closes, the process ends as soon as this handler
  // returns (or after five seconds): wait here instead, so that the run can
  // stop as it does on Ctrl-C and the program end on its own.
  if (event == CTRL_CLOSE_EVENT) ::Sleep(INFINITE);
  return TRUE;
}

InterruptHandler::InterruptHandler() {
  interrupted = false;
  handled_one = false;
  forwarded = nullptr;
  // A process started in a new process group ignores Ctrl-C until told
  // otherwise, as a POSIX parent may start one with the signals blocked.
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  ::SetConsoleCtrlHandler(HandleConsoleControl, TRUE);
}

InterruptHandler::~InterruptHandler() {
  ::SetConsoleCtrlHandler(HandleConsoleControl, FALSE);
  forwarded = nullptr;
}

bool InterruptHandler::Interrupted() const { return interrupted.load(); }

void InterruptHandler::Forward(std::atomic<bool>* flag) { forwarded.store(flag); }

}  // namespace tarnvale::platform
