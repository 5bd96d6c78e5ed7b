// Expands `*` and `?` in the file names of the command line, as a POSIX shell would have done.

#include "cli/file_patterns.h"

#include <string>

#include "platform/directory_search.h"
#include "platform/paths.h"

namespace tarnvale::cli {

std::vector<std::filesystem::path> ExpandFilePatterns(
    const std::vector<std::filesystem::path>& paths) {
  std::vector<std::filesystem::path> expanded;
  for (const std::filesystem::path& path : paths) {
    const std::string name = platform::Utf8Of(path.filename());
    std::vector<std::filesystem::path> matches;
    if (name.find_first_of("*?") != std::string::npos) {
      const std::filesystem::path folder = path.parent_path();
      matches = platform::FindFiles(folder.empty() ? "." : folder, name);
    }
    if (matches.empty()) {
      expanded.push_back(path);
      continue;
    }
    for (std::filesystem::path& match : matches) {
      // As typed: a relative pattern gives relative names.
      expanded.push_back(path.parent_path() / match.filename());
    }
  }
  return expanded;
}

}  // namespace tarnvale::cli
