// A fresh temporary folder for one test, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarnvale::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `path`, creating the parent folders.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// The whole content of `path` (empty when it cannot be read).
std::string ReadFile(const std::filesystem::path& path);

// The shared folder of real files made by other tools (TARNVALE_REALDATA, or
// the shared folder beside the checkout), or an empty path when it is absent
// (as on a user's fresh clone).
std::filesystem::path RealDataDir();
// Why a test that needs that folder is skipped, naming where it looked.
std::string RealDataAbsent();

}  // namespace tarnvale::testing
