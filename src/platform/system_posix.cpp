// POSIX services: the user's state folder, shell quoting, memory mappings, and Ctrl+C caught for
// the command line.

#include "platform/system.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

namespace tarnvale::platform {

long ProcessId() { return static_cast<long>(::getpid()); }

std::optional<std::uint64_t> ProcessBytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return std::nullopt;
}

std::filesystem::path UserStateFolder() {
  namespace fs = std::filesystem;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && fs::path(state).is_absolute()) {
    return fs::path(state) / "tarnvale";
  }
  const char* home = std::getenv("HOME");
  if (!home || !fs::path(home).is_absolute()) return {};
  return fs::path(home) / ".local" / "state" / "tarnvale";
}

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

bool CanEnterFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  return std::filesystem::is_directory(folder, ignored) && ::access(folder.c_str(), X_OK) == 0;
}

void* MapZeroedMemory(std::size_t bytes) {
  void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  return mapped;
}

void UnmapMemory(void* address, std::size_t bytes) { ::munmap(address, bytes); }

// Linux backs a private mapping page by page as it is touched; without
// MAP_NORESERVE it would still count the whole size against the memory it
// promises, which a file larger than memory exceeds.
void* ReserveMemory(std::size_t bytes) {
  void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  return mapped;
}

void CommitMemory(void*, std::size_t) {}

namespace {

// What the signal handler touches: lock-free atomics only.
std::atomic<bool> interrupted{false};
std::atomic<std::atomic<bool>*> forwarded{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free &&
              std::atomic<std::atomic<bool>*>::is_always_lock_free);

// The handlers in place before the InterruptHandler, put back when it ends.
struct sigaction previous_int {};
struct sigaction previous_term {};

extern "C" void OnInterrupt(int) {
  interrupted.store(true);
  if (std::atomic<bool>* flag = forwarded.load()) flag->store(true);
}

}  // namespace

InterruptHandler::InterruptHandler() {
  interrupted = false;
  forwarded = nullptr;
  // SA_RESETHAND: the handler acts once, and a second interrupt ends the
  // process the usual way.
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous_int);
  sigaction(SIGTERM, &action, &previous_term);
  // A parent may have started the process with these signals blocked.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

InterruptHandler::~InterruptHandler() {
  sigaction(SIGINT, &previous_int, nullptr);
  sigaction(SIGTERM, &previous_term, nullptr);
  forwarded = nullptr;
}

bool InterruptHandler::Interrupted() const { return interrupted.load(); }

void InterruptHandler::Forward(std::atomic<bool>* flag) { forwarded.store(flag); }

}  // namespace tarnvale::platform
