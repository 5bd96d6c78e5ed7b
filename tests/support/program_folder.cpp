// Writes the Program_Config.cfg that tests of start-up and of the creation run begin with.

#include "support/program_folder.h"

#include "support/temp_dir.h"

namespace tarnvale::testing {

void WriteProgramConfigFile(const std::filesystem::path& folder, int program_id, int fs_version,
                            const std::string& fs_directory) {
  WriteFile(folder / "Program_Config.cfg",
            "[Main Settings]\r\nProgram_Name=Sibling\r\nProgram_Id=" + std::to_string(program_id) +
                "\r\nFS_Version=" + std::to_string(fs_version) +
                "\r\nFS_Directory=" + fs_directory + "\r\n");
}

}  // namespace tarnvale::testing
