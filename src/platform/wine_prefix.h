// Wine prefixes: where the simulator and the sibling programs live when
// they run under Wine on this machine, and how their Windows paths map to
// ours and back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnvale::platform {

// The prefixes a Windows path typed by the user may refer to, most likely
// first and each once: the one holding `near` (a folder with a "dosdevices"
// folder, or the folder above a "drive_c", among `near`'s ancestors), then
// $WINEPREFIX, then ~/.wine. Only existing folders are listed.
std::vector<std::filesystem::path> CandidatePrefixes(const std::filesystem::path& near);

// A path typed by the user: a drive-letter text ("C:\Program Files\...") is
// resolved through the first candidate prefix of `near` where it names an
// existing entry (else through the first prefix that has the drive); any
// other text as ResolvePath(text, base). Empty when a drive-letter text
// finds no prefix with that drive.
std::filesystem::path ResolveTypedPath(std::string_view text, const std::filesystem::path& base,
                                       const std::filesystem::path& near);

// Why ResolveTypedPath(typed, base, near) found nothing for the drive-letter
// text `typed`, as a sentence for the user: no candidate prefix of `near`
// maps its drive. It names each place that was looked at, in order (the
// prefix holding `near`, $WINEPREFIX, ~/.wine), with what is there, and
// says to set WINEPREFIX. On Windows, where drive letters are the system's
// own, it says that the drive does not exist.
std::string UnresolvedDriveProblem(std::string_view typed, const std::filesystem::path& near);

// `folder` as the Windows programs of the prefix holding `near` see it:
// "C:\Program Files\Microsoft Games\Flight Simulator 9", through the drive
// whose folder holds it most closely (drive_c before Z: for the root), with
// names encoded in the active code page. std::nullopt when `near` is in no
// prefix, no drive reaches `folder`, or a name has no code-page form.
std::optional<std::string> WindowsPathOf(const std::filesystem::path& folder,
                                         const std::filesystem::path& near);

// Folders holding `program` (for example "fs9.exe", letter case not
// significant) up to three levels below the "Program Files" and
// "Program Files (x86)" folders of drive C of the candidate prefixes of
// `near`; each install once, in prefix order.
std::vector<std::filesystem::path> FindInstalledPrograms(std::string_view program,
                                                         const std::filesystem::path& near);

// Where programs are installed, for a folder chooser to start in: the
// "Program Files" folder of drive C of the first candidate prefix of
// `near` that has one (on Windows, the system's %ProgramFiles%). Empty when
// there is none.
std::filesystem::path ProgramFilesFolder(const std::filesystem::path& near);

}  // namespace tarnvale::platform
