// Small facts and services of the operating system that the program needs
// in one form on every platform.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarnvale::platform {

// This process's identifier.
long ProcessId();

// The bytes this process has read so far with the system's read calls,
// from the page cache and the disk alike (Linux: rchar of /proc/self/io;
// Windows: the process's read transfer count); nothing where the system
// does not count them.
std::optional<std::uint64_t> ProcessBytesRead();

// The folder where the program keeps what it writes for this user alone
// (such as the reports of past runs): $XDG_STATE_HOME/tarnvale, or
// ~/.local/state/tarnvale when that is not set; on Windows
// %LOCALAPPDATA%\Tarnvale. A variable whose value is no absolute path is
// ignored; empty when none gives a folder.
std::filesystem::path UserStateFolder();

// `text` as one word for pasting into this system's usual shell: in single
// quotes for a POSIX shell; on Windows in double quotes, which cmd.exe and
// PowerShell both take (no Windows name holds a double quote).
std::string ShellQuoted(std::string_view text);

// True when standard error is a terminal (a console on Windows), where a
// progress bar may be drawn.
bool StandardErrorIsTerminal();

// True when `folder` is a folder that this process may enter (list and
// open files in).
bool CanEnterFolder(const std::filesystem::path& folder);

// Zero-filled memory straight from the system's virtual memory: untouched
// pages cost neither memory nor clearing. `bytes` is rounded up to whole
// pages. Throws std::bad_alloc when the system has no room.
void* MapZeroedMemory(std::size_t bytes);
// Gives back `bytes` at `address` (as mapped by MapZeroedMemory, or a whole
// part of such a mapping where the system allows it).
void UnmapMemory(void* address, std::size_t bytes);

// Address space for `bytes` bytes that costs no memory, nor any promise of
// memory, before its parts are used: for a buffer as large as a file of any
// size of which only the parts read are filled. Before a part is written or
// read, CommitMemory must have made it usable; it then reads as zero until
// written. Gives back with UnmapMemory(address, bytes); throws std::bad_alloc
// when the system has no room.
void* ReserveMemory(std::size_t bytes);
// Makes [address, address + bytes), inside a reservation of ReserveMemory,
// usable. Throws std::bad_alloc when the system cannot back it.
void CommitMemory(void* address, std::size_t bytes);

// While one of these exists, the user's interrupt (Ctrl-C, SIGINT or
// SIGTERM; on Windows Ctrl-C, Ctrl-Break or closing the console) only
// raises flags instead of ending the process: Interrupted() turns true, and
// the flag given to Forward (if any) is set. A second interrupt ends the
// process the usual way. Only one may exist at a time.
class InterruptHandler {
 public:
  InterruptHandler();
  ~InterruptHandler();
  InterruptHandler(const InterruptHandler&) = delete;
  InterruptHandler& operator=(const InterruptHandler&) = delete;

  bool Interrupted() const;
  // From now on an interrupt also sets `flag` (nullptr: none). `flag` must
  // outlive the handler or be replaced first.
  void Forward(std::atomic<bool>* flag);
};

}  // namespace tarnvale::platform
