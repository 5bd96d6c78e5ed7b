// Windows path texts resolved on this machine, each component matched in letter case and code page;
// and paths to and from UTF-8.

#include "platform/paths.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/code_page.h"
#ifdef _WIN32
#include "platform/windows_system.h"
#endif

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components of a path text, split at either separator; empty and "."
// components are dropped.
std::vector<std::string> SplitComponents(std::string_view text) {
  std::vector<std::string> components;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::string_view component = text.substr(start, end - start);
    if (!component.empty() && component != ".") components.emplace_back(component);
    start = end + 1;
  }
  return components;
}

bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

// The entry of `folder` whose name satisfies `matches`, first in search
// order when several do.
template <typename Predicate>
std::optional<std::string> FirstEntry(const fs::path& folder, Predicate matches) {
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder,
                            fs::directory_options::skip_permission_denied, error);
  std::optional<std::string> best;
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::string entry = Utf8Of(it->path().filename());
    if (matches(entry) && (!best || NameOrderLess(entry, *best))) best = std::move(entry);
  }
  return best;
}

// The entry of `folder` whose name equals `name` without regard to letter
// case, first in search order when several do.
std::optional<std::string> FindNameIgnoringCase(const fs::path& folder, const std::string& name) {
  return FirstEntry(folder,
                    [&](const std::string& entry) { return EqualsIgnoreCase(entry, name); });
}

bool HasHighBytes(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// The entry of `folder` whose UTF-8 name (as Wine stores it), written in the
// active code page, equals the 8-bit `name` without regard to ASCII letter
// case; first in search order when several do.
std::optional<std::string> FindNameInCodePage(const fs::path& folder, const std::string& name) {
  const CodePage code_page = ActiveCodePage();
  return FirstEntry(folder, [&](const std::string& entry) {
    const std::optional<std::string> encoded = EncodeCodePage(entry, code_page);
    return encoded && EqualsIgnoreCase(*encoded, name);
  });
}

#ifdef _WIN32
// A component as a path of Windows, whose names are Unicode: UTF-8 as it is,
// any other text read in the active code page.
fs::path ComponentPath(const std::string& component) {
  return PathFromUtf8(DisplayText(component));
}
#else
fs::path ComponentPath(const std::string& component) { return component; }
#endif

// `start` followed by `components`, each matched in letter case (and, when
// it has bytes above 127, in code page) against what exists. Once a
// component matches nothing, the rest are appended as they are: there is no
// folder left to look into.
fs::path AppendMatched(fs::path start, const std::vector<std::string>& components) {
  bool folder_exists = true;
  for (const std::string& component : components) {
    fs::path exact = start / ComponentPath(component);
    if (component == ".." || !folder_exists) {
      start = std::move(exact);
      continue;
    }
#ifdef _WIN32
    // The file system matches letter case (and short names) itself.
    const std::optional<fs::path> stored = StoredName(exact);
    folder_exists = stored.has_value();
    start = stored ? start / *stored : std::move(exact);
    continue;
#endif
    if (Exists(exact)) {
      start = std::move(exact);
      continue;
    }
    std::optional<std::string> match = FindNameIgnoringCase(start, component);
    if (!match && HasHighBytes(component)) match = FindNameInCodePage(start, component);
    folder_exists = match.has_value();
    start /= match.value_or(component);
  }
  return start;
}

}  // namespace

bool HasDriveLetter(std::string_view text) {
  return text.size() >= 2 && AsciiUpper(text[0]) >= 'A' && AsciiUpper(text[0]) <= 'Z' &&
         text[1] == ':';
}

#ifdef _WIN32
fs::path ResolvePath(std::string_view text, const fs::path& base) {
  if (HasDriveLetter(text)) {  // "C:\FS9", or "C:FS9" in drive C's current folder
    const bool rooted = text.size() > 2 && IsSeparator(text[2]);
    const std::string drive(text.substr(0, 2));
    return AppendMatched(rooted ? PathFromUtf8(drive + "\\") : AbsolutePath(PathFromUtf8(drive)),
                         SplitComponents(text.substr(2)));
  }
  if (text.size() > 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {  // \\server\share
    std::vector<std::string> components = SplitComponents(text);
    if (components.size() < 2) return {};
    const fs::path share = PathFromUtf8("\\\\" + components[0] + "\\" + components[1] + "\\");
    components.erase(components.begin(), components.begin() + 2);
    return AppendMatched(share, components);
  }
  fs::path start = !text.empty() && IsSeparator(text[0]) ? base.root_name() / "\\" : base;
  return AppendMatched(std::move(start), SplitComponents(text));
}
#else
fs::path ResolvePath(std::string_view text, const fs::path& base) {
  if (HasDriveLetter(text)) {
    fs::path drive = WineDriveFolder(text[0], base);
    if (drive.empty()) return {};
    return AppendMatched(std::move(drive), SplitComponents(text.substr(2)));
  }
  fs::path start = !text.empty() && IsSeparator(text[0]) ? fs::path("/") : base;
  return AppendMatched(std::move(start), SplitComponents(text));
}
#endif

#ifdef _WIN32
// The standard library sees no root in "\\server\share" or "\\?\C:\", which
// ResolvePath does.
fs::path MatchLetterCase(const fs::path& path) { return ResolvePath(Utf8Of(path)); }

fs::path AbsolutePath(const fs::path& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    const bool fits = length < full.size();
    full.resize(length);
    if (fits) return full;
  }
}
#else
fs::path MatchLetterCase(const fs::path& path) {
  std::vector<std::string> components;
  for (const fs::path& component : path.relative_path()) {
    if (!component.empty() && component != ".") components.push_back(Utf8Of(component));
  }
  return AppendMatched(path.root_path(), components);
}

fs::path AbsolutePath(const fs::path& path) {
  std::error_code error;
  fs::path full = fs::absolute(path, error);
  return error ? path : full;
}
#endif

fs::path ExistingFolder(std::string_view text, const fs::path& base) {
  fs::path path = ResolvePath(text, base);
  return !path.empty() && IsFolder(path) ? path : fs::path();
}

fs::path WineDriveFolder(char drive, const fs::path& folder) {
  const char letter = AsciiLower(drive);
  if (letter < 'a' || letter > 'z') return {};
#ifdef _WIN32
  (void)folder;
  const fs::path root = std::string{AsciiUpper(letter), ':', '\\'};
  return IsFolder(root) ? root : fs::path();
#endif
  std::optional<fs::path> drive_c;
  for (fs::path ancestor = folder; !ancestor.empty(); ancestor = ancestor.parent_path()) {
    if (IsFolder(ancestor / "dosdevices")) {
      fs::path mapped = MatchLetterCase(ancestor / "dosdevices" / std::string{letter, ':'});
      if (IsFolder(mapped)) return mapped;
    }
    if (!drive_c && EqualsIgnoreCase(Utf8Of(ancestor.filename()), "drive_c") &&
        IsFolder(ancestor)) {
      drive_c = ancestor;
    }
    if (ancestor == ancestor.parent_path()) break;
  }
  return letter == 'c' && drive_c ? *drive_c : fs::path();
}

#ifdef _WIN32
fs::path PathFromUtf8(std::string_view text) { return WideFromUtf8(text); }
std::string Utf8Of(const fs::path& path) { return Utf8FromWide(path.native()); }
#else
fs::path PathFromUtf8(std::string_view text) { return text; }
std::string Utf8Of(const fs::path& path) { return path.string(); }
#endif

bool IsFolder(const fs::path& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

bool IsFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

}  // namespace tarnvale::platform
