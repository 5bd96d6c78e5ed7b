// Target program folders for tests of start-up and of the creation run.
#pragma once

#include <filesystem>
#include <string>

namespace tarnvale::testing {

// Writes `folder`/Program_Config.cfg holding only its Main section, as the
// sibling program's installer leaves it (FS_Version 0 and no FS_Directory
// record no simulator).
void WriteProgramConfigFile(const std::filesystem::path& folder, int program_id, int fs_version = 0,
                            const std::string& fs_directory = "");

}  // namespace tarnvale::testing
