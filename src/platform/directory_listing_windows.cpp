// Lists a folder with the standard library, which on Windows takes each
// entry's type from the listing itself.

#include <system_error>

#include "platform/directory_search.h"
#include "platform/paths.h"

namespace tarnvale::platform {

std::vector<MatchedEntry> ListMatches(const std::filesystem::path& folder,
                                      std::string_view pattern) {
  namespace fs = std::filesystem;
  std::vector<MatchedEntry> entries;
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::string name = Utf8Of(it->path().filename());
    if (!MatchesPattern(name, pattern)) continue;
    std::error_code status_error;  // links are followed; a broken one is no file
    const bool file = it->is_regular_file(status_error);
    entries.push_back({std::move(name), file});
  }
  return entries;
}

}  // namespace tarnvale::platform
