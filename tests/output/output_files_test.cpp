// The table of output files: which files each program gets from each
// simulator's scenery, in the order they are written, and the order in which
// the set is replaced.
#include "output/output_files.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "output/database_set.h"

namespace tarnvale {
namespace {

struct ProgramFilesCase {
  const char* name;
  TargetProgram program;
  FsVersion version;
  std::vector<std::string_view> files;  // in the order they are written
};

class ProgramFilesTest : public ::testing::TestWithParam<ProgramFilesCase> {};

TEST_P(ProgramFilesTest, GivesTheFilesOfTheProgramAndSimulatorInWriteOrder) {
  const ProgramFilesCase& row = GetParam();
  std::vector<std::string_view> files;
  for (const OutputFileType* file : OutputFilesInWriteOrder()) {
    if (ProgramGetsFile(*file, row.program, row.version)) files.push_back(file->name);
  }
  EXPECT_EQ(files, row.files);
}

const std::vector<std::string_view> kEveryFileInWriteOrder = {
    "world_airports.dat",  "world_fuel_areas.dat", "additional_airspaces.dat",
    "world_navaids.dat",   "world_markers.dat",    "magdec.bgl",
    "world_fixpoints.dat", "world_airways_v.dat",  "world_airways_j.dat"};

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgramFilesTest,
    ::testing::Values(ProgramFilesCase{"ChartFs2002",
                                       TargetProgram::Chart,
                                       FsVersion::Fs2002,
                                       {"world_airports.dat", "magdec.bgl"}},
                      ProgramFilesCase{
                          "ChartFs2004",
                          TargetProgram::Chart,
                          FsVersion::Fs2004,
                          {"world_airports.dat", "world_fuel_areas.dat", "magdec.bgl"}},
                      ProgramFilesCase{"RadarFs2002",
                                       TargetProgram::Radar,
                                       FsVersion::Fs2002,
                                       {"world_airports.dat", "world_navaids.dat",
                                        "world_markers.dat", "magdec.bgl", "world_fixpoints.dat",
                                        "world_airways_v.dat", "world_airways_j.dat"}},
                      ProgramFilesCase{"RadarFs2004", TargetProgram::Radar, FsVersion::Fs2004,
                                       kEveryFileInWriteOrder},
                      // A later simulator counts as FS2004; a number below every known
                      // one brings no fuel areas and no airspaces.
                      ProgramFilesCase{"RadarOfALaterSimulator", TargetProgram::Radar,
                                       FsVersionFromNumber(10), kEveryFileInWriteOrder},
                      ProgramFilesCase{"ChartOfAnEarlierNumber",
                                       TargetProgram::Chart,
                                       FsVersionFromNumber(7),
                                       {"world_airports.dat", "magdec.bgl"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OutputFileSet, IsReplacedInItsOwnOrder) {
  const std::vector<std::string_view> set(kOutputFileSet.begin(), kOutputFileSet.end());
  EXPECT_EQ(set, (std::vector<std::string_view>{
                     "world_airports.dat", "world_navaids.dat", "world_markers.dat",
                     "world_fuel_areas.dat", "additional_airspaces.dat", "world_fixpoints.dat",
                     "world_airways_j.dat", "world_airways_v.dat", "magdec.bgl"}));
}

}  // namespace
}  // namespace tarnvale
