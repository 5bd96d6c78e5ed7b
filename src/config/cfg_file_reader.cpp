#include "config/cfg_file_reader.h"

namespace tarnvale {

// Interface first; the bodies follow.
int CFG_File_Reader::ReadCfgFile(const std::filesystem::path&, int) { return kCfgOk; }
int CFG_File_Reader::WriteProgramConfig(const std::filesystem::path&) const { return kCfgFailed; }
std::string CFG_File_Reader::ProgramConfigText() const { return {}; }
bool CFG_File_Reader::HasSimulator() const { return FS_Directory && !FS_Directory->empty() && FS_Version != 0; }
void CFG_File_Reader::SetFirstUseDefaults() {}
std::filesystem::path CFG_File_Reader::SimulatorFolder() const { return {}; }
void CFG_File_Reader::ReleaseSceneryAreas() { SceneryAreas.clear(); }
void CFG_File_Reader::ReadProgramConfigLine(const std::string&) {}
void CFG_File_Reader::ReadSceneryLine(const std::string&, const std::filesystem::path&) {}
void CFG_File_Reader::TakeAllocation() {}

}  // namespace tarnvale
