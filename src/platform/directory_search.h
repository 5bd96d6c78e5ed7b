// Non-recursive, case-insensitive folder searches in a fixed order.
//
// The order in which scenery files are read decides which of two duplicate
// airports wins, so searches never return the file system's own listing
// order: matches come sorted by their ASCII upper-cased name, ties (names that
// differ only in case) broken by the raw name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnvale::platform {

// True when file name `name` matches `pattern`, ASCII letter case ignored.
// In the pattern "*" stands for any run of characters (also none) and "?"
// for exactly one; every other character stands for itself.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// An entry of a folder whose name matched: the name (UTF-8), and whether it
// is a regular file, links followed (a broken link is none).
struct MatchedEntry {
  std::string name;
  bool file = false;
};
// The entries directly inside `folder` whose names match `pattern`, in the
// file system's order; empty when the folder is missing or cannot be read.
std::vector<MatchedEntry> ListMatches(const std::filesystem::path& folder,
                                      std::string_view pattern);

// Sorts `paths` by their last components in NameOrderLess order (ascii_text.h).
void SortByName(std::vector<std::filesystem::path>& paths);

// The regular files (links followed) directly inside `folder` whose names
// match `pattern` ("*.bgl", "Scenery.cfg"), as full paths in NameOrderLess
// order. Empty when the folder is missing or cannot be read; entries that
// cannot be examined (broken links, link loops) are left out.
std::vector<std::filesystem::path> FindFiles(const std::filesystem::path& folder,
                                             std::string_view pattern);

// FindFiles, and beside it the entries whose names match but that are no
// regular files (folders, broken links, devices), in the same order.
struct FolderMatches {
  std::vector<std::filesystem::path> files;
  std::vector<std::filesystem::path> others;
};
FolderMatches FindMatches(const std::filesystem::path& folder, std::string_view pattern);

// The first of FindFiles(folder, name), or an empty path when there is none.
std::filesystem::path FindFile(const std::filesystem::path& folder, std::string_view name);

}  // namespace tarnvale::platform
