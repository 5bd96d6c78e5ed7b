#include "output/output_cleanup.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/directory_search.h"
#include "platform/file_operations.h"

namespace tarnvale {

namespace {

// Every entry of `folder` named `name` in any letter case, files and folders
// alike, in search order. A folder of that name is found too so that it makes
// the deletion fail, as it stands where the writer must create a file.
std::vector<std::filesystem::path> EntriesNamed(const std::filesystem::path& folder,
                                                std::string_view name) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (platform::EqualsIgnoreCase(it->path().filename().string(), name)) {
      entries.push_back(it->path());
    }
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return platform::NameOrderLess(a.filename().string(), b.filename().string());
  });
  return entries;
}

}  // namespace

int DeleteOutputFiles(const std::filesystem::path& target_folder) {
  for (const std::string_view name : kOutputFileSet) {
    for (const std::filesystem::path& entry : EntriesNamed(target_folder, name)) {
      if (platform::DeleteFile(entry)) return 1;
    }
  }
  return 0;
}

}  // namespace tarnvale
