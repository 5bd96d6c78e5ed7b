// From BGL bytes to database files: the sample installation is written by
// the scenery builder, a whole creation run reads it (in process, or through
// the real tarnvale-cli), and every file in the target folder is compared
// byte for byte with bytes spelled out independently, for the chart and the
// radar program over FS2002 and FS2004 scenery.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "cli/cli_process.h"
#else
#include <sys/wait.h>
#endif
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/creation_run.h"
#include "e2e/expected_database.h"
#include "e2e/sample_scenery.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using testing::ReadFile;
using testing::TempDir;

enum class Runner { InProcess, CommandLine };

struct Combination {
  TargetProgram target_program;
  FsVersion fs_version;
  Runner runner;
};

std::string NameOf(const ::testing::TestParamInfo<Combination>& info) {
  const Combination& c = info.param;
  return std::string(c.target_program == TargetProgram::Chart ? "Chart" : "Radar") +
         (c.fs_version == FsVersion::Fs2004 ? "Fs2004" : "Fs2002") +
         (c.runner == Runner::InProcess ? "Run" : "Cli");
}

std::string Hex(const std::string& bytes, std::size_t from, std::size_t count) {
  std::string out;
  char byte[4];
  for (std::size_t i = from; i < bytes.size() && i < from + count; ++i) {
    std::snprintf(byte, sizeof byte, "%02X ", static_cast<unsigned char>(bytes[i]));
    out += byte;
  }
  return out;
}

// Equal bytes, or where they first part, with the bytes around that offset.
::testing::AssertionResult SameBytes(const std::string& name, const std::string& expected,
                                     const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const std::size_t from = at < 8 ? 0 : at - 8;
  return ::testing::AssertionFailure()
         << name << ": " << actual.size() << " bytes, expected " << expected.size()
         << "; first difference at offset " << at << "\n  expected from " << from << ": "
         << Hex(expected, from, 24) << "\n  actual   from " << from << ": "
         << Hex(actual, from, 24);
}

// Files the run left in the target folder, besides the target program's own.
std::set<std::string> OutputFileNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != "Program_Config.cfg" && name != "DEFAULT_DB") names.insert(name);
  }
  return names;
}

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

// Steps through `bytes` by the FileSize word behind each record's kind byte;
// true when the steps end exactly at the end of the file.
bool FileSizesAddUp(const std::string& bytes) {
  std::size_t at = 0;
  while (at + 5 <= bytes.size()) {
    const std::uint32_t size = U32At(bytes, at + 1);
    if (size == 0) return false;
    at += size;
  }
  return at == bytes.size();
}

class DatabaseSetTest : public ::testing::TestWithParam<Combination> {
 protected:
  DatabaseSetTest() {
    const Combination& c = GetParam();
    magdec_ = e2e::WriteSampleInstallation(simulator_, c.fs_version);
    testing::WriteProgramConfigFile(target_, ToNumber(c.target_program), ToNumber(c.fs_version),
                                    simulator_.string());
    if (c.target_program == TargetProgram::Radar)
      std::filesystem::create_directories(target_ / "DEFAULT_DB");
  }

  // Runs one creation over the sample; true when it ended in success.
  bool RunCreation() {
    const Combination& c = GetParam();
    if (c.runner == Runner::CommandLine) {
      LeaveStaleOutput();
#ifdef _WIN32  // no POSIX shell to start it with
      const testing::CliResult result = testing::RunCli({"create", "--target", target_.string()});
      testing::WriteFile(dir_ / "cli.out", result.out + result.err);
      return result.exit_code == 0;
#else
      const std::string command = std::string("'") + TARNVALE_CLI_PATH + "' create --target '" +
                                  target_.string() + "' >'" + (dir_ / "cli.out").string() +
                                  "' 2>&1";
      const int status = std::system(command.c_str());
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
    }
    ProgramState state;
    state.TargetFolder = target_;
    state.config.Program_Id = c.target_program;
    state.config.FS_Version = c.fs_version;
    state.config.FS_Directory = simulator_.string();
    testing::RecordingRunView view;
    return CreationRun(state, view).ending == RunEnding::Success;
  }

  // A previous database set, some names in another letter case: the
  // command line deletes it before the run, so none of it may survive.
  void LeaveStaleOutput() {
    for (const char* name :
         {"world_airports.dat", "WORLD_FUEL_AREAS.DAT", "additional_airspaces.dat",
          "World_Navaids.dat", "world_markers.dat", "world_fixpoints.dat", "WORLD_AIRWAYS_V.DAT",
          "world_airways_j.dat", "magdec.bgl"}) {
      testing::WriteFile(target_ / name, "stale bytes of an earlier run");
    }
  }

  TempDir dir_;
  std::filesystem::path simulator_ = dir_ / "Simulator";
  std::filesystem::path target_ = dir_ / "Target";
  std::filesystem::path magdec_;
};

TEST_P(DatabaseSetTest, WritesExactlyTheExpectedFilesByteForByte) {
  ASSERT_TRUE(RunCreation()) << ReadFile(dir_ / "cli.out");
  const std::map<std::string, std::string> expected =
      e2e::ExpectedDatabaseFiles(GetParam().target_program, GetParam().fs_version);

  std::set<std::string> expected_names{"magdec.bgl"};
  for (const auto& [name, bytes] : expected) expected_names.insert(name);
  EXPECT_EQ(OutputFileNames(target_), expected_names);
  for (const auto& [name, bytes] : expected)
    EXPECT_TRUE(SameBytes(name, bytes, ReadFile(target_ / name)));
  const std::string magdec = ReadFile(magdec_);
  ASSERT_FALSE(magdec.empty());
  EXPECT_TRUE(SameBytes("magdec.bgl", magdec, ReadFile(target_ / "magdec.bgl")));
}

TEST_P(DatabaseSetTest, FileSizesOfTheRecordsAddUpToEachFileLength) {
  ASSERT_TRUE(RunCreation()) << ReadFile(dir_ / "cli.out");
  for (const char* name :
       {"world_airports.dat", "world_fuel_areas.dat", "world_navaids.dat", "world_markers.dat",
        "world_fixpoints.dat", "world_airways_v.dat", "world_airways_j.dat"}) {
    if (!std::filesystem::exists(target_ / name)) continue;
    EXPECT_TRUE(FileSizesAddUp(ReadFile(target_ / name))) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, DatabaseSetTest,
    ::testing::Values(Combination{TargetProgram::Chart, FsVersion::Fs2002, Runner::InProcess},
                      Combination{TargetProgram::Chart, FsVersion::Fs2004, Runner::InProcess},
                      Combination{TargetProgram::Radar, FsVersion::Fs2002, Runner::InProcess},
                      Combination{TargetProgram::Radar, FsVersion::Fs2004, Runner::InProcess},
                      Combination{TargetProgram::Chart, FsVersion::Fs2002, Runner::CommandLine},
                      Combination{TargetProgram::Chart, FsVersion::Fs2004, Runner::CommandLine},
                      Combination{TargetProgram::Radar, FsVersion::Fs2002, Runner::CommandLine},
                      Combination{TargetProgram::Radar, FsVersion::Fs2004, Runner::CommandLine}),
    NameOf);

}  // namespace
}  // namespace tarnvale
