// Starts the real tarnvale-cli as a child process, optionally with an interrupt already pending,
// and collects its exit status and output.

#include "cli_process.h"

#ifdef _WIN32
#include "platform/windows_system.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <filesystem>
#include <stdexcept>

#include "support/temp_dir.h"

namespace tarnvale::testing {

#ifdef _WIN32
namespace {

// `word` quoted so that the C runtime's (and CommandLineToArgvW's) parsing
// of the command line gives it back unchanged.
std::wstring Quoted(const std::wstring& word) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');  // before the closing quote
  return quoted + L'"';
}

}  // namespace

void* StartCli(const std::vector<std::string>& args, void* out, void* err) {
  const std::wstring program = std::filesystem::path(TARNVALE_CLI_PATH).make_preferred().native();
  std::wstring line = Quoted(program);
  for (const std::string& arg : args) line += L' ' + Quoted(platform::WideFromUtf8(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    throw std::runtime_error("cannot start tarnvale-cli");
  }
  ::CloseHandle(process.hThread);
  return process.hProcess;
}

int WaitForCli(void* process) {
  ::WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  const bool exited = ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  return exited ? static_cast<int>(code) : -1;
}

CliResult RunCli(const std::vector<std::string>& args, Interrupt) {
  TempDir output;
  const std::filesystem::path out = output / "out";
  const std::filesystem::path err = output / "err";
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const auto create = [&](const std::filesystem::path& path) {
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                         &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const HANDLE out_file = create(out);
  const HANDLE err_file = create(err);
  int exit_code = -1;
  try {
    exit_code = WaitForCli(StartCli(args, out_file, err_file));
  } catch (...) {
    ::CloseHandle(out_file);
    ::CloseHandle(err_file);
    throw;
  }
  ::CloseHandle(out_file);
  ::CloseHandle(err_file);
  // Text written to a file ends its lines with CR LF on Windows.
  const auto lines = [](const std::string& text) {
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') kept += text[i];
    }
    return kept;
  };
  return {exit_code, lines(ReadFile(out)), lines(ReadFile(err))};
}

#else
namespace {

class SpawnSetup {
 public:
  SpawnSetup(const std::string& out, const std::string& err, Interrupt interrupt) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions_, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_init(&attributes_);
    sigset_t mask;
    sigemptyset(&mask);
    if (interrupt == Interrupt::AtStart) sigaddset(&mask, SIGINT);
    posix_spawnattr_setsigmask(&attributes_, &mask);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, Interrupt interrupt) {
  TempDir output;
  const std::string out = (output / "out").string();
  const std::string err = (output / "err").string();
  std::vector<std::string> words{TARNVALE_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  if (interrupt == Interrupt::AtStart) {
    // A shell started with SIGINT blocked sends it to itself and becomes
    // the program: the signal is pending before the program's first
    // instruction, however slowly this process gets to run. A kill after
    // starting it could come after the whole run.
    words.insert(words.begin(), {"/bin/sh", "-c", R"(kill -INT $$ && exec "$0" "$@")"});
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  const SpawnSetup setup(out, err, interrupt);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], setup.Actions(), setup.Attributes(), argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start tarnvale-cli");
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

#endif

}  // namespace tarnvale::testing
