// File name patterns on the command line. A POSIX shell expands `*.dat`
// before the program starts; cmd.exe and PowerShell hand it over as typed,
// so on Windows the program expands it itself.
#pragma once

#include <filesystem>
#include <vector>

namespace tarnvale::cli {

// Each path whose last component holds "*" or "?" replaced by the files of
// its folder that it matches (letter case not significant, in name order);
// one that matches nothing, and every other path, stays as it is.
std::vector<std::filesystem::path> ExpandFilePatterns(
    const std::vector<std::filesystem::path>& paths);

}  // namespace tarnvale::cli
