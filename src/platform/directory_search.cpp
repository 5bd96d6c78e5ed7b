// Finds the files of a folder that match a pattern, letter case ignored, sorted by name.

#include "platform/directory_search.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/paths.h"

namespace tarnvale::platform {

namespace fs = std::filesystem;

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Greedy matching that, on a mismatch, lets the last "*" take one more
  // character: linear in practice and never recursive.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

FolderMatches FindMatches(const fs::path& folder, std::string_view pattern) {
  std::vector<MatchedEntry> entries = ListMatches(folder, pattern);
  std::sort(entries.begin(), entries.end(), [](const MatchedEntry& a, const MatchedEntry& b) {
    return NameOrderLess(a.name, b.name);
  });
  // Each path is made from one text: appending a name to the folder's path
  // would copy the folder's parsed components for every file.
  const std::string prefix = Utf8Of(folder / "");
  FolderMatches matches;
  matches.files.reserve(entries.size());
  for (const MatchedEntry& entry : entries) {
    (entry.file ? matches.files : matches.others).push_back(PathFromUtf8(prefix + entry.name));
  }
  return matches;
}

void SortByName(std::vector<fs::path>& paths) {
  // Each name is taken out once: a path's filename() is a new path, parsed
  // and allocated, and a comparison would take two.
  std::vector<std::pair<std::string, fs::path>> named;
  named.reserve(paths.size());
  for (fs::path& path : paths) named.emplace_back(Utf8Of(path.filename()), std::move(path));
  std::sort(named.begin(), named.end(),
            [](const auto& a, const auto& b) { return NameOrderLess(a.first, b.first); });
  for (std::size_t i = 0; i < named.size(); ++i) paths[i] = std::move(named[i].second);
}

std::vector<fs::path> FindFiles(const fs::path& folder, std::string_view pattern) {
  return FindMatches(folder, pattern).files;
}

fs::path FindFile(const fs::path& folder, std::string_view name) {
  std::vector<fs::path> matches = FindFiles(folder, name);
  return matches.empty() ? fs::path() : std::move(matches.front());
}

}  // namespace tarnvale::platform
