// The single entry through which a creation run hands one scenery file to
// the decoders.
#pragma once

#include <filesystem>
#include <vector>

#include "scenery/nav_database.h"

namespace tarnvale {

inline constexpr int kLoaderOk = 0;
inline constexpr int kLoaderOutOfMemory = 1;

// Files the loader could not open or read; the run names them at its end.
struct LoaderProblems {
  std::vector<std::filesystem::path> unreadable_files;
};

// Reads `file`, recognises its layout for `fs_version` (8 = FS2002,
// 9 = FS2004) and appends its records to `db`. Returns kLoaderOutOfMemory
// when memory ran out, otherwise kLoaderOk (also for files that are skipped,
// unrecognised or unreadable; the last are added to `problems`).
int BglLoader(NavDatabase& db, const std::filesystem::path& file, int fs_version,
              LoaderProblems* problems = nullptr);

}  // namespace tarnvale
