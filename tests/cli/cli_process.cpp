#include "cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "support/temp_dir.h"

namespace tarnvale::testing {
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
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  const SpawnSetup setup(out, err, interrupt);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], setup.Actions(), setup.Attributes(), argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start tarnvale-cli");
  }
  if (interrupt == Interrupt::AtStart) kill(pid, SIGINT);
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

}  // namespace tarnvale::testing
