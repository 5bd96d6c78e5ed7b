// Finding Wine prefixes near a folder and in the environment, mapping drive-letter paths through
// them and back, and finding installed programs.

#include "platform/wine_prefix.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/code_page.h"
#include "platform/directory_search.h"
#include "platform/paths.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;

constexpr int kProgramSearchDepth = 3;

fs::path Canonical(const fs::path& path) {
  std::error_code error;
  fs::path canonical = fs::canonical(path, error);
  return error ? fs::path() : canonical;
}

#ifndef _WIN32
// The prefix among the ancestors of `folder`: the nearest folder with a
// "dosdevices" folder, or failing that the folder above a "drive_c".
fs::path PrefixHolding(const fs::path& folder) {
  fs::path drive_c_parent;
  for (fs::path ancestor = folder; !ancestor.empty(); ancestor = ancestor.parent_path()) {
    if (IsFolder(ancestor / "dosdevices")) return ancestor;
    if (drive_c_parent.empty() && EqualsIgnoreCase(Utf8Of(ancestor.filename()), "drive_c")) {
      drive_c_parent = ancestor.parent_path();
    }
    if (ancestor == ancestor.parent_path()) break;
  }
  return drive_c_parent;
}

// A place where a typed drive-letter path is looked for.
struct PrefixPlace {
  std::string name;  // as the user knows it: "$WINEPREFIX", "~/.wine", ...
  fs::path path;     // empty when the place names no folder
  std::string none;  // then, why not
};

// The folder that the environment variable `variable` names (with `below`
// appended), the place the user knows as `name`.
PrefixPlace FromEnvironment(std::string name, const std::string& variable,
                            const char* below = nullptr) {
  const std::string which = below ? "$" + variable + " " : "";
  const char* value = std::getenv(variable.c_str());
  if (!value) return {std::move(name), {}, which + "not set"};
  if (!fs::path(value).is_absolute()) return {std::move(name), {}, which + "not an absolute path"};
  return {std::move(name), below ? fs::path(value) / below : fs::path(value), {}};
}

// The places a typed drive-letter path is looked for, in order: the prefix
// holding `near` (when `near` is given), $WINEPREFIX, ~/.wine.
std::vector<PrefixPlace> PrefixPlaces(const fs::path& near) {
  std::vector<PrefixPlace> places;
  if (!near.empty()) {
    places.push_back(
        {"the prefix of " + Utf8Of(near), PrefixHolding(fs::absolute(near)), "there is none"});
  }
  places.push_back(FromEnvironment("$WINEPREFIX", "WINEPREFIX"));
  places.push_back(FromEnvironment("~/.wine", "HOME", ".wine"));
  return places;
}

// "$WINEPREFIX: /p has no drive D:": what `place` holds for `drive`.
std::string DriveFinding(const PrefixPlace& place, const std::string& drive) {
  const std::string name = place.name + ": ";
  if (place.path.empty()) return name + place.none;
  const std::string shown = Utf8Of(place.path);
  std::error_code error;
  if (!fs::exists(place.path, error)) return name + shown + " does not exist";
  if (!IsFolder(place.path)) return name + shown + " is not a folder";
  return name + shown + " has no drive " + drive;
}

// `path` below `root` as its components; std::nullopt when it is not below.
std::optional<std::vector<std::string>> ComponentsBelow(const fs::path& path,
                                                        const fs::path& root) {
  auto [root_end, path_at] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
  if (root_end != root.end()) return std::nullopt;
  std::vector<std::string> components;
  for (; path_at != path.end(); ++path_at) {
    if (!path_at->empty()) components.push_back(Utf8Of(*path_at));
  }
  return components;
}

// Each drive of `prefix` ("c:" ... "z:") with the folder it stands for.
std::vector<std::pair<char, fs::path>> Drives(const fs::path& prefix) {
  std::vector<std::pair<char, fs::path>> drives;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const fs::path drive = WineDriveFolder(letter, prefix / "drive_c");
    const fs::path root = drive.empty() ? fs::path() : Canonical(drive);
    if (!root.empty()) drives.emplace_back(letter, root);
  }
  return drives;
}

std::optional<std::string> WindowsText(char letter, const std::vector<std::string>& components) {
  std::string text{AsciiUpper(letter), ':'};
  for (const std::string& component : components) {
    const std::optional<std::string> encoded = EncodeCodePage(component, ActiveCodePage());
    if (!encoded) return std::nullopt;
    text += '\\' + *encoded;
  }
  return components.empty() ? text + '\\' : text;
}

#endif

void FindBelow(const fs::path& folder, std::string_view program, int depth,
               std::vector<fs::path>& found) {
  if (!FindFile(folder, program).empty()) found.push_back(folder);
  if (depth == 0) return;
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  std::vector<fs::path> subfolders;
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (IsFolder(it->path())) subfolders.push_back(it->path());
  }
  SortByName(subfolders);
  for (const fs::path& subfolder : subfolders) FindBelow(subfolder, program, depth - 1, found);
}

}  // namespace

