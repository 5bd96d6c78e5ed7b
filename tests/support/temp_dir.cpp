// Temporary folders for tests, whole-file reads and writes, and where the real data files are
// found.

#include "support/temp_dir.h"

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace tarnvale::testing {

#ifdef _WIN32
// No mkdtemp on Windows: a name from a counter and the clock, made anew until
// no folder has it.
TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        "tarnvale-test-" + std::to_string(now % 1000000007) + "-" + std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot create a temporary folder");
}
#else
TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}
#endif

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; make them writable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

// TARNVALE_REALDATA when set, otherwise the shared folder beside the checkout.
std::filesystem::path RealDataLocation() {
  const char* chosen = std::getenv("TARNVALE_REALDATA");
  if (chosen && *chosen) return chosen;
  return TARNVALE_REALDATA_DIR;
}

}  // namespace

std::filesystem::path RealDataDir() {
  // Absolute, so that it is a whole path also on Windows, where the
  // checkout's "/work/..." lacks a drive.
  std::error_code ignored;
  const std::filesystem::path dir = std::filesystem::absolute(RealDataLocation(), ignored);
  return std::filesystem::is_directory(dir, ignored) ? dir : std::filesystem::path();
}

std::string RealDataAbsent() {
  return "the shared folder of real files is absent (looked in " + RealDataLocation().string() +
         "; set TARNVALE_REALDATA to use another)";
}

}  // namespace tarnvale::testing
