// Windows-style path texts on a case-sensitive Linux file system.
//
// The simulator and the sibling programs come from Windows: their
// configuration files name folders with `\` or `/` separators, in any letter
// case, sometimes with a drive letter. These routines turn such a text into a
// real path of this machine without touching any process-wide current folder;
// every relative text is taken against an explicit base folder.
//
// None of them throws on file-system errors: an unreadable folder, a broken
// link or a link loop simply matches nothing.
#pragma once

#include <filesystem>
#include <string_view>

namespace tarnvale::platform {

// The path that `text` names on this machine.
//
// - `\` and `/` both separate components; empty and "." components are
//   dropped and ".." names the parent folder.
// - A text that begins with a separator is absolute (on Linux a leading `/`
//   is the root of the file system; on Windows, the root of `base`'s drive).
// - A text with a drive letter ("C:\FS9", "d:/Addon") is resolved through the
//   Wine prefix that holds `base` (see WineDriveFolder); without one it names
//   no existing folder and the result is empty. On Windows the drive letter
//   is simply part of the path ("C:FS9" is taken in drive C's current
//   folder), and so is a "\\server\share" or "\\?\" at the start.
// - Any other text is relative and joined to `base` (left relative when
//   `base` is empty).
// - Each component is looked up as written; when no entry of exactly that
//   name exists, the entry whose name differs only in ASCII letter case is
//   taken (the first in NameOrderLess order when several do). Failing that, a
//   component with bytes above 127 is read as text in ActiveCodePage() and
//   matched in the same way against the UTF-8 names Wine writes on disk.
//   Components that match nothing are kept as written, so the result may
//   name a file that does not exist yet. On Windows the file system matches
//   letter case itself (each name comes back as stored), and a component
//   that is no UTF-8 is read in ActiveCodePage().
std::filesystem::path ResolvePath(std::string_view text, const std::filesystem::path& base = {});

// ResolvePath applied to a path of this machine: each component of `path`
// that does not exist as written is matched without regard to letter case.
std::filesystem::path MatchLetterCase(const std::filesystem::path& path);

// `path` made absolute against the current folder, as the system does it
// (on Windows "C:FS9" against drive C's current folder); `path` itself when
// that fails. MinGW's std::filesystem::absolute would mangle
// "\\server\share\..." and "\\?\C:\..." paths: make paths absolute with this.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

// ResolvePath(text, base) when it names an existing folder (links followed),
// otherwise an empty path.
std::filesystem::path ExistingFolder(std::string_view text, const std::filesystem::path& base = {});

// The folder of this machine that stands for `drive` (a letter, either case)
// of the Wine prefix holding `folder`: the nearest ancestor of `folder` that
// has a "dosdevices" folder gives "dosdevices/<letter>:"; failing that, for
// drive C, the nearest ancestor named "drive_c". Empty when there is none or
// it is not an existing folder. On Windows: the drive's root, when it exists.
std::filesystem::path WineDriveFolder(char drive, const std::filesystem::path& folder);

// True when `text` begins with a drive letter and a colon.
bool HasDriveLetter(std::string_view text);

// A path as UTF-8 text, and UTF-8 text as a path: the program keeps names
// as UTF-8. On Linux a path is bytes and both keep them as they are. On
// Windows a path is UTF-16, and the standard library's own conversions
// (path(std::string), path.string()) go through the C library's locale
// instead of UTF-8, and throw on names outside Latin-1: convert with these.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8Of(const std::filesystem::path& path);

// Existence tests that follow links and never throw.
bool IsFolder(const std::filesystem::path& path);
bool IsFile(const std::filesystem::path& path);  // a regular file

}  // namespace tarnvale::platform