#ifdef _WIN32
// A Windows program runs in no Wine prefix: a typed drive-letter path is a
// path of this machine, and a folder is already in its Windows form.
std::vector<fs::path> CandidatePrefixes(const fs::path&) { return {}; }

fs::path ResolveTypedPath(std::string_view text, const fs::path& base, const fs::path&) {
  return ResolvePath(text, base);
}

std::string UnresolvedDriveProblem(std::string_view typed, const fs::path&) {
  return std::string(typed) + ": this machine has no drive " + std::string(typed.substr(0, 2)) +
         ".";
}

std::optional<std::string> WindowsPathOf(const fs::path& folder, const fs::path&) {
  fs::path full = Canonical(folder);
  if (full.empty()) return std::nullopt;
  return EncodeCodePage(Utf8Of(MatchLetterCase(full).make_preferred()), ActiveCodePage());
}

// In the "Program Files" folders of this machine, each searched once.
std::vector<fs::path> FindInstalledPrograms(std::string_view program, const fs::path&) {
  std::vector<fs::path> searched;
  std::vector<fs::path> found;
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)"}) {
    const wchar_t* value = _wgetenv(name);
    const fs::path programs = value ? Canonical(value) : fs::path();
    if (programs.empty() ||
        std::find(searched.begin(), searched.end(), programs) != searched.end()) {
      continue;
    }
    searched.push_back(programs);
    FindBelow(programs, program, kProgramSearchDepth, found);
  }
  return found;
}

fs::path ProgramFilesFolder(const fs::path&) {
  const wchar_t* value = _wgetenv(L"ProgramFiles");
  return value ? Canonical(value) : fs::path();
}
#else
std::vector<fs::path> CandidatePrefixes(const fs::path& near) {
  std::vector<fs::path> prefixes;
  for (const PrefixPlace& place : PrefixPlaces(near)) {
    const fs::path prefix = place.path.empty() ? fs::path() : Canonical(place.path);
    if (!prefix.empty() && IsFolder(prefix) &&
        std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end()) {
      prefixes.push_back(prefix);
    }
  }
  return prefixes;
}

fs::path ResolveTypedPath(std::string_view text, const fs::path& base, const fs::path& near) {
  if (!HasDriveLetter(text)) return ResolvePath(text, base);
  fs::path first;
  for (const fs::path& prefix : CandidatePrefixes(near)) {
    fs::path resolved = ResolvePath(text, prefix / "drive_c");
    if (resolved.empty()) continue;
    std::error_code error;
    if (fs::exists(resolved, error)) return resolved;
    if (first.empty()) first = resolved;
  }
  return first;
}

std::string UnresolvedDriveProblem(std::string_view typed, const fs::path& near) {
  const std::string drive{AsciiUpper(typed.empty() ? '?' : typed[0]), ':'};
  std::string looked;
  for (const PrefixPlace& place : PrefixPlaces(near)) {
    looked.append(looked.empty() ? "" : "; ").append(DriveFinding(place, drive));
  }
  return std::string(typed) + ": no Wine prefix maps drive " + drive + " (looked at " + looked +
         "). Set WINEPREFIX to the Wine prefix that holds this folder.";
}

std::optional<std::string> WindowsPathOf(const fs::path& folder, const fs::path& near) {
  const fs::path prefix = PrefixHolding(fs::absolute(near));
  const fs::path target = Canonical(folder);
  if (prefix.empty() || target.empty()) return std::nullopt;
  std::optional<std::pair<char, std::vector<std::string>>> closest;
  for (const auto& [letter, root] : Drives(prefix)) {
    std::optional<std::vector<std::string>> below = ComponentsBelow(target, root);
    if (below && (!closest || below->size() < closest->second.size())) {
      closest.emplace(letter, std::move(*below));
    }
  }
  return closest ? WindowsText(closest->first, closest->second) : std::nullopt;
}

std::vector<fs::path> FindInstalledPrograms(std::string_view program, const fs::path& near) {
  std::vector<fs::path> found;
  for (const fs::path& prefix : CandidatePrefixes(near)) {
    const fs::path drive_c = WineDriveFolder('c', prefix / "drive_c");
    if (drive_c.empty()) continue;
    for (std::string_view folder : {"Program Files", "Program Files (x86)"}) {
      const fs::path programs = ResolvePath(folder, drive_c);
      if (IsFolder(programs)) FindBelow(programs, program, kProgramSearchDepth, found);
    }
  }
  std::vector<fs::path> unique;
  for (const fs::path& folder : found) {
    const fs::path canonical = Canonical(folder);
    if (std::find(unique.begin(), unique.end(), canonical) == unique.end()) {
      unique.push_back(canonical);
    }
  }
  return unique;
}

fs::path ProgramFilesFolder(const fs::path& near) {
  for (const fs::path& prefix : CandidatePrefixes(near)) {
    const fs::path drive_c = WineDriveFolder('c', prefix / "drive_c");
    if (drive_c.empty()) continue;
    const fs::path programs = ResolvePath("Program Files", drive_c);
    if (IsFolder(programs)) return programs;
  }
  return {};
}

#endif

}  // namespace tarnvale::platform
