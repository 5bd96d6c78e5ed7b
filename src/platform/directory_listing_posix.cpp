// Lists a folder with readdir: the listing tells most entries' types, so only
// links and entries of unknown type are looked at, and no path is built for an
// entry that does not match.

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "platform/directory_search.h"

namespace tarnvale::platform {
namespace {

struct ListingCloser {
  void operator()(DIR* listing) const { ::closedir(listing); }
};

// A regular file, links followed; an entry that cannot be looked at is none.
bool IsRegularFile(DIR* listing, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat info {};
  return ::fstatat(::dirfd(listing), entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<MatchedEntry> ListMatches(const std::filesystem::path& folder,
                                      std::string_view pattern) {
  std::vector<MatchedEntry> entries;
  const std::unique_ptr<DIR, ListingCloser> listing(::opendir(folder.c_str()));
  if (!listing) return entries;
  // A read error ends the listing, as the end of the folder does.
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !MatchesPattern(name, pattern)) continue;
    entries.push_back({std::string(name), IsRegularFile(listing.get(), *entry)});
  }
  return entries;
}

}  // namespace tarnvale::platform
